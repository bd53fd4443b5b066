// Script commands on the scene record: the menu switch (12), the frame
// function (14), waits (15), variables (18, 19, 44), key bindings (20-22), input (23), click
// regions (24), the skip location (27), the scroll object (28), hiding the
// screen furniture (30, 31), the video request (68) and the codes that do
// nothing (5, 41, 45, 46).
#pragma once

#include <span>

#include "script/script_table.h"

std::span<const TCommandBinding> SceneCommands();
