// Script instructions and functions: the 195-byte instruction record and a
// named list of them. The same stored form serves location files, additional
// locations and save games (reader and writer: script/function_io.h).
//
// Str holds each string's text; StrBytes holds the five stored strings as
// read (length byte and 30 bytes each). Str is what handlers read. The bytes
// past a string's length carry no meaning to the game, but they are kept so
// that a read-then-write reproduces the record exactly and so that operand
// lists running past Op9 see the stored bytes. Set a string through
// SetInstructionString; a Str changed directly is written with zero padding.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr int kInstructionSize = 195;
constexpr int kInstructionOps = 9;
constexpr int kInstructionStrs = 5;
constexpr int kScriptStrLen = 30;  // string[30]: length byte + 30 bytes
constexpr int kStoredStrSize = kScriptStrLen + 1;

struct TScriptInstruction {
  int32_t Code = 0;                                // command 1..67 or condition 101..121
  std::array<int32_t, kInstructionOps> Op{};      // Op1..Op9 at Op[0]..Op[8]
  std::array<std::string, kInstructionStrs> Str;  // Str1..Str5, cp1251, at most 30 bytes each
  std::array<uint8_t, kInstructionStrs * kStoredStrSize> StrBytes{};  // as stored, offset 40 on
};

struct TqvxFunction {
  std::vector<TScriptInstruction> Instructions;
  std::string Name;  // at most 30 bytes, cp1251
  // The name as stored (length byte and 30 bytes), kept like StrBytes so that
  // a read-then-write gives back every byte; written only while it still
  // holds Name's text.
  std::array<uint8_t, kStoredStrSize> NameBytes{};

  int32_t InstructionCount() const { return static_cast<int32_t>(Instructions.size()); }
};

// Str[i] := text cut to 30 bytes, and its stored bytes: length, text, zeros.
void SetInstructionString(TScriptInstruction& ins, int i, std::string_view text);
// Sets Str[i] from stored bytes i (the length byte cut to 30).
void SyncInstructionString(TScriptInstruction& ins, int i);
// The 155 bytes the five strings are written as: the stored bytes where they
// still hold Str's text, otherwise Str's text with zero padding.
std::array<uint8_t, kInstructionStrs * kStoredStrSize> StoredStringBytes(const TScriptInstruction& ins);
// The whole 195-byte record in file order.
std::array<uint8_t, kInstructionSize> InstructionBytes(const TScriptInstruction& ins);
// Name := the text of the stored name bytes (the length byte cut to 30).
void SyncFunctionName(TqvxFunction& function);
// The 31 bytes the name is written as: NameBytes while they still hold Name,
// otherwise Name's text with zero padding.
std::array<uint8_t, kStoredStrSize> StoredNameBytes(const TqvxFunction& function);

// Operand k of an operand list counted from Op1 (k = 0 is Op1, k = 2 is Op3):
// consecutive int32 fields, a list past Op9 continuing into the string bytes.
// False when field k would end beyond the 195 bytes; the command then stops.
bool ListOperand(const TScriptInstruction& ins, int32_t k, int32_t& value);
