// Runs the real `qvxtool script` on a small game directory written here: a
// location file, a save game made in it, and text sources.
#include <gtest/gtest.h>

#include "script/function_io.h"
#include "script/script_test_util.h"
#include "support/game_dir.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

struct TRun {
  int status;
  std::string out;
};

TRun Tool(const std::string& args) {
  TRun r;
  r.status = RunCommand(std::string(QVXTOOL_PATH) + " script " + args, &r.out, true);
  return r;
}

std::vector<TqvxFunction> Functions() {
  TScriptInstruction odd = Ins(18, {0, 10, 1, 2, 3, 4, 5, 6, 7});
  odd.StrBytes[0] = 8;  // an operand list running on into Str1
  odd.StrBytes[4] = 9;
  SyncInstructionString(odd, 0);
  return {Fn("start", {Ins(103, {5, 7}, {"INT"}), Ins(16, {0}, {"\xC4\xE2\xE5\xF0\xFC"}), odd, Ins(99, {-1})}),
          Fn("\xC4\xE2\xE5\xF0\xFC", {Ins(105)})};
}

class QvxtoolScript : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "SCENE");
    fs::create_directories(dir / "save");
  }

  // Two objects (one with two hot spots), two grid columns, three regions,
  // one road, then the function table.
  void WriteLocation(const std::vector<TqvxFunction>& fns) {
    TBinaryWriter w;
    w.WriteStr(30, "Default");
    w.WriteStr(150, "header text");
    w.WriteInt32(2);
    for (int o = 0; o < 2; ++o) {
      w.WriteInt32(1);
      w.WriteStr(20, "obj" + std::to_string(o));
      for (int f = 0; f < 5; ++f) w.WriteFloat(10.0f * f);
      w.WriteStr(30, "pic");
      w.WriteInt32(o * 2);
      for (int h = 0; h < o * 2; ++h)
        for (int f = 0; f < 3; ++f) w.WriteFloat(1);
    }
    w.WriteInt32(2);
    for (int c = 0; c < 2 * 30; ++c) w.WriteInt32(c % 3);
    w.WriteInt32(3);
    for (int r = 0; r < 3 * 6; ++r) w.WriteInt32(r);
    w.WriteInt32(1);
    w.WriteInt32(2);
    for (int p = 0; p < 4; ++p) w.WriteInt32(p);
    WriteFunctionTable(w, fns);
    WriteFileBytes(dir / "SCENE" / "loc.qvx", w.Bytes());
  }

  TScratchDir dir{"qvxtool_script"};
};

}  // namespace

TEST_F(QvxtoolScript, LocationFunctionsRoundTripThroughText) {
  const auto fns = Functions();
  WriteLocation(fns);
  const TRun dis = Tool("disasm " + (dir / "SCENE" / "loc.qvx").string());
  ASSERT_EQ(dis.status, 0) << dis.out;
  EXPECT_NE(dis.out.find("function \"Дверь\"  # 1"), std::string::npos) << dis.out;
  EXPECT_NE(dis.out.find("  if_equal op1=5 op2=7 str1=\"INT\"\n"), std::string::npos) << dis.out;
  EXPECT_NE(dis.out.find("  @99 op1=-1\n"), std::string::npos) << dis.out;

  const TRun as = Tool("asm " + dir.Write("loc.txt", dis.out).string() + " " + (dir / "out.bin").string());
  ASSERT_EQ(as.status, 0) << as.out;
  TBinaryWriter expected;
  WriteFunctionTable(expected, fns);
  EXPECT_EQ(ReadFileBytes(dir / "out.bin"), expected.Bytes());

  const TRun again = Tool("disasm " + (dir / "out.bin").string());
  ASSERT_EQ(again.status, 0);
  EXPECT_EQ(again.out.substr(again.out.find('\n')), dis.out.substr(dis.out.find('\n')));
}

TEST_F(QvxtoolScript, SaveGameGlobalFunctions) {
  WriteLocation(Functions());
  TBinaryWriter w;
  w.WriteInt32(1);
  for (int i = 0; i < 4; ++i) w.WriteStr(50, "x");
  w.WriteStr(120, "prev.qvx");
  w.WriteStr(120, "LOC.QVX");  // the game's paths ignore case
  for (int i = 0; i < 2 * 274 + 23 + 3 + 188; ++i) w.WriteByte(0xEE);
  WriteFunctionTable(w, {Fn("global one", {Ins(39)})});
  for (int i = 0; i < 100; ++i) w.WriteByte(0);
  WriteFileBytes(dir / "save" / "slot01.save", w.Bytes());

  const TRun dis = Tool("disasm " + (dir / "save" / "slot01.save").string());
  ASSERT_EQ(dis.status, 0) << dis.out;
  EXPECT_NE(dis.out.find("function \"global one\"  # 0\n  end_function\nend\n"), std::string::npos) << dis.out;

  fs::rename(dir / "save" / "slot01.save", dir / "elsewhere.save");
  const TRun lost = Tool("disasm " + (dir / "elsewhere.save").string());
  EXPECT_EQ(lost.status, 1);
  EXPECT_NE(lost.out.find("--game"), std::string::npos) << lost.out;
  EXPECT_EQ(Tool("disasm " + (dir / "elsewhere.save").string() + " --game " + dir.Path.string()).status, 0);
}

TEST_F(QvxtoolScript, BadInputFailsWithStatusOne) {
  const TRun as = Tool("asm " + dir.Write("bad.txt", "function \"f\"\n  wait op1=x\nend\n").string() + " " +
                       (dir / "bad.bin").string());
  EXPECT_EQ(as.status, 1);
  EXPECT_NE(as.out.find("bad.txt:2:12: expected an integer"), std::string::npos) << as.out;
  EXPECT_FALSE(fs::exists(dir / "bad.bin"));

  TBinaryWriter lying;
  lying.WriteInt32(1);
  lying.WriteStr(30, "f");
  lying.WriteInt32(1000);
  WriteFileBytes(dir / "lying.bin", lying.Bytes());
  const TRun dis = Tool("disasm " + (dir / "lying.bin").string());
  EXPECT_EQ(dis.status, 1);
  EXPECT_NE(dis.out.find("claims 1000 instructions"), std::string::npos) << dis.out;

  EXPECT_EQ(Tool("disasm " + dir.Write("SCENE/cut.qvx", std::string(100, '\0')).string()).status, 1);
  EXPECT_EQ(Tool("disasm").status, 1);
  EXPECT_EQ(Tool("frobnicate").status, 1);
}

TEST_F(QvxtoolScript, UserMistakesSayWhatIsWrong) {
  WriteLocation(Functions());
  const TRun noGame = Tool("disasm " + (dir / "SCENE" / "loc.qvx").string() + " --game " + (dir / "nowhere").string());
  EXPECT_EQ(noGame.status, 1);
  EXPECT_NE(noGame.out.find("no such folder"), std::string::npos) << noGame.out;

  std::string out;
  EXPECT_EQ(RunCommand(std::string(QVXTOOL_PATH) + " loc build " + Quote((dir / "none.loc").string()) + " " +
                           Quote((dir / "out.qvx").string()),
                       &out, true),
            1);
  EXPECT_NE(out.find("No such file or directory"), std::string::npos) << "the reason is given: " << out;
}
