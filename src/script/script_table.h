// The one table of instruction codes: code, mnemonic, whether it runs while
// ScriptExecuting is false, and the handler. The interpreter dispatches
// through it, and the disassembler, the assembler and trace output name
// instructions from it. Each subsystem lists its commands as rows of
// {code, handler}; the scene binds all of them at start-up, so a new command
// is one row in its subsystem's list.
//
// Codes 1..67 are commands, 101..121 conditions. Every other code (0,
// 68..100, above 121, and negative codes, read as unsigned) does nothing and
// has no row. A row without a handler does nothing either; subsystems fill
// their commands at start-up. The conditions and the control-flow commands
// (16 call, 17 delayed calls, 39 end function) are filled from the start.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

struct TqvxScene;
struct TScriptInstruction;

// `ins` is the interpreter's own copy, safe to read after the handler has
// replaced the function tables. Conditions end with SetScriptExecuting.
using TCommandHandler = void (*)(TqvxScene& scene, const TScriptInstruction& ins, float frameTime);

struct TInstructionInfo {
  int32_t Code;
  const char* Mnemonic;
  bool RunsWhenFalse;  // conditions, the key bindings 20..22 and the menu reload 47
  bool IsCondition;
};

constexpr int32_t kFirstCondition = 101;
constexpr int32_t kLastCommand = 67;
constexpr int32_t kLastCondition = 121;

// All rows, commands then conditions, in code order.
std::span<const TInstructionInfo> InstructionTable();
// The row of `code`, or null for a code that does nothing.
const TInstructionInfo* FindInstructionInfo(int32_t code);
const TInstructionInfo* FindInstructionByMnemonic(std::string_view mnemonic);

// Installs the handler of `code` (null empties the row) and returns the one it
// replaces. Codes without a row are ignored and give null.
TCommandHandler RegisterCommand(int32_t code, TCommandHandler handler);
TCommandHandler CommandHandler(int32_t code);

struct TCommandBinding {
  int32_t Code;
  TCommandHandler Handler;
};
void RegisterCommands(std::span<const TCommandBinding> bindings);
