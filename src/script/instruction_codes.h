// The one table of instruction codes: code, mnemonic and whether it runs
// while ScriptExecuting is false. The interpreter's handlers
// (script/script_table.h), the disassembler, the assembler and trace output
// all read it.
//
// Codes 1..69 are commands, 101..121 conditions. Every other code (0,
// 70..100, above 121, and negative codes, read as unsigned) does nothing and
// has no row. Codes 68 (play a video) and 69 (slide a panel layer) are this
// engine's own: data that never uses them is unaffected.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

struct TInstructionInfo {
  int32_t Code;
  const char* Mnemonic;
  bool RunsWhenFalse;  // conditions, the key bindings 20..22 and the menu reload 47
  bool IsCondition;
  // For authors (`qvxtool script codes` and the guide): the operands as the
  // script text names them, and what the instruction does, in one line each.
  // Neither may hold '|', which would split a Markdown table cell.
  const char* Operands;
  const char* Summary;
};

constexpr int32_t kFirstCondition = 101;
constexpr int32_t kLastCommand = 69;
constexpr int32_t kLastCondition = 121;

// All rows, commands then conditions, in code order.
std::span<const TInstructionInfo> InstructionTable();
// The row of `code`, or null for a code that does nothing.
const TInstructionInfo* FindInstructionInfo(int32_t code);
const TInstructionInfo* FindInstructionByMnemonic(std::string_view mnemonic);

constexpr size_t kInstructionRowCount = kLastCommand + (kLastCondition - kFirstCondition + 1);

// Row index of a code in InstructionTable(), or -1: the rows are dense within
// the two ranges.
int InstructionRow(int32_t code);
