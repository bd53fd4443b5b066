// Private to src/script: the handlers the table starts with.
#pragma once

#include <cstdint>

#include "script/script_table.h"

// The built-in handler of `code` (a condition or one of the control-flow
// commands 16, 17, 39), or null.
TCommandHandler BuiltinHandler(int32_t code);
TCommandHandler BuiltinConditionHandler(int32_t code);
TCommandHandler BuiltinControlHandler(int32_t code);
