// The game run for real in driver mode on small game directories.
#include <gtest/gtest.h>

#include "platform/stream.h"
#include "support/game_dir.h"

TEST(SceneEndToEnd, FadeAndLocationChangeTakeHalfASecondEachAndScreenshots) {
  TTestGameDir game("fade");
  game.WriteArchive("GFX/loc.wgw", {Pic("rock", 8, 8, 0x808080FF)});
  game.WriteLocation("init.qvx", LocationSource(40,
      "function \"start\"\n  load_archive str1=\"loc.wgw\"\n  change_location str1=\"second.qvx\"\nend\n"));
  game.WriteLocation("second.qvx", LocationSource(60,
      "object layer=1 name=\"rock\" x=100 y=300 width=8 height=8 picture=\"rock\"\n"
      "function \"start\"\nend\n"));
  // Frame 0 sees the change requested by init's function 0: the old location
  // fades out for 0.5 s (25 frames of 0.02 s), then the new one fades in.
  auto r = game.Run(10, {"--screenshot", "2:" + (game.Dir() / "shot.bmp").string()});
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  // The screenshot is the game's 800 by 600 picture at 32 bits.
  const std::vector<uint8_t> shot = ReadFileBytes(game.Dir() / "shot.bmp");
  ASSERT_EQ(shot.size(), 54u + 800 * 600 * 4);
  TBinaryWriter size;
  size.WriteInt32(800), size.WriteInt32(600), size.WriteUInt16(1), size.WriteUInt16(32);
  EXPECT_EQ(std::vector<uint8_t>(shot.begin() + 18, shot.begin() + 30), size.Bytes());
  EXPECT_EQ(r.State["location"], "second.qvx");
  EXPECT_EQ(r.State["previous_location"], "init.qvx");
  EXPECT_NEAR(r.State["location_timer"].get<double>(), 1.0 - 10 * 0.04, 0.001);
  EXPECT_TRUE(r.State["objects"].empty()) << "the new location is not read before the fade ends";

  r = game.Run(27);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(r.State["location_timer"], -1);
  ASSERT_EQ(r.State["objects"].size(), 1u);
  EXPECT_EQ(r.State["objects"][0]["picture"], "rock");
  EXPECT_GT(r.State["fade_level"].get<double>(), 0.8) << "the new location fades in from black";

  r = game.Run(60);
  EXPECT_EQ(r.State["fade_level"], -1);
}

TEST(SceneEndToEnd, ABadLocationIsReportedAndTheGameGoesOn) {
  TTestGameDir game("bad");
  game.WriteLocation("init.qvx", LocationSource(40, "function \"start\"\n  change_location str1=\"bad.qvx\"\nend\n"));
  // Layer 7 cannot be built from source: one object on it, as bytes.
  TBinaryWriter bad;
  bad.WriteStr(30, "h"), bad.WriteStr(150, ""), bad.WriteInt32(1), bad.WriteInt32(7);
  WriteFileBytes(game.Dir() / "SCENE" / "bad.qvx", bad.Bytes());
  auto r = game.Run(40);
  EXPECT_EQ(r.ExitCode, 2) << "an error was reported while running";
  EXPECT_NE(r.Stderr.find("layer 7"), std::string::npos) << r.Stderr;
  ASSERT_FALSE(r.State.is_null()) << "the game went on and dumped its state";
  EXPECT_TRUE(r.State["objects"].empty());
}

namespace {

// A 60-column location: a runner that the scroll follows moves to the far
// right, a ball bounces against its bounds, a far layer scrolls at half
// speed, and a delayed function waits for the game's wait to end.
const char* const kPlayground =
    "object layer=0 name=\"far\" x=1000 y=100 parallax=0.5 width=100 height=100 picture=\"rock\"\n"
    "object layer=1 name=\"front\" x=500 y=500 width=40 height=40 picture=\"rock\"\n"
    "  hotspot x=500 y=500 radius=4\n"
    "object layer=1 name=\"runner\" x=100 y=300 width=40 height=40 picture=\"rock\"\n"
    "object layer=1 name=\"ball\" x=100 y=400 width=20 height=20 picture=\"rock\"\n"
    "function \"start\"\n"
    "  set_scroll_object str1=\"runner\"\n"
    "  set_arrival_function str1=\"runner\" op1=1 str2=\"arrived\"\n"
    "  move_object_to str1=\"runner\" op1=1180 op2=300 op3=400\n"
    "  set_arrival_function str1=\"ball\" op1=1 str2=\"bounced\"\n"
    "  set_properties str1=\"ball\" op1=3 op2=3 op3=0 op4=0 op5=200\n"
    "  set_bounds str1=\"ball\" op1=1 op2=0 op3=300 op4=0 op5=600\n"
    "  delayed_call op1=100 str1=\"late\"\n"
    "  wait op1=2000\n"
    "end\n"
    "function \"arrived\"\n  set_variables op1=1 op2=1 op3=1\nend\n"
    "function \"bounced\"\n  add_to_variables op1=2 op2=1 op3=1\nend\n"
    "function \"late\"\n  set_variables op1=3 op2=1 op3=7\nend\n";

}  // namespace

TEST(SceneEndToEnd, ALocationPlaysInTheDriver) {
  TTestGameDir game("playground");
  game.WriteArchive("GFX/loc.wgw", {Pic("rock", 8, 8, 0x808080FF)});
  game.WriteLocation("init.qvx", LocationSource(40,
      "function \"start\"\n  load_archive str1=\"loc.wgw\"\n  change_location str1=\"play.qvx\" op2=1\nend\n"));
  game.WriteLocation("play.qvx", LocationSource(60, kPlayground));

  // The location fades in for 0.5 s (25 frames): objects and timers stand still.
  auto r = game.Run(20);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(r.State["location"], "play.qvx");
  EXPECT_EQ(Named(r.State, "runner")["x"], 100);
  EXPECT_EQ(Var(r.State, 3), 0);
  EXPECT_EQ(Named(r.State, "front")["hot_spot_radii"], nlohmann::json::array({10})) << "radius 4 is stored as 10";
  // Layer 1 is drawn by increasing y: runner (300), ball (400), front (500).
  for (int i = 0; const char* name : {"runner", "ball", "front"}) EXPECT_EQ(Named(r.State, name)["draw_index"], i++);

  // 1 s of play: the ball (200 px/s) has reached its bound at x 300 once;
  // the delayed function still waits for the 2 s wait.
  r = game.Run(26 + 50);
  EXPECT_EQ(Named(r.State, "ball")["x"], 300);
  EXPECT_EQ(Var(r.State, 2), 1);
  EXPECT_EQ(Var(r.State, 3), 0) << "an unforced delayed function waits while the game waits";
  EXPECT_EQ(Var(r.State, 1), 0);

  // After 3 s of play: the runner arrived at x 1180 (2.7 s at 400 px/s), the
  // scroll that follows it stops at 20 x 60 - 800 = 400, the far layer is
  // drawn at half its distance from the scroll, and the wait is over so the
  // delayed function ran.
  r = game.Run(26 + 150);
  EXPECT_EQ(Named(r.State, "runner")["x"], 1180);
  EXPECT_EQ(Var(r.State, 1), 1);
  EXPECT_EQ(r.State["scroll_x"], 400);
  EXPECT_EQ(Named(r.State, "far")["screen_x"], (1000 - 400) * 0.5);
  EXPECT_EQ(Named(r.State, "front")["screen_x"], 500 - 400);
  EXPECT_EQ(Var(r.State, 3), 7);
}

TEST(SceneEndToEnd, LocationsThatEnterEachOtherAtOnceStopAfterAHundredChanges) {
  TTestGameDir game("ping_pong");
  game.WriteLocation("init.qvx", LocationSource(40,
      "object layer=1 name=\"a\" x=100 y=300 width=8 height=8 picture=\"rock\"\n"
      "function \"start\"\n  change_location str1=\"b.qvx\" op2=1\nend\n"));
  game.WriteLocation("b.qvx", LocationSource(40,
      "object layer=1 name=\"b\" x=100 y=300 width=8 height=8 picture=\"rock\"\n"
      "function \"start\"\n  change_location str1=\"init.qvx\" op2=1\nend\n"));
  const auto r = game.Run(3);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr.substr(0, 2000);
  // The hundredth change entered init.qvx; its own change is dropped, once.
  EXPECT_EQ(r.State["location"], "init.qvx");
  ASSERT_EQ(r.State["objects"].size(), 1u);
  EXPECT_EQ(r.State["objects"][0]["name"], "a");
  const std::string warning = "100 immediate location changes in one frame; \"init.qvx\" does not go on to \"b.qvx\"";
  const size_t at = r.Stderr.find(warning);
  EXPECT_NE(at, std::string::npos) << r.Stderr;
  EXPECT_EQ(r.Stderr.find("immediate location changes", at + warning.size()), std::string::npos) << r.Stderr;
}
