// The location effects as the rest of the engine reaches them: panel layers,
// the time of day, sketches and additional locations (one header each), and
// the calls scene creation and location loading make. The frame's effects
// step itself is the scene's (scene/effects_step.h), since it may change the
// location.
#pragma once

#include "effects/add_locs.h"
#include "effects/day_time.h"
#include "effects/panels.h"
#include "effects/sketches.h"
#include "render/nodes.h"
#include "state/scene_state.h"

// Creates panel layer `group` (0 or 1) under `root` at this place in the
// drawing order, from the system library; layer 1 becomes the sketch panel.
void CreatePanelLayerGroup(TqvxScene& scene, TDummyCube& root, int group);
// Binds the sketches to the location library again after a location load.
void ResetSketches(TqvxScene& scene);
// What unloading a location does to the time of day: its channels go.
void ClearDayTimeLocation(TqvxScene& scene);
