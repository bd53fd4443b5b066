// The game run for real in driver mode on small game directories.
#include <gtest/gtest.h>

#include "platform/stream.h"
#include "support/game_dir.h"

TEST(SceneEndToEnd, FadeAndLocationChangeTakeHalfASecondEachAndScreenshots) {
  TTestGameDir game("fade");
  game.WriteArchive("GFX/loc.wgw", {{"rock", 8, 8, 0x808080FF}});
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
