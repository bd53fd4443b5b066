#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "platform/game_error.h"
#include "script/function_io.h"
#include "script_test_util.h"

namespace {

using Bytes = std::vector<uint8_t>;

void PutInt(Bytes& b, int32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

void PutStr30(Bytes& b, const std::string& s, uint8_t fill = 0) {
  b.push_back(static_cast<uint8_t>(s.size()));
  b.insert(b.end(), s.begin(), s.end());
  b.insert(b.end(), 30 - s.size(), fill);
}

// A stored function written field by field, as the file layout gives it.
Bytes StoredFunction(const std::string& name, int32_t count, int instructions) {
  Bytes b;
  PutStr30(b, name);
  PutInt(b, count);
  for (int n = 0; n < instructions; ++n) {
    PutInt(b, 100 + n);
    for (int k = 1; k <= 9; ++k) PutInt(b, k * (n + 1) - 5);
    for (int s = 0; s < 5; ++s) PutStr30(b, "s" + std::to_string(s), static_cast<uint8_t>(s * 7));
  }
  return b;
}

}  // namespace

TEST(FunctionIo, ReadsTheStoredLayoutAndWritesItBackExactly) {
  Bytes data = StoredFunction("intro", 2, 2);
  // Bytes past a string's text and an over-long length byte must survive.
  data[35 + 195 + 40] = 200;
  ASSERT_EQ(data.size(), 35u + 2 * 195);

  TBinaryReader in(data);
  TqvxFunction f;
  f.Instructions.resize(5);
  ReadFunction(in, f);
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_EQ(f.Name, "intro");
  ASSERT_EQ(f.InstructionCount(), 2);
  const TScriptInstruction& a = f.Instructions[0];
  const TScriptInstruction& b = f.Instructions[1];
  EXPECT_EQ(std::tuple(a.Code, a.Op[0], a.Op[8], a.Str[0], a.Str[4]), std::tuple(100, -4, 4, "s0", "s4"));
  EXPECT_EQ(std::tuple(b.Code, b.Op[2], b.Str[0].substr(0, 2)), std::tuple(101, 1, "s0"));
  EXPECT_EQ(b.Str[0].size(), 30u) << "a length above 30 is cut to 30";

  TBinaryWriter out;
  WriteFunction(out, f);
  EXPECT_EQ(out.Bytes(), data);

  // A string changed in memory is written with its own length and zeros.
  f.Instructions[0].Str[1] = "changed";
  TBinaryWriter out2;
  WriteFunction(out2, f);
  const uint8_t* s2 = out2.Bytes().data() + 35 + 71;
  Bytes want;
  PutStr30(want, "changed");
  EXPECT_EQ(Bytes(s2, s2 + 31), want);
}

TEST(FunctionIo, RefusesCountsAndRecordsTheDataCannotHold) {
  Bytes one_short = StoredFunction("f", 2, 2);
  one_short.pop_back();
  Bytes count_cut;
  PutStr30(count_cut, "f");
  count_cut.push_back(1);
  const std::pair<const char*, Bytes> cases[] = {
      {"huge count", StoredFunction("f", 0x7fffffff, 1)}, {"negative count", StoredFunction("f", -1, 0)},
      {"last instruction one byte short", one_short},     {"name cut short", Bytes{5, 'a', 'b'}},
      {"count cut short", count_cut}};
  for (const auto& [what, data] : cases) {
    TBinaryReader in(data, "SCENE\\x.qvx");
    TqvxFunction f;
    try {
      ReadFunction(in, f);
      ADD_FAILURE() << "accepted: " << what;
    } catch (const EGameError& e) {
      EXPECT_NE(std::string(e.what()).find("SCENE\\x.qvx"), std::string::npos) << e.what();
    }
  }
}

// A table's layout and round trip are checked byte for byte by
// ScriptText.FunctionNamesKeepEveryStoredByte; here, tables that are not there.
TEST(FunctionIo, MissingAndLyingFunctionTables) {
  std::vector<TqvxFunction> back(1);
  const Bytes nothing;
  TBinaryReader none(nothing);
  EXPECT_FALSE(ReadFunctionTable(none, back));
  EXPECT_TRUE(back.empty());

  Bytes lying;  // 1000 functions, one of them there
  PutInt(lying, 1000);
  PutStr30(lying, "f");
  PutInt(lying, 0);
  TBinaryReader liar(lying);
  EXPECT_THROW(ReadFunctionTable(liar, back), EGameError);
}

TEST(FunctionIo, OperandListsContinueIntoTheStringBytes) {
  TScriptInstruction ins = Ins(18, {0, 10, 1, 2, 3, 4, 5, 6, 7});
  // Values 8..10 of the list sit where Str1's length byte and text are.
  for (int v = 0; v < 3; ++v) {
    const int32_t value = 8 + v;
    std::memcpy(ins.StrBytes.data() + 4 * v, &value, 4);  // the tests run little-endian
  }
  SyncInstructionString(ins, 0);
  int32_t got = 0;
  for (int32_t k = 0; k < 7; ++k) {
    ASSERT_TRUE(ListOperand(ins, 2 + k, got));
    EXPECT_EQ(got, k + 1);
  }
  for (int32_t k = 9; k < 12; ++k) {
    ASSERT_TRUE(ListOperand(ins, k, got));
    EXPECT_EQ(got, k - 1);
  }
  EXPECT_TRUE(ListOperand(ins, 46, got)) << "the last whole field ends at byte 192";
  EXPECT_FALSE(ListOperand(ins, 47, got));
  EXPECT_FALSE(ListOperand(ins, -1, got));
}
