#include "hero/hero_commands.h"

#include <gtest/gtest.h>

#include <tuple>

#include "hero/hero_world.h"
#include "script/interpreter.h"

namespace {

// The hero's commands run through the code table, as scripts reach them.
TScriptInstruction Make(int32_t code, int32_t op1 = 0, int32_t op2 = 0, const std::string& str1 = "") {
  RegisterCommands(HeroCommands());
  TScriptInstruction in;
  in.Code = code;
  in.Op[0] = op1;
  in.Op[1] = op2;
  in.Str[0] = str1;
  return in;
}

}  // namespace

TEST(HeroCommands, FacePlaceWalkTurnShowIdle) {
  HeroWorld w;
  w.NameAllFrames();
  TqvxScene& s = w.Scene;
  auto run = [&](int32_t code, int32_t op1 = 0, int32_t op2 = 0, const std::string& str1 = "") {
    ExecuteInstruction(s, Make(code, op1, op2, str1), 0.02f);
  };
  // 6 faces a direction and stands; directions off the ring do nothing.
  for (int32_t d : {0, -1, 8, 1000}) run(6, d);
  EXPECT_EQ(std::tuple(s.HeroDirection, w.Shown()), std::tuple(0, "s0"));
  // 7 puts the hero on a cell, not on one off the grid; 8 walks to one.
  run(7, 4, 6);
  run(7, 4, 99);
  EXPECT_EQ(std::tuple(w.Hero().X, w.Hero().Y), std::tuple(80, 120));
  run(8, 14, 6);
  EXPECT_EQ(std::tuple(s.HeroWalking, s.Waypoints[0].X), std::tuple(true, 280));
  StopWalk(s);
  run(8, -5, 6);
  EXPECT_FALSE(s.HeroWalking);
  // 9 turns (3 to 4: a turn frame and two walk frames), not to a bad direction.
  s.HeroDirection = 3;
  run(9, 4);
  run(9, 9);
  EXPECT_EQ(std::tuple(s.HeroDirection, s.TurnQueueCount), std::tuple(4, 3));
  // 10 shows a frame and animates it, or without a name animates what is shown.
  w.AddFrame("wave", "wave2", 80);
  for (const char* frame : {"wave", ""}) {
    w.Hero().Animated = false;
    run(10, 0, 0, frame);
    EXPECT_EQ(std::tuple(w.Shown(), w.Hero().Animated), std::tuple("wave", true)) << frame;
  }
  run(11, 0);
  EXPECT_FALSE(s.IdleOnArrival);
  run(11, 2);
  EXPECT_TRUE(s.IdleOnArrival);
}

TEST(HeroCommands, WithoutAHeroNothingHappens) {
  HeroWorld w;
  w.NameAllFrames();
  TqvxScene& s = w.Scene;
  for (int32_t index : {-1, 7}) {  // none, and an index past the objects
    s.HeroIndex = index;
    ExecuteInstruction(s, Make(6, 1), 0.02f);
    ExecuteInstruction(s, Make(8, 14, 6), 0.02f);
    ExecuteInstruction(s, Make(9, 1), 0.02f);
    ExecuteInstruction(s, Make(10, 0, 0, "s1"), 0.02f);
    EXPECT_EQ(s.HeroDirection, 3);
    EXPECT_FALSE(s.HeroWalking);
    EXPECT_EQ(w.Shown(), "");
  }
}

// Through the interpreter: a scripted walk holds the script at its next
// instruction until the hero has arrived.
TEST(HeroCommands, ScriptWaitsForTheWalk) {
  HeroWorld w;
  w.NameAllFrames();
  TqvxScene& s = w.Scene;
  w.PutHero(100, 100);
  s.Functions.push_back(TqvxFunction{{Make(8, 15, 5), Make(6, 0)}, "walk_then_face_left"});
  RunFunction(s, 0, 0, false, 0.02f);
  EXPECT_TRUE(s.HeroWalking);
  EXPECT_EQ(s.SuspendedFunction, 0);
  EXPECT_EQ(s.ResumeIndex, 1);
  for (int i = 0; i < 500 && s.SuspendedFunction >= 0; ++i) {
    w.Frame(0.02f);
    ResumeSuspended(s, 0.02f);
    if (s.SuspendedFunction >= 0) {
      EXPECT_NE(s.HeroDirection, 0) << "ran before the walk ended";
    }
  }
  EXPECT_EQ(w.Hero().X, 300);
  EXPECT_EQ(s.HeroDirection, 0);
  EXPECT_EQ(w.Shown(), "s0");
}
