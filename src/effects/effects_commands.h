// The location effects' script commands: 32 time of day and 38 sub-commands
// 4 to 15 (panel layers, sketches and additional locations), and 69, which
// slides a panel layer open or shut.
#pragma once

#include <span>

#include "script/script_table.h"

std::span<const TCommandBinding> EffectsCommands();
