#include "hero/hero_commands.h"

#include <gtest/gtest.h>

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

  ExecuteInstruction(s, Make(6, 0), 0.02f);
  EXPECT_EQ(s.HeroDirection, 0);
  EXPECT_EQ(w.Shown(), "s0");
  for (int bad : {-1, 8, 1000}) ExecuteInstruction(s, Make(6, bad), 0.02f);
  EXPECT_EQ(s.HeroDirection, 0);

  ExecuteInstruction(s, Make(7, 4, 6), 0.02f);
  EXPECT_EQ(w.Hero().X, 80);
  EXPECT_EQ(w.Hero().Y, 120);
  ExecuteInstruction(s, Make(7, 4, 99), 0.02f);
  EXPECT_EQ(w.Hero().Y, 120);

  ExecuteInstruction(s, Make(8, 14, 6), 0.02f);
  EXPECT_TRUE(s.HeroWalking);
  EXPECT_EQ(s.Waypoints[0].X, 280);
  StopWalk(s);
  ExecuteInstruction(s, Make(8, -5, 6), 0.02f);
  EXPECT_FALSE(s.HeroWalking);

  s.HeroDirection = 3;
  ExecuteInstruction(s, Make(9, 4), 0.02f);
  EXPECT_EQ(s.HeroDirection, 4);
  EXPECT_EQ(s.TurnQueueCount, 3);
  ExecuteInstruction(s, Make(9, 9), 0.02f);
  EXPECT_EQ(s.HeroDirection, 4);

  w.AddFrame("wave", "wave2", 80);
  w.Hero().Animated = false;
  ExecuteInstruction(s, Make(10, 0, 0, "wave"), 0.02f);
  EXPECT_EQ(w.Shown(), "wave");
  EXPECT_TRUE(w.Hero().Animated);
  w.Hero().Animated = false;
  ExecuteInstruction(s, Make(10), 0.02f);
  EXPECT_EQ(w.Shown(), "wave");
  EXPECT_TRUE(w.Hero().Animated);

  ExecuteInstruction(s, Make(11, 0), 0.02f);
  EXPECT_FALSE(s.IdleOnArrival);
  ExecuteInstruction(s, Make(11, 2), 0.02f);
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
