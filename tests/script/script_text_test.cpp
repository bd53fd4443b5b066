#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <tuple>

#include "platform/stream.h"
#include "script/function_io.h"
#include "script/script_text.h"
#include "script_test_util.h"

namespace {

// Deterministic bytes for records that exercise every corner of the layout.
struct TBytes {
  uint32_t state;
  uint8_t Next() {
    state = state * 1103515245u + 12345u;
    return static_cast<uint8_t>(state >> 16);
  }
};

TScriptInstruction RandomInstruction(TBytes& rng, int n) {
  TScriptInstruction ins;
  const int32_t codes[] = {0, 1, 16, 45, 67, 69, 100, 101, 121, 122, -1, INT32_MIN, INT32_MAX};
  ins.Code = n < 13 ? codes[n] : static_cast<int32_t>(rng.Next() * 0x01010101u);
  for (auto& op : ins.Op) {
    const int kind = rng.Next() % 4;
    op = kind == 0 ? 0 : kind == 1 ? static_cast<int32_t>(rng.Next()) - 128
                                   : static_cast<int32_t>(uint32_t{rng.Next()} << 24 | uint32_t{rng.Next()} << 16 | rng.Next());
  }
  for (int i = 0; i < kInstructionStrs; ++i) {
    uint8_t* s = ins.StrBytes.data() + i * kStoredStrSize;
    const int kind = rng.Next() % 4;
    if (kind == 0) continue;  // empty, zero padded
    if (kind == 1) {          // text with clean padding
      s[0] = rng.Next() % 31;
      for (int b = 1; b <= s[0]; ++b) s[b] = rng.Next();
    } else {  // anything at all, including lengths above 30
      for (int b = 0; b < kStoredStrSize; ++b) s[b] = rng.Next();
    }
    SyncInstructionString(ins, i);
  }
  return ins;
}

}  // namespace

TEST(ScriptText, FormatThenParseReproducesEveryStoredByte) {
  TBytes rng{7};
  std::vector<TqvxFunction> functions;
  for (int f = 0; f < 6; ++f) {
    TqvxFunction fn;
    for (int b = 0; b < f * 5; ++b) fn.Name += static_cast<char>(rng.Next() | 0x20);
    for (int n = 0; n < 40; ++n) fn.Instructions.push_back(RandomInstruction(rng, n));
    functions.push_back(std::move(fn));
  }
  functions[1].Name = "\"quoted\" \\ \x98 \xCF\xF0\xE8";

  const std::string text = FormatFunctions(functions);
  const std::vector<TqvxFunction> back = ParseScriptText(text, "round.txt");
  ASSERT_EQ(back.size(), functions.size());
  for (size_t f = 0; f < functions.size(); ++f) {
    EXPECT_EQ(back[f].Name, functions[f].Name);
    ASSERT_EQ(back[f].InstructionCount(), functions[f].InstructionCount());
    for (size_t n = 0; n < functions[f].Instructions.size(); ++n)
      ASSERT_EQ(InstructionBytes(back[f].Instructions[n]), InstructionBytes(functions[f].Instructions[n]))
          << "function " << f << " instruction " << n << ": " << FormatInstruction(functions[f].Instructions[n]);
  }
}

TEST(ScriptText, ReadableForm) {
  EXPECT_EQ(FormatInstruction(Ins(103, {5, 7}, {"INT"})), "if_equal op1=5 op2=7 str1=\"INT\"");
  EXPECT_EQ(FormatInstruction(Ins(75, {0, -2})), "@75 op2=-2");
  EXPECT_EQ(FormatInstruction(Ins(16, {}, {"", "\xCF\xF0\xE8\xE2\xE5\xF2"})), "call str2=\"Привет\"");
  EXPECT_EQ(FormatFunction(Fn("f", {Ins(105)}), 3), "function \"f\"  # 3\n  not\nend\n");

  const auto parsed = ParseScriptText(
      "\xEF\xBB\xBF# heading\r\n"
      "function \"f\" # trailing\r\n"
      "\n"
      "   @16 str1=\"a # not a comment\" op1=0x10   # comment\n"
      "\tnot\n"
      "end\n",
      "t.txt");
  ASSERT_EQ(parsed.size(), 1u);
  ASSERT_EQ(parsed[0].InstructionCount(), 2);
  const auto& ins = parsed[0].Instructions;
  EXPECT_EQ(std::tuple(ins[0].Code, ins[0].Op[0], ins[0].Str[0], ins[1].Code),
            std::tuple(16, 16, "a # not a comment", 105));
}

TEST(ScriptText, ErrorsGiveLineColumnAndWhatWasExpected) {
  struct Case {
    const char* text;
    int line, column;
    const char* expected;
  };
  const Case cases[] = {
      {"wait op1=1\n", 1, 1, "expected 'function'"},
      {"end\n", 1, 1, "expected 'function'"},
      {"function f\nend\n", 1, 10, "expected a quoted string"},
      {"function \"f\"\n  bogus op1=1\nend\n", 2, 3, "mnemonic"},
      {"function \"f\"\n  wait op1=abc\nend\n", 2, 12, "expected an integer"},
      {"function \"f\"\n  wait op1=2147483648\nend\n", 2, 12, "32-bit range"},
      {"function \"f\"\n  wait op1=-2147483649\nend\n", 2, 12, "32-bit range"},
      {"function \"f\"\n  wait op1=5x\nend\n", 2, 13, "expected a space"},
      {"function \"f\"\n  wait op10=5\nend\n", 2, 8, "expected an operand"},
      {"function \"f\"\n  wait op1 =5\nend\n", 2, 11, "expected '='"},
      {"function \"f\"\n  wait op1=1 op1=2\nend\n", 2, 14, "given twice"},
      {"function \"f\"\n  call str1=\"Привет☺\"\nend\n", 2, 20, "no cp1251 form"},
      {"function \"f\"\n  call str1=\"open\nend\n", 2, 13, "closing quote"},
      {"function \"f\"\n  call str1=\"\\q\"\nend\n", 2, 14, "escape"},
      {"function \"f\"\n  call str1=\"0123456789012345678901234567890\"\nend\n", 2, 13, "longer than 30"},
      {"function \"f\"\n  call raw1=00ff\nend\n", 2, 13, "62 hex digits"},
      {"function \"f\"\n  call str1=\"ab\" raw1=00000000000000000000000000000000000000000000000000000000000000\nend\n",
       2, 23, "does not hold the text"},
      {"function \"f\"\n  @\nend\n", 2, 4, "instruction code"},
      {"function \"f\"\nfunction \"g\"\nend\n", 2, 1, "expected 'end'"},
      {"function \"f\"\n  not\n", 3, 1, "expected 'end' of function \"f\""},
      {"function \"f\" x\nend\n", 1, 14, "expected end of line"},
  };
  for (const auto& c : cases) {
    try {
      ParseScriptText(c.text, "src.txt");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const EScriptTextError& e) {
      EXPECT_EQ(e.Line, c.line) << c.text << " -> " << e.what();
      EXPECT_EQ(e.Column, c.column) << c.text << " -> " << e.what();
      EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).rfind("src.txt:", 0), 0u) << e.what();
    }
  }
}

// A function name's stored bytes come back whole through the text form:
// bytes past its length, and a length byte above 30.
TEST(ScriptText, FunctionNamesKeepEveryStoredByte) {
  std::array<uint8_t, kStoredStrSize> names[3] = {{4, 'w', 'a', 'l', 'k', '_', 'o', 'l', 'd'}, {45}, {}};
  for (int b = 1; b < kStoredStrSize; ++b) names[1][size_t(b)] = static_cast<uint8_t>('a' + b % 26);
  for (int b = 0; b < kStoredStrSize; ++b) names[2][size_t(b)] = static_cast<uint8_t>(255 - b);
  TBinaryWriter stored;
  stored.WriteInt32(3);
  for (const auto& name : names) {
    stored.WriteBytes(name.data(), name.size());
    stored.WriteInt32(1);
    const auto ins = InstructionBytes(Ins(105));
    stored.WriteBytes(ins.data(), ins.size());
  }
  TBinaryReader in(stored.Bytes());
  std::vector<TqvxFunction> functions;
  ASSERT_TRUE(ReadFunctionTable(in, functions));
  EXPECT_EQ(functions[0].Name, "walk");
  EXPECT_EQ(functions[1].Name.size(), 30u);

  const std::string text = FormatFunctions(functions);
  TBinaryWriter again;
  WriteFunctionTable(again, ParseScriptText(text, "names.txt"));
  EXPECT_EQ(again.Bytes(), stored.Bytes()) << text;
}
