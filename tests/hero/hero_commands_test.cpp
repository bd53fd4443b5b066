#include "hero/hero_commands.h"

#include <gtest/gtest.h>

#include "hero/hero_world.h"

namespace {

TScriptInstruction Make(int32_t code, int32_t op1 = 0, int32_t op2 = 0, const std::string& str1 = "") {
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

  HeroCommandSetFacing(s, Make(6, 0));
  EXPECT_EQ(s.HeroDirection, 0);
  EXPECT_EQ(w.Shown(), "s0");
  for (int bad : {-1, 8, 1000}) HeroCommandSetFacing(s, Make(6, bad));
  EXPECT_EQ(s.HeroDirection, 0);

  HeroCommandPlace(s, Make(7, 4, 6));
  EXPECT_EQ(w.Hero().X, 80);
  EXPECT_EQ(w.Hero().Y, 120);
  HeroCommandPlace(s, Make(7, 4, 99));
  EXPECT_EQ(w.Hero().Y, 120);

  HeroCommandWalk(s, Make(8, 14, 6));
  EXPECT_TRUE(s.HeroWalking);
  EXPECT_EQ(s.Waypoints[0].X, 280);
  StopWalk(s);
  HeroCommandWalk(s, Make(8, -5, 6));
  EXPECT_FALSE(s.HeroWalking);

  s.HeroDirection = 3;
  HeroCommandTurn(s, Make(9, 4));
  EXPECT_EQ(s.HeroDirection, 4);
  EXPECT_EQ(s.TurnQueueCount, 3);
  HeroCommandTurn(s, Make(9, 9));
  EXPECT_EQ(s.HeroDirection, 4);

  w.AddFrame("wave", "wave2", 80);
  w.Hero().Animated = false;
  HeroCommandShowFrame(s, Make(10, 0, 0, "wave"));
  EXPECT_EQ(w.Shown(), "wave");
  EXPECT_TRUE(w.Hero().Animated);
  w.Hero().Animated = false;
  HeroCommandShowFrame(s, Make(10));
  EXPECT_EQ(w.Shown(), "wave");
  EXPECT_TRUE(w.Hero().Animated);

  HeroCommandIdleOnArrival(s, Make(11, 0));
  EXPECT_FALSE(s.IdleOnArrival);
  HeroCommandIdleOnArrival(s, Make(11, 2));
  EXPECT_TRUE(s.IdleOnArrival);
}

TEST(HeroCommands, WithoutAHeroNothingHappens) {
  HeroWorld w;
  w.NameAllFrames();
  TqvxScene& s = w.Scene;
  s.HeroIndex = -1;
  HeroCommandSetFacing(s, Make(6, 1));
  HeroCommandPlace(s, Make(7, 4, 6));
  HeroCommandWalk(s, Make(8, 14, 6));
  HeroCommandTurn(s, Make(9, 1));
  HeroCommandShowFrame(s, Make(10, 0, 0, "s1"));
  EXPECT_EQ(s.HeroDirection, 3);
  EXPECT_EQ(w.Hero().X, 0);
  EXPECT_FALSE(s.HeroWalking);
  EXPECT_EQ(s.TurnQueueCount, 0);
  EXPECT_EQ(w.Shown(), "");
  s.HeroIndex = 7;  // stale index
  HeroCommandShowFrame(s, Make(10, 0, 0, "s1"));
  HeroCommandWalk(s, Make(8, 14, 6));
  EXPECT_FALSE(s.HeroWalking);
}
