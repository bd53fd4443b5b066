// The game run for real in driver mode on small game directories.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/game_dir.h"

namespace {

std::string TwoLocations(TTestGameDir& game) {
  game.WriteArchive("GFX/loc.wgw", {Pic("rock", 8, 8, 0x808080FF)});
  game.WriteLocation("init.qvx", LocationSource(40,
      "function \"start\"\n"
      "  load_archive str1=\"loc.wgw\"\n"
      "  change_location str1=\"second.qvx\"\n"
      "end\n"));
  game.WriteLocation("second.qvx", LocationSource(60,
      "object layer=1 name=\"rock\" x=100 y=300 width=8 height=8 picture=\"rock\"\n"
      "function \"start\"\nend\n"));
  return "second.qvx";
}

}  // namespace

TEST(SceneEndToEnd, FadeAndLocationChangeTakeHalfASecondEach) {
  TTestGameDir game("fade");
  TwoLocations(game);
  // Frame 0 sees the change requested by init's function 0: the old location
  // fades out for 0.5 s (25 frames of 0.02 s), then the new one fades in.
  auto r = game.Run(10);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
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
  // Layer 7 and an absurd object count cannot be built from source: write the bytes.
  std::string bad;
  bad += '\x01';
  bad += 'h';
  bad.append(30 - 1, '\0');
  bad.append(151, '\0');
  bad += std::string("\x01\x00\x00\x00\x07\x00\x00\x00", 8);  // one object on layer 7
  game.WriteFile("SCENE/bad.qvx", bad);
  auto r = game.Run(40);
  EXPECT_EQ(r.ExitCode, 2) << "an error was reported while running";
  EXPECT_NE(r.Stderr.find("layer 7"), std::string::npos) << r.Stderr;
  ASSERT_FALSE(r.State.is_null()) << "the game went on and dumped its state";
  EXPECT_TRUE(r.State["objects"].empty());
}

TEST(SceneEndToEnd, ScreenshotOfTheGamePicture) {
  TTestGameDir game("shot");
  TwoLocations(game);
  const auto file = (game.Dir() / "shot.bmp").string();
  auto r = game.Run(3, {"--screenshot", "2:" + file});
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  std::ifstream f(file, std::ios::binary);
  ASSERT_TRUE(f) << "no screenshot written";
  std::string header(54, '\0');
  f.read(header.data(), 54);
  EXPECT_EQ(header.substr(0, 2), "BM");
  auto le32 = [&](int at) {
    return static_cast<int32_t>(static_cast<uint8_t>(header[at]) | static_cast<uint8_t>(header[at + 1]) << 8 |
                                static_cast<uint8_t>(header[at + 2]) << 16 | static_cast<uint8_t>(header[at + 3]) << 24);
  };
  EXPECT_EQ(le32(18), 800);
  EXPECT_EQ(le32(22), 600);
  EXPECT_EQ(static_cast<uint8_t>(header[28]), 32);
}
