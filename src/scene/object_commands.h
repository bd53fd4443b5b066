// Script commands that change location objects (their
// properties, visibility, pictures, animation, flight, bounds, moves, spin and
// dragging), and the command that sets material properties of the archives'
// images.
#pragma once

#include <cstdint>
#include <span>

#include "resources/matlib.h"
#include "script/script_table.h"
#include "state/scene_state.h"

// Property k of an object as scripts number them (0 UserValue .. 32 TargetY);
// null for a number outside 0..32.
float* ObjectProperty(TqvxObject& object, int32_t property);

// Material properties 1..12 of the archives' images (command 40). Selector 0
// location, 1 person, 2 menu (`menu`, when given; the menu's pair lives outside
// the scene record), 3 system; any other value: location.
void SetImageProperty(TqvxScene& scene, int32_t selector, int32_t property, bool allImages,
                      const std::string& imageName, int32_t value, TMatLibPair menu = {});

std::span<const TCommandBinding> ObjectCommands();
