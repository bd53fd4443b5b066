// The location effects as the scene engine drives them each frame: the panel
// layer groups, sketches, additional locations and the time of day.
#pragma once

#include "render/nodes.h"
#include "state/scene_state.h"

// Creates panel layer group `group` (0 or 1) under `root` at this place in
// the drawing order.
void CreatePanelLayerGroup(TqvxScene& scene, TDummyCube& root, int group);
// Updates the layer groups, sketches and additional locations; sets
// OverlayActive when one of them holds the screen.
void UpdateEffects(TqvxScene& scene, float dt);
// Binds the sketches to the location library again after a location load.
void ResetSketches(TqvxScene& scene);
// Advances the time of day and places its object.
void UpdateDayTime(TqvxScene& scene, float dt);
// Forgets the time of day's per-location state.
void ClearDayTimeLocation(TqvxScene& scene);
