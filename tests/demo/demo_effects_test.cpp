// The demo's location effects through the real program in driver mode, each
// started straight in its place: the story told at the lake's boat, which
// ends in the forest; the box in the cabin, whose lock opens with the number
// the story shows and gives the tin of bait; and the night over the lake.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "support/game_dir.h"
#include "support/screenshot_pixel.h"
#include "support/scratch_dir.h"

namespace {

constexpr int kBait = 9;
// Variables of the demo's scripts: the story told, the dials and the box open.
constexpr int kStoryTold = 40, kFirstDial = 45, kBoxOpen = 48;

// Scripted input by frame of 0.05 s.
struct TInput {
  std::string Text;
  TInput& Event(int frame, const std::string& event) {
    Text += std::to_string(frame) + " " + event + "\n";
    return *this;
  }
  TInput& Click(int frame, int x, int y) {
    return Event(frame, "move " + std::to_string(x) + " " + std::to_string(y))
        .Event(frame + 1, "down left")
        .Event(frame + 3, "up left");
  }
};

struct TPlayed {
  TScratchDir Dir{std::string("demo_fx_") + ::testing::UnitTest::GetInstance()->current_test_info()->name()};
  TRunResult Run;
};

// Enters the location through its gate (which loads its pictures) and plays.
void Play(TPlayed& p, const std::string& gate, int frames, const TInput& input,
          std::vector<std::string> extra = {}) {
  extra.insert(extra.end(), {"--dt", "0.05", "--location", gate, "--input",
                             p.Dir.Write("input.txt", input.Text).string()});
  p.Run = RunGame(DEMO_GAME_DIR, p.Dir.Path, frames, extra);
  ASSERT_EQ(p.Run.ExitCode, 0) << p.Run.Stderr;
  ASSERT_TRUE(p.Run.State.is_object()) << p.Run.Stderr;
}

TEST(DemoEffects, TheBoatTellsHowTheHeroCameWhileTheGameWaits) {
  const TInput boat = TInput().Click(30, 170, 330);
  TPlayed mid;
  Play(mid, "gate_lake.qvx", 240, boat);
  const auto& effects = mid.Run.State["effects"];
  EXPECT_EQ(effects["sketch"]["count"], 6);
  EXPECT_GE(effects["sketch"]["current"].get<int>(), 1);
  EXPECT_EQ(effects["sketch"]["next_location"], "gate_forest.qvx");
  EXPECT_TRUE(effects["panels"][1]["visible"]);
  EXPECT_TRUE(effects["overlay_active"]) << "the game waits while the story plays";
  EXPECT_EQ(Var(mid.Run.State, kStoryTold), 1);
}

TEST(DemoEffects, TheBoxInTheCabinOpensWithTheNumberOnTheBoatAndGivesTheBait) {
  const struct {
    int Turns[3];
    bool Opens;
  } cases[] = {{{3, 1, 4}, true}, {{3, 1, 3}, false}};
  for (const auto& c : cases) {
    // The box, once the hero has come in; then each dial in turn, and the
    // cross that closes the close-up.
    TInput input = TInput().Click(200, 610, 468);
    int frame = 320;
    for (int dial = 0; dial < 3; ++dial)
      for (int turn = 0; turn < c.Turns[dial]; ++turn, frame += 8) input.Click(frame, 330 + 70 * dial, 378);
    input.Click(frame + 20, 590, 172);
    TPlayed p;
    Play(p, "gate_cabin.qvx", frame + 60, input);
    const nlohmann::json& state = p.Run.State;
    for (int dial = 0; dial < 3; ++dial) EXPECT_EQ(Var(state, kFirstDial + dial), c.Turns[dial]);
    EXPECT_EQ(Var(state, kBoxOpen), c.Opens ? 1 : 0);
    const nlohmann::json& items = state["inventory"]["items"];
    EXPECT_EQ(std::find(items.begin(), items.end(), kBait) != items.end(), c.Opens) << items;
    ASSERT_EQ(state["effects"]["addlocs"].size(), 3u) << "the box and its other two dials";
    EXPECT_EQ(state["effects"]["addlocs"][0]["sprites"], 13);
    EXPECT_FALSE(state["effects"]["overlay_active"]) << "the cross closed it";
    EXPECT_EQ(state["location"], "cabin.qvx");
  }
}

int Brightness(uint32_t rgb) { return static_cast<int>((rgb >> 16) + (rgb >> 8 & 0xFF) + (rgb & 0xFF)) / 3; }

TEST(DemoEffects, F5BringsTheNightAndTheMoonRidesItsArc) {
  // F5 held runs the day on by a quarter of each frame's time.
  TPlayed p;
  const auto dusk = p.Dir / "dusk.bmp", night = p.Dir / "night.bmp";
  Play(p, "gate_lake.qvx", 150, TInput().Event(30, "down 116").Event(90, "up 116"),
       {"--screenshot", "25:" + dusk.string(), "--screenshot", "149:" + night.string()});
  const nlohmann::json& day = p.Run.State["effects"]["day"];
  EXPECT_EQ(day["channels"], 6);
  const double time = day["time"].get<double>();
  EXPECT_GT(time, 0.52);
  EXPECT_EQ(day["speed_factor"], 0) << "the night is kept";
  const auto moon = Named(p.Run.State, "moon");
  const int mx = static_cast<int>(std::lround(moon["x"].get<double>()));
  const int my = static_cast<int>(std::lround(moon["y"].get<double>()));
  EXPECT_NEAR(mx, 340 + 400 * std::cos((-time / 2 - 0.1) * std::numbers::pi), 1);
  EXPECT_GT(Brightness(ScreenshotPixel(night, mx, my)), 200) << "the moon shines where its arc puts it";
  // The sky over the far hills, clear of stars and moon.
  EXPECT_LT(Brightness(ScreenshotPixel(night, 250, 190)) * 2, Brightness(ScreenshotPixel(dusk, 250, 190))) << "and the sky has darkened";
}

}  // namespace
