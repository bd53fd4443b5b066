// The screen furniture created once at start-up, in drawing order.
#pragma once

#include "render/nodes.h"
#include "state/scene_state.h"

// Creates the furniture under `spriteRoot` and sets the scene to an empty game.
void SceneCreate(TqvxScene& scene, TDummyCube& spriteRoot);
