// Mouse and keyboard handling of the game screen: clicks on the hero, regions,
// the menu button and the ground; the pointer and hover text; keys.
#pragma once

#include "scene/scene_state.h"

void LeftClick(TqvxScene& scene, float dt);
void RightClick(TqvxScene& scene);
void UpdateCursor(TqvxScene& scene);
void Keys(TqvxScene& scene, float dt);
// Shows pointer picture "cursor0" + number.
void SetCursorNumber(TqvxScene& scene, int32_t number);
