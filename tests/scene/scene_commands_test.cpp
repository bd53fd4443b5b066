// The scene commands run through the interpreter on functions written as
// script text, on a location with a hero, a 40-column walk grid and person
// frames (the hero tests' small world).
#include "scene/scene_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "hero/hero_world.h"
#include "scene/command_bindings.h"
#include "script/interpreter.h"
#include "script/script_table.h"
#include "script/script_text.h"

namespace {

class SceneCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterAllCommands();
    w.NameAllFrames();
    for (int i = 0; i < kVariableCount; ++i) s.Variables[i] = 99;
  }

  // Makes `body` the location's function 0 ("main"), with the functions
  // "a", "b" and "c" after it, and runs it as a region click would.
  void Run(const std::string& body, const std::string& more = "") {
    s.Functions = ParseScriptText("function \"main\"\n" + body +
                                      "\nend\nfunction \"a\"\nend\nfunction \"b\"\nend\nfunction \"c\"\nend\n" + more,
                                  "test");
    RunFunction(s, 0, 0, false, 0.02f);
  }

  // The variables at `indices`.
  std::vector<int32_t> Vars(std::initializer_list<int> indices) const {
    std::vector<int32_t> v;
    for (int i : indices) v.push_back(s.Variables[i]);
    return v;
  }

  HeroWorld w;
  TqvxScene& s = w.Scene;
};

constexpr const char* kFalse = "if_equal op1=1 str1=\"INT\" op2=2 str2=\"INT\"\n";

TEST_F(SceneCommandsTest, VariableListsSkipCellsOutsideTheTableAndStopAtTheRecordEnd) {
  Run("set_variables op1=10 op2=0 op3=5\n"
      "set_variables op1=20 op2=3 op3=7 op4=-8 op5=9 op6=111\n"
      "add_to_variables op1=21 op2=2 op3=10 op4=1\n"
      "set_variables op1=-1 op2=3 op3=1 op4=2 op5=3\n"
      "set_variables op1=1022 op2=3 op3=4 op4=5 op5=6\n"
      "set_variables op1=2147483647 op2=2 op3=1 op4=2\n"
      "add_to_variables op1=30 op2=1 op3=2147483647\n");
  // Count 0 copies nothing; only Op2 values are taken (23 stays); -8 + 10 and
  // 9 + 1; indices -1 and 1024 are skipped, the rest land; sums wrap around.
  EXPECT_EQ(Vars({10, 20, 21, 22, 23, 0, 1, 1022, 1023, 30}),
            (std::vector<int32_t>{99, 7, 2, 10, 99, 2, 3, 4, 5, INT32_MIN + 98}));

  // A count past the record reads the 45 fields from Op3 to its last byte
  // (the empty strings give zeros) and no further.
  Run("set_variables op1=100 op2=1000 op3=7");
  EXPECT_EQ(Vars({100, 144, 145}), (std::vector<int32_t>{7, 0, 99}));
}

TEST_F(SceneCommandsTest, VariableOperations) {
  s.Variables[1] = 11;
  s.Variables[2] = 22;
  s.Variables[1023] = 1023;
  Run("variable_op op1=1 op2=1 op3=2\n"  // Random(0) is 0: a plain swap
      "variable_op op1=2 op2=5 op3=1\n"
      "variable_op op1=3 op2=6 op3=1\n"
      "variable_op op1=3 op2=7 op3=10\n"
      "variable_op op1=2 op2=8 op3=1024\n"
      "variable_op op1=2 op2=-1 op3=1\n"
      "variable_op op1=1 op2=1023 op3=3 op4=0 op5=0\n"  // still swaps 1023 with 3
      "variable_op op1=1 op2=1024 op3=3\n"
      "variable_op op1=4 op2=9 op3=1\n");
  // Random(1) is always 0; a source out of range copies nothing; 3 was
  // swapped once, not again with 1024; mode 4 does nothing.
  EXPECT_EQ(Vars({1, 2, 5, 6, 8, 3, 9}), (std::vector<int32_t>{22, 11, 22, 0, 99, 1023, 99}));
  EXPECT_TRUE(s.Variables[7] >= 0 && s.Variables[7] < 10) << s.Variables[7];

  // The swap offsets come from two draws: first for Op3 (bound Op5), then
  // for Op2 (bound Op4).
  TqvxScene twin;
  SeedRandom(s, 1234);
  SeedRandom(twin, 1234);
  const int32_t r1 = Random(twin, 4), r2 = Random(twin, 3);
  for (int i = 0; i < 20; ++i) s.Variables[200 + i] = 200 + i;
  Run("variable_op op1=1 op2=200 op3=210 op4=3 op5=4");
  EXPECT_EQ(Vars({200 + r2, 210 + r1}), (std::vector<int32_t>{210 + r1, 200 + r2}));
}

TEST_F(SceneCommandsTest, KeyBindingsRunWhileTheFlagIsFalseAndSkipEmptyOrUnknownNames) {
  ResetScene(s);
  s.Functions.clear();
  Run(std::string(kFalse) +
          "bind_key_press op1=1 op2=2 op3=3 op4=4 op5=5 str1=\"a\" str2=\"b\" str3=\"\" str4=\"c\" str5=\"a\"\n"
          "bind_key_release op1=0 op2=10 op3=-1 op4=9 str1=\"b\" str2=\"a\" str3=\"a\" str4=\"nope\"\n"
          "bind_key_hold op1=6 op2=7 str1=\"c\"\n"
          "enable_menu op1=1\n",
      "function \"\"\nend\n");
  EXPECT_EQ(s.MenuEnabled, 0) << "an ordinary command obeys the false flag";
  // An empty name must not find the function named "" (entry 3); an unknown
  // function (release 9) and an empty Str2 (hold 7) bind nothing.
  std::vector<int32_t> press, bound;
  for (int i = 1; i <= 5; ++i) press.push_back(s.KeyTable[i].PressFunction);
  EXPECT_EQ(press, (std::vector<int32_t>{1, 2, -1, 3, 1}));
  EXPECT_EQ(std::tuple(s.KeyTable[0].ReleaseFunction, s.KeyTable[9].ReleaseFunction, s.KeyTable[6].HoldFunction,
                       s.KeyTable[7].HoldFunction),
            std::tuple(2, -1, 3, -1));

  for (TKeyEntry& e : s.KeyTable) e.State = 2;
  Run("enable_input op1=0");
  EXPECT_FALSE(s.InputEnabled || s.InputWhenIdle);
  for (const TKeyEntry& e : s.KeyTable) EXPECT_EQ(e.State, 0);
}

TEST_F(SceneCommandsTest, WaitSuspendsTheRunUntilTheTimeHasPassed) {
  Run("wait op1=0\nenable_menu op1=1");
  EXPECT_EQ(std::tuple(s.MenuEnabled, s.SuspendedFunction), std::tuple(1, -1)) << "a wait of 0 does not suspend";

  Run("wait op1=1500\nenable_menu op1=2\nenable_menu op1=3");
  int frames = 0;
  while (s.MenuEnabled == 1 && frames < 100) {
    s.WaitTime -= 0.05f;  // the frame update's countdown
    ResumeSuspended(s, 0.05f);
    ++frames;
  }
  EXPECT_NEAR(frames, 30, 1) << "1.5 s of 0.05 s frames";
  EXPECT_EQ(s.MenuEnabled, 3);
}

TEST_F(SceneCommandsTest, HeroSetupModes) {
  s.GlobalFunctions.push_back(TqvxFunction{{}, "g0"});
  s.GlobalFunctions.push_back(TqvxFunction{{}, "onhero"});
  Run("hero_setup op1=-2 str1=\"onhero\"\n"
      "hero_setup op1=-1 op2=30 op3=-45\n"
      "hero_setup op1=1 op2=220\n"
      "hero_setup op1=2 op2=0 op3=0 str1=\"s3\"\n"
      "hero_setup op1=2 op2=15 op3=1 str1=\"thud\"\n"
      "hero_setup op1=2 op2=16 op3=0 str1=\"x\"\n"
      "hero_setup op1=2 op2=-1 op3=0 str1=\"x\"\n"
      "hero_setup op1=2 op2=1 op3=2 str1=\"x\"\n"
      "hero_setup op1=4 op2=999\n");
  EXPECT_EQ(std::tuple(s.HeroClickFunction, s.HeroClickWidth, s.HeroClickHeight, s.HeroSpeed),
            std::tuple(1, 30, -45, 220));
  // Pairs 0..15 only; part 1 (the sound) leaves the frame alone; part 2 is no part.
  EXPECT_EQ(std::tuple(s.StepSounds[0].Frame, s.StepSounds[15].Sound, s.StepSounds[15].Frame,
                       s.StepSounds[1].Frame + s.StepSounds[1].Sound),
            std::tuple("s3", "thud", "", ""));
  Run("hero_setup op1=-2 str1=\"missing\"");
  EXPECT_EQ(s.HeroClickFunction, -1);

  // Stand frames 0..4, then the hero stands in frame 3 from its start.
  w.Hero().FrameTimer = 0.7f;
  Run("hero_setup op1=70 str1=\"i0\" str2=\"i1\" str3=\"i2\" str4=\"i3\" str5=\"t0\"\n"
      "set_more_stand_frames str1=\"w00\" str2=\"w01\" str3=\"w02\" str4=\"w03\"");
  EXPECT_EQ(std::tuple(s.StandFrames[0], s.StandFrames[4], s.StandFrames[5], s.StandFrames[8], w.Shown()),
            std::tuple("i0", "t0", "w00", "w03", "i3"));
  EXPECT_EQ(w.Hero().FrameTimer, 0);
}

TEST_F(SceneCommandsTest, WalkGridFillClipsToTheGrid) {
  Run("hero_setup op1=3 op2=2 op3=3 op4=4 op5=5 op6=7\n"
      "hero_setup op1=3 op2=10 op3=0 op4=9 op5=29 op6=1\n"   // x upper below lower
      "hero_setup op1=3 op2=10 op3=5 op4=20 op5=4 op6=1\n"   // y upper below lower
      "hero_setup op1=3 op2=38 op3=28 op4=45 op5=35 op6=2\n"
      "hero_setup op1=3 op2=-5 op3=-5 op4=-1 op5=40 op6=3\n");
  int marked[8] = {};
  for (const auto& column : s.WalkGrid)
    for (int32_t cell : column) ++marked[cell];
  // A range whose upper bound is below its lower gives no cells (1); the
  // clipped range is columns 38, 39 by rows 28, 29 (2); nothing is left of
  // the grid (3).
  EXPECT_EQ(std::tuple(marked[7], marked[1], marked[2], marked[3]), std::tuple(9, 0, 4, 0));
  EXPECT_EQ(std::tuple(s.WalkGrid[39][29], s.WalkGrid[3][4]), std::tuple(2, 7));

  Run("hero_setup op1=3 op2=-2147483648 op3=-2147483648 op4=2147483647 op5=2147483647 op6=5");
  for (const auto& column : s.WalkGrid)
    for (int32_t cell : column) ASSERT_EQ(cell, 5);
}

TEST_F(SceneCommandsTest, RegionsByIndexAndFunction) {
  s.Regions.resize(2);
  Run("set_region op1=1 op2=0\n"
      "set_region op1=0 op2=1\n"
      "set_region op1=2 op2=0\n"
      "set_region op1=-1 op2=0 str1=\"b\"\n"
      "set_region op1=-1 op2=1 str1=\"nope\"\n"
      "set_region op1=-1 op2=2 str1=\"a\"\n"
      "set_region op1=-1 op2=-1 str1=\"a\"\n"
      "set_region op1=-2 op2=0 str1=\"c\"\n");
  // An unknown function leaves the region alone.
  EXPECT_EQ(std::tuple(s.Regions[0].Enabled, s.Regions[1].Enabled, s.Regions[0].Function, s.Regions[1].Function),
            std::tuple(true, false, 2, 0));
}

TEST_F(SceneCommandsTest, HeroScalingAndFrameNames) {
  s.WalkFrames[0][0] = "keep";
  Run("hero_scaling op1=0 op2=300 op3=500 op4=600 op5=1250\n"
      "hero_scaling op1=1 op2=100 op3=700 op4=900 op5=500\n"
      "hero_scaling op1=2 op2=-10 op3=15\n"
      "hero_frame_names op1=0 str1=\"a\" str2=\"b\" str3=\"c\" str4=\"d\"\n"
      "hero_frame_names op1=4 op2=7 str1=\"v\" str2=\"w\" str3=\"x\" str4=\"y\" str5=\"z\"\n"
      "hero_frame_names op1=4 op2=8 str1=\"bad\"\n"
      "hero_frame_names op1=4 op2=-1 str1=\"bad\"\n"
      "hero_frame_names op1=7 str1=\"t0\" str4=\"t3\"\n"
      "hero_frame_names op1=8 str1=\"t4\" str4=\"t7\"\n"
      "hero_frame_names op1=1 str1=\"unused\"\n");
  EXPECT_EQ(std::tuple(s.DepthScaleOn, s.DepthY2, s.SlopeOn, s.SlopeX1, s.SlopeRotation1, s.SlopeRotation2),
            std::tuple(true, 500, true, 100, -10, 15));
  EXPECT_FLOAT_EQ(s.DepthScale1, 0.6f);
  EXPECT_FLOAT_EQ(s.DepthScale2, 1.25f);
  EXPECT_FLOAT_EQ(s.SlopeScale2, 0.5f);
  // Groups are written whole; the unused groups touch no used names.
  EXPECT_EQ(std::tuple(s.IdleFrames[3], s.WalkFrames[7][0], s.WalkFrames[7][4], s.WalkFrames[0][0], s.TurnFrames[0],
                       s.TurnFrames[1], s.TurnFrames[7], s.IdleFrames[0]),
            std::tuple("d", "v", "z", "keep", "t0", "", "t7", "a"));
}

TEST_F(SceneCommandsTest, MenuFrameFunctionSkipScrollAndFurniture) {
  s.Objects.emplace_back().Name = "cloud";
  THUDSprite* cursor = w.Tree.Root().AddNewChild<THUDSprite>();
  THUDSprite* item = w.Tree.Root().AddNewChild<THUDSprite>();
  THUDSprite* menu = w.Tree.Root().AddNewChild<THUDSprite>();
  s.Cursor = cursor;
  s.CursorItem = item;
  s.MenuButton = menu;
  Run("enable_menu op1=1\nset_frame_function str1=\"c\"\nset_skip_location str1=\"end.qvx\"\n"
      "set_scroll_object str1=\"cloud\"\nhide_inventory");
  EXPECT_EQ(std::tuple(s.MenuEnabled, s.FrameFunction, s.SkipLocation, s.ScrollObject), std::tuple(1, 3, "end.qvx", 1));
  EXPECT_FALSE(menu->Visible);
  EXPECT_TRUE(cursor->Visible && item->Visible);

  Run("set_frame_function str1=\"nope\"\nset_scroll_object str1=\"nope\"\nhide_cursor");
  EXPECT_EQ(std::tuple(s.FrameFunction, s.ScrollObject), std::tuple(-1, -1));
  EXPECT_FALSE(cursor->Visible || item->Visible);
}

}  // namespace

// A subsystem whose list is not bound would leave its commands doing nothing
// without a word; only the codes still to come may lack a handler.
TEST(CommandBindings, EveryCodeHasAHandlerButThoseToCome) {
  RegisterAllCommands();
  const auto toCome = CommandsToCome();
  for (const TInstructionInfo& info : InstructionTable()) {
    const bool pending = std::find(toCome.begin(), toCome.end(), info.Code) != toCome.end();
    EXPECT_EQ(CommandHandler(info.Code) != nullptr, !pending) << info.Mnemonic << " (" << info.Code << ")";
  }
}
