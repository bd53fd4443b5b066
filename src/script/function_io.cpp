#include "script/function_io.h"

#include <string>

#include "platform/cp1251.h"
#include "platform/game_error.h"

namespace {

constexpr uint64_t kStoredFunctionHeader = kStoredStrSize + 4;

[[noreturn]] void Fail(const TBinaryReader& in, const std::string& what) {
  const std::string file = in.Name().empty() ? std::string("script data") : in.Name();
  throw EGameError(file + ": " + what + " (at byte " + std::to_string(in.Position()) + ")");
}

}  // namespace

void ReadFunction(TBinaryReader& in, TqvxFunction& function) {
  function.Instructions.clear();
  if (!in.ReadBytes(function.NameBytes.data(), function.NameBytes.size())) Fail(in, "script function name cut short");
  SyncFunctionName(function);
  int32_t count = 0;
  if (!in.ReadInt32(count))
    Fail(in, "instruction count of script function \"" + Cp1251ToUtf8(function.Name) + "\" cut short");
  if (count < 0 || static_cast<uint64_t>(count) > in.Remaining() / kInstructionSize) {
    Fail(in, "script function \"" + Cp1251ToUtf8(function.Name) + "\" claims " + std::to_string(count) +
                 " instructions but only " + std::to_string(in.Remaining()) + " bytes remain");
  }
  function.Instructions.resize(static_cast<size_t>(count));
  for (auto& ins : function.Instructions) {
    // The size check above guarantees every read below succeeds.
    in.ReadInt32(ins.Code);
    for (auto& op : ins.Op) in.ReadInt32(op);
    in.ReadBytes(ins.StrBytes.data(), ins.StrBytes.size());
    for (int i = 0; i < kInstructionStrs; ++i) SyncInstructionString(ins, i);
  }
}

void WriteFunction(TBinaryWriter& out, const TqvxFunction& function) {
  const auto name = StoredNameBytes(function);
  out.WriteBytes(name.data(), name.size());
  out.WriteInt32(function.InstructionCount());
  for (const auto& ins : function.Instructions) {
    const auto bytes = InstructionBytes(ins);
    out.WriteBytes(bytes.data(), bytes.size());
  }
}

bool ReadFunctionTable(TBinaryReader& in, std::vector<TqvxFunction>& table) {
  table.clear();
  int32_t count = 0;
  if (!in.ReadInt32(count)) return false;
  if (count < 0 || static_cast<uint64_t>(count) > in.Remaining() / kStoredFunctionHeader) {
    Fail(in, "function table claims " + std::to_string(count) + " functions but only " +
                 std::to_string(in.Remaining()) + " bytes remain");
  }
  table.resize(static_cast<size_t>(count));
  for (auto& f : table) {
    f.Name = "Default";
    ReadFunction(in, f);
  }
  return true;
}

void WriteFunctionTable(TBinaryWriter& out, const std::vector<TqvxFunction>& table) {
  out.WriteInt32(static_cast<int32_t>(table.size()));
  for (const auto& f : table) WriteFunction(out, f);
}
