// Location effects through the real game in driver mode: a sketch story in
// the sketch panel (with screenshots of the slide and of a sketch), the rules
// for a story that cannot be shown, and a close-up overlay with the time of
// day running behind it.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "support/game_dir.h"
#include "support/screenshot_pixel.h"

namespace {

// The start location fades in for 26 frames of 0.02 s before effects run.
constexpr int kPlay = 26;

void WriteSystem(TTestGameDir& game) {
  std::vector<TTestPicture> system = {{"absblack", 4, 4, 0x000000FF}, {"cursor01", 4, 4, 0xFFFFFFFF},
                                      {"cursor03", 4, 4, 0xFFFF00FF}, {"menubo", 4, 4, 0x808080FF},
                                      {"subpanel", 4, 4, 0x202020FF}, {"fnt1", 16, 16, 0xFFFFFFFF},
                                      {"mbl_bgr1", 4, 4, 0x0000FFFF},      {"mbl_bgr2", 4, 4, 0x404040FF},
                                      {"mbl_bgr3", 4, 4, 0x404040FF}, {"mbl_shad_01", 4, 4, 0x101010FF},
                                      {"mbl_shad_02", 4, 4, 0x101010FF}, {"map", 4, 4, 0x00FF00FF}};
  for (int i = 1; i <= 10; ++i) system.push_back({i < 10 ? "locpa_0" + std::to_string(i) : "locpa_10", 4, 4});
  for (int i = 0; i < 8; ++i) system.push_back({"p_feet_000" + std::to_string(i), 4, 4, 0x00FF00FF});
  game.WriteArchive("system.wgw", system);
  game.WriteArchive("GFX/loc.wgw", {{"p1", 8, 8, 0xFF0000FF}, {"p2", 8, 8, 0x00FF00FF}, {"sky", 8, 8, 0x8080FFFF},
                                    {"moon", 8, 8, 0xFFFFFFFF}});
}

std::string Count(int v) { return "  add_to_variables op1=" + std::to_string(v) + " op2=1 op3=1\n"; }

std::string StoryLocation(const std::string& file) {
  return LocationSource(40, "function \"start\"\n  load_archive str1=\"loc.wgw\"\n  screen_setup op1=15 op2=1\n"
                            "  screen_setup op1=5 str1=\"" + file + "\"\n" + Count(0) + "end\n");
}

TEST(EffectsEndToEnd, ASketchStoryPlaysInThePanelAndTakesTheGameToItsNextLocation) {
  TTestGameDir game("sketch_story");
  WriteSystem(game);
  game.WriteSketch("story.skt",
                   "sketch picture=\"p1\" width=200 height=150 x=400 y=300 zoom=1 zoom_speed=2 hold=200\n"
                   "sketch picture=\"p2\" width=100 height=100 x=300 y=300 hold=200\n"
                   "next_location=\"second.qvx\"\n");
  game.WriteLocation("init.qvx", StoryLocation("story.skt"));
  game.WriteLocation("second.qvx", LocationSource(40, "function \"start\"\n" + Count(1) + "end\n"));

  const auto slide = game.Dir() / "slide.bmp", sketch = game.Dir() / "sketch.bmp";
  auto r = game.Run(kPlay + 70, {"--screenshot", std::to_string(kPlay + 12) + ":" + slide.string(), "--screenshot",
                                 std::to_string(kPlay + 40) + ":" + sketch.string()});
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  // Compared among themselves: what colour a test picture is drawn in is the
  // renderer's matter.
  const uint32_t panel = ScreenshotPixel(slide, 100, 300);
  EXPECT_NE(ScreenshotPixel(slide, 700, 300), panel) << "the panel has slid in from the left, not yet across";
  EXPECT_EQ(ScreenshotPixel(sketch, 700, 300), panel) << "and is open";
  EXPECT_NE(ScreenshotPixel(sketch, 400, 300), panel) << "the first sketch zooms in the panel";
  EXPECT_EQ(ScreenshotPixel(sketch, 150, 300), panel) << "from its own place and size";
  const auto& effects = r.State["effects"];
  EXPECT_TRUE(effects["overlay_active"]);
  EXPECT_EQ(effects["sketch"]["count"], 2);
  EXPECT_EQ(effects["sketch"]["next_location"], "second.qvx");
  EXPECT_EQ(Var(r.State, 0), 0) << "the script waits while the story plays";

  r = game.Run(kPlay + 140);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(r.State["location"], "second.qvx");
  EXPECT_EQ(Var(r.State, 1), 1) << "the next location's function 0 ran";
  EXPECT_EQ(Var(r.State, 0), 0) << "the script that started the story is not resumed";
  EXPECT_EQ(r.State["effects"]["sketch"]["current"], -1);
  EXPECT_FALSE(r.State["effects"]["panels"][1]["visible"]);
  EXPECT_FALSE(r.State["effects"]["overlay_active"]);
}

TEST(EffectsEndToEnd, AStoryThatCannotBeShownLeavesNobodyStuck) {
  TTestGameDir game("sketch_bad");
  WriteSystem(game);
  game.WriteSketch("empty.skt", "");
  game.WriteLocation("init.qvx", StoryLocation("missing.skt"));
  auto r = game.Run(kPlay + 5);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_NE(r.Stderr.find("missing.skt"), std::string::npos) << r.Stderr;
  EXPECT_EQ(Var(r.State, 0), 1) << "the script goes on at once";
  EXPECT_FALSE(r.State["effects"]["panels"][1]["running"]);
  EXPECT_FALSE(r.State["effects"]["overlay_active"]);

  game.WriteLocation("init.qvx", StoryLocation("empty.skt"));
  r = game.Run(kPlay + 10);
  EXPECT_EQ(Var(r.State, 0), 0) << "an empty story still opens the panel first";
  r = game.Run(kPlay + 30);
  EXPECT_EQ(Var(r.State, 0), 1) << "and the game goes on once it is open";
  EXPECT_TRUE(r.State["effects"]["panels"][1]["visible"]) << "the panel stays open";
  EXPECT_EQ(r.State["effects"]["sketch"]["count"], 0);
}

TEST(EffectsEndToEnd, AShownOverlayTakesTheMouseAndFreezesTheGameWhileTheDayRuns) {
  TTestGameDir game("overlay");
  WriteSystem(game);
  game.WriteLocation("init.qvx", LocationSource(40,
      "object layer=0 name=\"moon\" x=0 y=0 width=8 height=8 picture=\"moon\"\n"
      "function \"start\"\n  load_archive str1=\"loc.wgw\"\n"
      "  day_time op1=-1\n  day_time op1=0 op2=1 op3=3 str1=\"sky\"\n  day_time op1=0 str1=\"nothing\"\n"
      "  day_time op1=1 op2=400 op3=500 op4=300 str1=\"moon\"\n  day_time op1=2 op2=9000\n"
      "  set_frame_function str1=\"tick\"\n"
      "  screen_setup op1=6\n  screen_setup op1=7 op2=0 str1=\"map\" op3=400 op4=300 op5=400 op6=300\n"
      "  screen_setup op1=8 op2=0 str1=\"go\"\n"
      "  screen_setup op1=9 op2=0 str1=\"go\" op3=400 op4=300 op5=100 op6=100 op7=3\n"
      "  screen_setup op1=10 op2=0\n  screen_setup op1=15 op2=1\nend\n"
      "function \"tick\"\n" + Count(2) + "end\n"
      "function \"go\"\n" + Count(0) + "  screen_setup op1=11 op2=0\nend\n"));
  const std::string input = std::to_string(kPlay + 2) + " move 410 290\n" + std::to_string(kPlay + 10) +
                            " down left\n" + std::to_string(kPlay + 11) + " up left\n";
  auto r = game.RunWithInput(kPlay + 8, input);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  const auto& effects = r.State["effects"];
  EXPECT_TRUE(effects["overlay_active"]);
  ASSERT_EQ(effects["addlocs"].size(), 1u);
  EXPECT_EQ(effects["addlocs"][0]["sprites"], 1);
  EXPECT_EQ(effects["addlocs"][0]["zones"][0]["function"], 0);
  EXPECT_EQ(r.State["cursor"]["picture"], "cursor03");
  EXPECT_EQ(Var(r.State, 2), 0) << "the frame function waits behind the overlay";
  EXPECT_EQ(effects["day"]["channels"], 1) << "a picture the archive lacks adds no channel";
  const double time = effects["day"]["time"].get<double>();
  EXPECT_LT(time, 0.001) << "the day stands still behind the overlay but for the script's own steps";

  r = game.RunWithInput(kPlay + 40, input);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(Var(r.State, 0), 1) << "the zone's function ran on the release";
  EXPECT_FALSE(r.State["effects"]["overlay_active"]);
  EXPECT_GT(Var(r.State, 2), 20);
  const double later = r.State["effects"]["day"]["time"].get<double>();
  EXPECT_GT(later, time);
  const auto moon = Named(r.State, "moon");
  EXPECT_NEAR(moon["x"].get<double>(), 400 + 300 * std::cos((-later / 2 - 0.1) * std::numbers::pi), 0.5);
  EXPECT_NEAR(moon["y"].get<double>(), 500 + 300 * std::sin((-later / 2 - 0.1) * std::numbers::pi), 0.5);
}

}  // namespace
