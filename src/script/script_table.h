// The handlers of the instruction codes (script/instruction_codes.h): the
// interpreter dispatches through them. Each subsystem lists its commands as
// rows of {code, handler}; the scene binds all of them at start-up, so a new
// command is one row in its subsystem's list. A code without a handler does
// nothing. The conditions and the control-flow commands
// (16 call, 17 delayed calls, 39 end function) are filled from the start.
#pragma once

#include <cstdint>
#include <span>

#include "script/instruction_codes.h"

struct TqvxScene;
struct TScriptInstruction;

// `ins` is the interpreter's own copy, safe to read after the handler has
// replaced the function tables. Conditions end with SetScriptExecuting.
using TCommandHandler = void (*)(TqvxScene& scene, const TScriptInstruction& ins, float frameTime);

// Installs the handler of `code` (null empties the row) and returns the one it
// replaces. Codes without a row are ignored and give null.
TCommandHandler RegisterCommand(int32_t code, TCommandHandler handler);
TCommandHandler CommandHandler(int32_t code);

struct TCommandBinding {
  int32_t Code;
  TCommandHandler Handler;
};
void RegisterCommands(std::span<const TCommandBinding> bindings);
