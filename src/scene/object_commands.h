// Script commands that set up the hero and change location objects (their
// properties, visibility, pictures, animation, flight, bounds, moves, spin and
// dragging), and the command that sets material properties of the archives'
// images.
#pragma once

#include <cstdint>

#include "scene/scene_state.h"

// Property k of an object as scripts number them (0 UserValue .. 32 TargetY);
// null for a number outside 0..32.
float* ObjectProperty(TqvxObject& object, int32_t property);

void RegisterObjectCommands();
