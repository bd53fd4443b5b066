// The main menu as the scene engine uses it.
#pragma once

#include "scene/scene_state.h"

void CloseMenu(TqvxScene& scene);
// The menu's frame while it is open.
void MenuFrame(TqvxScene& scene, float dt);
// Advances the menu page's clock.
void AdvanceMenuClock(TqvxScene& scene, float dt);
// Advances the menu library's animated textures.
void AnimateMenuLibrary(TqvxScene& scene, float dt);
// Sets the menu page's sixteen slots to -1.
void ResetMenuSlots(TqvxScene& scene);
