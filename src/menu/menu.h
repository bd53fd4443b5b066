// The main menu as the scene engine uses it.
#pragma once

#include "state/scene_state.h"

// Opens the main menu on `page` (1 the main page). The pages are not built
// yet: opening only marks the menu open on that page, so the game's frame
// runs the menu's frame instead of play until the menu closes.
void OpenMenu(TqvxScene& scene, int32_t page);
void CloseMenu(TqvxScene& scene);
// The menu's frame while it is open.
void MenuFrame(TqvxScene& scene, float dt);
// Advances the menu page's clock.
void AdvanceMenuClock(TqvxScene& scene, float dt);
// Advances the menu library's animated textures.
void AnimateMenuLibrary(TqvxScene& scene, float dt);
// Sets the menu page's sixteen slots to -1.
void ResetMenuSlots(TqvxScene& scene);
