// Script instructions and functions: the 195-byte instruction record and a
// named list of them. The same stored form serves location files, additional
// locations and save games.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TScriptInstruction {
  int32_t Code = 0;                      // command 1..67 or condition 101..121
  std::array<int32_t, 9> Op{};           // Op1..Op9 at Op[0]..Op[8]
  std::array<std::string, 5> Str;        // Str1..Str5, cp1251, at most 30 bytes each
  // The raw 150 bytes of the five strings as stored (length byte + 30 bytes
  // each). Kept so that bytes past a string's length survive a round trip and
  // operand lists that run past Op9 read them as the stored data.
  std::array<uint8_t, 155> StrBytes{};
};

struct TqvxFunction {
  std::vector<TScriptInstruction> Instructions;
  std::string Name;  // at most 30 bytes, cp1251

  int32_t InstructionCount() const { return static_cast<int32_t>(Instructions.size()); }
};
