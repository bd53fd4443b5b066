// Script commands that set up the hero and change location objects: their
// properties, visibility, pictures, animation and flight.
#pragma once

#include <cstdint>

#include "scene/scene_state.h"

// Property k of an object as scripts number them (0 UserValue .. 32 TargetY);
// null for a number outside 0..32.
float* ObjectProperty(TqvxObject& object, int32_t property);

void RegisterObjectCommands();
