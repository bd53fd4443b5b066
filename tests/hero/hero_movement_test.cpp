#include "hero/hero_movement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "hero/hero_world.h"

namespace {

std::vector<std::string> Queue(const TqvxScene& s) {
  std::vector<std::string> q;
  for (int i = 1; i <= s.TurnQueueCount; ++i) q.push_back(s.TurnQueue[i]);
  return q;
}

bool Neighbours(int a, int b) { return CounterClockwiseNeighbour(a) == b || CounterClockwiseNeighbour(b) == a; }

}  // namespace

TEST(HeroHeading, QuadrantsAxesEqualPointsAndDirectionSectors) {
  const std::tuple<float, float, float, float, double> headings[] = {
      {0, 0, 10, -10, 45}, {0, 0, -10, -10, 135}, {0, 0, -10, 10, 225}, {0, 0, 10, 10, 315}, {0, 0, 0, -5, 90},
      {0, 0, 0, 5, 270},   {0, 0, 5, 0, 0},       {0, 0, -5, 0, 180},   {3, 4, 3, 4, 270},   {0, 0, 10, 1, 354.29}};
  for (const auto& [x1, y1, x2, y2, want] : headings)
    EXPECT_NEAR(HeadingBetween(x1, y1, x2, y2), want, 0.01) << x2 << "," << y2;
  // Each sector includes its lower bound.
  const std::pair<float, int> sectors[] = {{0, 1},     {14.99f, 1}, {15, 5},   {74.99f, 5}, {75, 2},  {104.99f, 2},
                                           {105, 6},   {165, 0},    {194.99f, 0}, {195, 4}, {255, 3}, {285, 7},
                                           {344.99f, 7}, {345, 1},  {359.9f, 1}, {360, 1},  {-90, 3}, {450, 2}};
  for (const auto& [heading, direction] : sectors) EXPECT_EQ(DirectionFromHeading(heading), direction) << heading;
}

TEST(HeroWalkSpeed, HalfUpAndDownFullSideways) {
  HeroWorld w;
  w.Scene.HeroSpeed = 100;
  w.Scene.DepthScale = 0.5f;
  for (auto [heading, speed] : {std::pair{0.0f, 50.0f}, {180.0f, 50.0f}, {90.0f, 25.0f}, {270.0f, 25.0f}}) {
    w.Hero().Heading = heading;
    ComputeWalkSpeed(w.Scene);
    EXPECT_FLOAT_EQ(w.Scene.HeroWalkSpeed, speed) << heading;
  }
}

// Every turn steps through ring neighbours the shorter way, one turn frame
// then numbered walk frames, 0.04 s each; reversals go through left, except
// left/right which goes through up.
TEST(HeroTurn, EveryTurnWalksTheRing) {
  HeroWorld w;
  w.NameAllFrames();
  TqvxScene& s = w.Scene;
  for (int from = 0; from < 8; ++from) {
    for (int to = 0; to < 8; ++to) {
      if (from == to) continue;
      s.HeroDirection = from;
      TurnTo(s, to);
      const auto q = Queue(s);
      ASSERT_GE(q.size(), 2u);
      EXPECT_EQ(s.HeroDirection, to);
      EXPECT_EQ(s.TurnPlayIndex, 0);
      std::vector<int> path{from};
      for (size_t i = 1; i < q.size(); ++i) {
        ASSERT_EQ(q[i][0], 'w');
        path.push_back(q[i][1] - '0');
        EXPECT_EQ(q[i][2] - '0', static_cast<int>(i)) << from << "->" << to;
      }
      EXPECT_EQ(path.back(), to);
      for (size_t i = 1; i < path.size(); ++i)
        EXPECT_TRUE(Neighbours(path[i - 1], path[i])) << from << "->" << to << " step " << i;
      // The turn frame is the one of the edge joining a direction and its
      // counter-clockwise neighbour.
      ASSERT_EQ(q[0][0], 't');
      const int edge = q[0][1] - '0';
      EXPECT_TRUE(edge == from || edge == path[1]);
      EXPECT_EQ(CounterClockwiseNeighbour(edge), edge == from ? path[1] : from);
      EXPECT_LE(path.size(), 5u);
      if (path.size() == 5u) {
        const int through = (from + to == 1) ? 2 : 0;
        EXPECT_NE(std::find(path.begin(), path.end(), through), path.end()) << from << "->" << to;
      }
      EXPECT_FLOAT_EQ(s.WaitTime, static_cast<float>(q.size()) * 0.04f);
    }
  }
  // No turn to the same or a bad direction; turning and standing ends on the
  // stand frame.
  TurnTo(s, 5);
  TurnTo(s, 5);
  EXPECT_EQ(s.TurnQueueCount, 0);
  EXPECT_FLOAT_EQ(s.WaitTime, 0.001f);
  s.HeroDirection = 2;
  TurnAndStand(s, 6);
  EXPECT_EQ(Queue(s), (std::vector<std::string>{"t2", "w61", "s6"}));
  EXPECT_FLOAT_EQ(s.WaitTime, 0.16f);
  TurnTo(s, 8);
  TurnTo(s, -1);
  EXPECT_EQ(s.HeroDirection, 6) << "out-of-range directions do nothing";
}

TEST(HeroTurn, PlaysQueuedFramesThenLetsTheChainRun) {
  HeroWorld w;
  w.NameAllFrames();
  TqvxScene& s = w.Scene;
  s.HeroDirection = 1;
  TurnTo(s, 0);
  std::vector<std::string> shown;
  for (int i = 0; i < 20 && s.TurnPlayIndex >= 0; ++i) {
    PlayTurnQueue(s, 0.03f);
    if (s.TurnPlayIndex > 0 && (shown.empty() || shown.back() != w.Shown())) {
      shown.push_back(w.Shown());
      EXPECT_FALSE(w.Hero().Animated);
    }
  }
  EXPECT_EQ(shown, Queue(s));
  EXPECT_EQ(s.TurnPlayIndex, -1);
  EXPECT_TRUE(w.Hero().Animated);
}

TEST(HeroFrames, LookupChainAndStepSounds) {
  HeroWorld w;
  TqvxScene& s = w.Scene;
  w.AddFrame("a", "b", 100);
  w.AddFrame("b", "a", 250);
  w.AddFrame("a", "x", 999);  // a later duplicate never wins
  std::vector<std::string> played;
  s.StepSoundHook = [&](TqvxScene&, const std::string& sound) { played.push_back(sound); };
  s.StepSounds[0] = {"b", ""};  // no sound: skipped, the next binding serves
  s.StepSounds[3] = {"b", "step_l"};
  s.StepSounds[5] = {"b", "step_r"};

  SetHeroFrame(s, "a", true);
  SetHeroFrame(s, "missing", true);
  EXPECT_EQ(w.Shown(), "a") << "a frame the archive lacks changes nothing";

  w.Hero().Animated = true;
  w.Hero().FrameTimer = 0;
  AnimateHero(s, 0.06f);
  AnimateHero(s, 0.06f);
  EXPECT_EQ(w.Shown(), "b");
  EXPECT_NEAR(w.Hero().FrameTimer, 0.02f, 1e-6);  // carried over, not reset
  EXPECT_EQ(played, (std::vector<std::string>{"step_l"}));
  w.Hero().Animated = false;
  AnimateHero(s, 1.0f);
  EXPECT_EQ(w.Shown(), "b");
}

TEST(HeroWalk, EndsAtLastWaypointAndGivesInputBack) {
  HeroWorld w;
  w.NameAllFrames();
  TqvxScene& s = w.Scene;
  s.InputWhenIdle = true;
  w.Walk(300, 200, 0, {{100, 200}});
  EXPECT_TRUE(s.HeroWalking);
  EXPECT_FALSE(s.InputEnabled);
  EXPECT_EQ(w.Shown(), "w01");
  ASSERT_TRUE(w.RunUntilIdle());
  EXPECT_EQ(w.Hero().X, 100);
  EXPECT_EQ(w.Hero().Y, 200);
  EXPECT_TRUE(s.InputEnabled);
  EXPECT_EQ(s.WaypointIndex, -1);
  EXPECT_EQ(s.WaypointCount, 0);
  EXPECT_EQ(w.Hero().Speed, 0);
  EXPECT_EQ(w.Shown(), "i0") << "facing left: idle pose at once";

  // A diagonal arrival turns down and stands.
  w.Walk(100, 100, 7, {{200, 200}});
  EXPECT_FALSE(s.IdlePoseShown);
  EXPECT_EQ(w.Shown(), "w71");
  ASSERT_TRUE(w.RunUntilIdle());
  EXPECT_EQ(s.HeroDirection, 3);
  EXPECT_EQ(w.Shown(), "s3");
  EXPECT_TRUE(s.IdlePoseShown);
}

TEST(HeroWalk, TurnsAtACornerAndCreepsWhileTurning) {
  HeroWorld w;
  w.NameAllFrames();
  TqvxScene& s = w.Scene;
  s.IdleOnArrival = false;
  w.Walk(100, 100, 1, {{200, 100}, {200, 300}});
  bool turned = false, crept = false;
  for (int i = 0; i < 500 && s.HeroWalking; ++i) {
    w.Frame(0.02f);
    if (s.WaitTime > 0 && s.WaypointIndex == 1) {
      turned = true;
      if (w.Hero().Speed == 0) crept = true;
    }
  }
  EXPECT_TRUE(turned && crept);
  EXPECT_FALSE(s.HeroWalking);
  EXPECT_EQ(s.HeroDirection, 3);
  EXPECT_EQ(w.Hero().Y, 300);
  // The last turn frame's chain runs on; no idle pose when it is off.
  EXPECT_EQ(w.Shown().substr(0, 2), "w3");
}

TEST(HeroWalk, StopOnlyWhenInputComesBackAndASkippedLastWaypointEnds) {
  HeroWorld w;
  TqvxScene& s = w.Scene;
  s.SuspendedFunction = 4;
  s.InputWhenIdle = false;
  w.Walk(100, 100, 3, {{400, 100}});
  StopWalk(s);
  EXPECT_TRUE(s.HeroWalking);
  EXPECT_EQ(s.SuspendedFunction, 4);

  s.InputWhenIdle = true;
  StopWalk(s);
  EXPECT_FALSE(s.HeroWalking);
  EXPECT_TRUE(s.InputEnabled);
  EXPECT_EQ(s.SuspendedFunction, -1);
  EXPECT_EQ(s.WaypointIndex, -1);
  EXPECT_EQ(w.Hero().Speed, 0);

  w.Walk(100, 100, 3, {{400, 100}});
  s.WaypointIndex = 1;
  FollowWaypoints(s, 0.02f);
  EXPECT_FALSE(s.HeroWalking);
  EXPECT_EQ(s.WaypointIndex, -1);
}

TEST(HeroWait, TalkingEndsOnStandFrameAndNoHeroStillCountsDown) {
  HeroWorld w;
  w.NameAllFrames();
  TqvxScene& s = w.Scene;
  s.HeroTalking = true;
  s.WaitTime = 0.03f;
  TickWait(s, 0.02f);
  EXPECT_TRUE(s.HeroTalking);
  TickWait(s, 0.02f);
  EXPECT_FALSE(s.HeroTalking);
  EXPECT_EQ(w.Shown(), "s3");

  s.HeroIndex = -1;
  s.WaitTime = 1;
  UpdateHero(s, 0.05f);
  EXPECT_FLOAT_EQ(s.WaitTime, 0.95f);
}

TEST(HeroScale, DepthBandSlopeAndPivot) {
  HeroWorld w;
  TqvxScene& s = w.Scene;
  TqvxObject& h = w.Hero();
  THUDSprite& sprite = *h.Sprite;
  h.PivotX = 10;
  h.PivotY = 100;

  sprite.Width = 7;
  ScaleHero(s);
  EXPECT_EQ(sprite.Width, 7) << "no scaling asked for";

  s.DepthScaleOn = true;
  s.DepthY1 = 200, s.DepthY2 = 400, s.DepthScale1 = 0.5f, s.DepthScale2 = 1.0f;
  for (auto [y, scale] : {std::pair{100.0f, 0.5f}, {200.0f, 0.5f}, {300.0f, 0.75f}, {400.0f, 1.0f}, {500.0f, 1.0f}}) {
    w.PutHero(0, y);
    sprite.PositionX = 50;
    sprite.PositionY = 60;
    ScaleHero(s);
    EXPECT_FLOAT_EQ(s.DepthScale, scale) << y;
    EXPECT_FLOAT_EQ(sprite.Width, 100 * scale);
    EXPECT_FLOAT_EQ(sprite.Height, 200 * scale);
    EXPECT_FLOAT_EQ(sprite.PositionX, 50 + (1 - scale) * 10);
    EXPECT_FLOAT_EQ(sprite.PositionY, 60 + (1 - scale) * 100);
  }

  s.DepthScaleOn = false;
  s.SlopeOn = true;
  s.SlopeX1 = 100, s.SlopeX2 = 300, s.SlopeScale1 = 1, s.SlopeScale2 = 0.5f;
  s.SlopeRotation1 = 0, s.SlopeRotation2 = 10;
  w.PutHero(150, 0);
  ScaleHero(s);
  EXPECT_FLOAT_EQ(s.DepthScale, 1);
  EXPECT_FLOAT_EQ(s.SlopeScale, 0.875f);
  EXPECT_FLOAT_EQ(h.Rotation, 2.5f);
  EXPECT_FLOAT_EQ(sprite.Rotation, 2.5f);

  // A band whose ends coincide never divides by zero.
  s.SlopeX2 = 100;
  w.PutHero(100, 0);
  ScaleHero(s);
  EXPECT_FLOAT_EQ(s.SlopeScale, 1);
}

TEST(HeroPlace, BlockedAndOffGridCellsAreIgnored) {
  HeroWorld w;
  TqvxScene& s = w.Scene;
  w.Block(3, 4);
  PlaceHero(s, 2, 4);
  for (auto [x, y] : {std::pair{3, 4}, {-1, 4}, {40, 4}, {2, 30}}) PlaceHero(s, x, y);
  EXPECT_EQ(w.Hero().X, 40);
  EXPECT_EQ(w.Hero().Y, 80);
}

TEST(HeroFrames, LocationChangeKeepsTheFramesAndEmptiesTheStepSounds) {
  HeroWorld w;
  w.NameAllFrames();
  TqvxScene& s = w.Scene;
  s.StepSounds[2] = {"w01", "step"};
  s.HeroDirection = 1;
  TurnTo(s, 0);

  // A game sets the frames once; the next location's hero must still use them.
  const TqvxObject hero = w.Hero();
  ResetScene(s);
  EXPECT_EQ(s.HeroIndex, -1);
  EXPECT_EQ(s.StepSounds[2].Frame, "") << "the footstep pairs belong to a location";
  s.Objects.push_back(hero);
  s.HeroIndex = 0;
  ASSERT_TRUE(w.RunUntilIdle());
  EXPECT_EQ(w.Shown(), "w04") << "the turn being played goes on";

  TurnAndStand(s, 3);
  ASSERT_TRUE(w.RunUntilIdle());
  EXPECT_EQ(w.Shown(), "s3") << "a turn";
  w.PutHero(300, 200);
  s.Waypoints[0] = {100, 200};
  s.WaypointCount = 1;
  StartWalk(s);
  for (int i = 0; i < 50 && (s.WaitTime > 0 || s.TurnPlayIndex >= 0); ++i) w.Frame(0.02f);
  EXPECT_TRUE(s.HeroWalking);
  EXPECT_EQ(w.Shown().substr(0, 2), "w0") << "a walk to the left";
  ASSERT_TRUE(w.RunUntilIdle());
  EXPECT_EQ(w.Shown(), "i0") << "the idle pose";
}
