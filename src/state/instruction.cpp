#include "state/instruction.h"

#include <algorithm>
#include <cstring>

namespace {

size_t StoredLength(const uint8_t* stored) { return std::min<size_t>(stored[0], kScriptStrLen); }

bool StoredHoldsText(const uint8_t* stored, const std::string& text) {
  const size_t len = StoredLength(stored);
  return len == text.size() && std::memcmp(stored + 1, text.data(), len) == 0;
}

// Length byte, the text cut to 30 bytes, zeros.
void StoreText(uint8_t* stored, std::string_view text) {
  const size_t len = std::min<size_t>(text.size(), kScriptStrLen);
  std::memset(stored, 0, kStoredStrSize);
  stored[0] = static_cast<uint8_t>(len);
  std::memcpy(stored + 1, text.data(), len);
}

}  // namespace

void SetInstructionString(TScriptInstruction& ins, int i, std::string_view text) {
  if (i < 0 || i >= kInstructionStrs) return;
  StoreText(ins.StrBytes.data() + static_cast<size_t>(i) * kStoredStrSize, text);
  ins.Str[static_cast<size_t>(i)].assign(text.substr(0, kScriptStrLen));
}

void SyncInstructionString(TScriptInstruction& ins, int i) {
  if (i < 0 || i >= kInstructionStrs) return;
  const uint8_t* stored = ins.StrBytes.data() + static_cast<size_t>(i) * kStoredStrSize;
  ins.Str[static_cast<size_t>(i)].assign(reinterpret_cast<const char*>(stored + 1), StoredLength(stored));
}

std::array<uint8_t, kInstructionStrs * kStoredStrSize> StoredStringBytes(const TScriptInstruction& ins) {
  auto out = ins.StrBytes;
  for (int i = 0; i < kInstructionStrs; ++i) {
    uint8_t* stored = out.data() + static_cast<size_t>(i) * kStoredStrSize;
    const std::string& text = ins.Str[static_cast<size_t>(i)];
    if (!StoredHoldsText(stored, text)) StoreText(stored, text);
  }
  return out;
}

std::array<uint8_t, kInstructionSize> InstructionBytes(const TScriptInstruction& ins) {
  std::array<uint8_t, kInstructionSize> out{};
  auto put = [&out](size_t at, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int b = 0; b < 4; ++b) out[at + static_cast<size_t>(b)] = static_cast<uint8_t>(u >> (8 * b));
  };
  put(0, ins.Code);
  for (size_t k = 0; k < kInstructionOps; ++k) put(4 + 4 * k, ins.Op[k]);
  const auto strs = StoredStringBytes(ins);
  std::memcpy(out.data() + 4 + 4 * kInstructionOps, strs.data(), strs.size());
  return out;
}

bool ListOperand(const TScriptInstruction& ins, int32_t k, int32_t& value) {
  if (k < 0) return false;
  if (k < kInstructionOps) {
    value = ins.Op[static_cast<size_t>(k)];
    return true;
  }
  // The stored form allows 47 fields from Op1 to the end; further ones would
  // read past the record.
  const int64_t at = 4 + 4 * static_cast<int64_t>(k);
  if (at + 4 > kInstructionSize) return false;
  const auto bytes = InstructionBytes(ins);
  uint32_t u = 0;
  for (int b = 0; b < 4; ++b) u |= static_cast<uint32_t>(bytes[static_cast<size_t>(at + b)]) << (8 * b);
  value = static_cast<int32_t>(u);
  return true;
}

void SyncFunctionName(TqvxFunction& function) {
  function.Name.assign(reinterpret_cast<const char*>(function.NameBytes.data() + 1),
                       StoredLength(function.NameBytes.data()));
}

std::array<uint8_t, kStoredStrSize> StoredNameBytes(const TqvxFunction& function) {
  auto out = function.NameBytes;
  if (!StoredHoldsText(out.data(), function.Name)) StoreText(out.data(), function.Name);
  return out;
}
