// The demo game played through the real program in driver mode: the opening
// cut scene and its skip, the key from the forest that opens the cabin, the
// keys bound at the lake, and the props the player handles there. Every run
// starts the game afresh from init.qvx and must end without an error.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/game_dir.h"
#include "support/scratch_dir.h"

namespace {

using nlohmann::json;

// The longest frame the driver allows: fewer frames for the same game time.
constexpr double kDt = 0.05;

// Windows virtual-key codes.
constexpr int kEsc = 27, kSpace = 32, kRight = 39;

// Variables the demo's scripts keep.
constexpr int kKeyFound = 10, kDoorOpened = 11, kLampOut = 12, kFloatState = 14, kStonesThrown = 15;

// Scripted input, timed in seconds of game time.
class TInput {
 public:
  TInput& At(double seconds, const std::string& event) {
    text_ += std::to_string(Frame(seconds)) + " " + event + "\n";
    return *this;
  }
  // Press and release of the left button at screen (x, y); the press is
  // taken on the release, two frames later.
  TInput& Click(double seconds, int x, int y) {
    At(seconds, "move " + std::to_string(x) + " " + std::to_string(y));
    At(seconds, "down left");
    return At(seconds + 2 * kDt, "up left");
  }
  TInput& Key(double seconds, int vk, double held = 0.1) {
    At(seconds, "down " + std::to_string(vk));
    return At(seconds + held, "up " + std::to_string(vk));
  }
  // Esc during the opening: the game goes on to the lake.
  TInput& SkipOpening() { return Key(1.5, kEsc); }
  const std::string& Text() const { return text_; }

  static long Frame(double seconds) { return std::lround(seconds / kDt); }

 private:
  std::string text_;
};

// Runs the demo for `seconds` of game time with the input and reads the
// state it dumps at the end.
TRunResult Play(double seconds, const TInput& input) {
  TScratchDir dir(std::string("demo_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  return RunGame(DEMO_GAME_DIR, dir.Path, static_cast<int>(TInput::Frame(seconds)),
                 {"--dt", "0.05", "--input", dir.Write("input.txt", input.Text()).string()});
}

// A clean run: exit status 0 and a state dump.
#define EXPECT_CLEAN(run)                                  \
  do {                                                     \
    ASSERT_EQ((run).ExitCode, 0) << (run).Stderr;          \
    ASSERT_TRUE((run).State.is_object()) << (run).Stderr;  \
  } while (0)

TEST(DemoGame, OpeningRunsWithoutInputAndEscSkipsItToTheLake) {
  const TRunResult opening = Play(1.5, TInput());
  EXPECT_CLEAN(opening);
  EXPECT_EQ(opening.State["location"], "intro.qvx");
  EXPECT_FALSE(opening.State["input_enabled"].get<bool>());
  EXPECT_EQ(opening.State["skip_location"], "lake.qvx");
  EXPECT_TRUE(Named(opening.State, "title")["visible"].get<bool>());

  const TRunResult skipped = Play(4.5, TInput().SkipOpening());
  EXPECT_CLEAN(skipped);
  EXPECT_EQ(skipped.State["location"], "lake.qvx");
  EXPECT_EQ(skipped.State["previous_location"], "intro.qvx");
  EXPECT_TRUE(skipped.State["input_enabled"].get<bool>());
  EXPECT_EQ(skipped.State["menu_enabled"], 0) << "Esc stays off until the main menu draws";
  EXPECT_GE(skipped.State["hero"]["index"].get<int>(), 0);

  // Left alone, the opening ends at the lake too, with input back on.
  const TRunResult played = Play(14, TInput());
  EXPECT_CLEAN(played);
  EXPECT_EQ(played.State["location"], "lake.qvx");
  EXPECT_TRUE(played.State["input_enabled"].get<bool>());
}

TEST(DemoGame, CabinDoorOpensOnlyWithTheKeyFromTheForest) {
  // Without the key the door is locked: the hero walks up and says so.
  const TRunResult locked = Play(10, TInput().SkipOpening().Click(4, 695, 372));
  EXPECT_CLEAN(locked);
  EXPECT_EQ(locked.State["location"], "lake.qvx");
  EXPECT_EQ(Var(locked.State, kKeyFound), 0);
  EXPECT_EQ(Named(locked.State, "bubble")["picture"], "say_locked");
  EXPECT_NEAR(Named(locked.State, "hero")["x"].get<double>(), 680, 1);

  // The sign to the forest, a walk right until the key is on the screen,
  // the key, the walk back, the sign to the lake, then the door.
  TInput journey;
  journey.SkipOpening()
      .Click(4, 60, 470)
      .Click(13, 700, 500)
      .Click(20, 760, 478)
      .Click(26, 60, 520)
      .Click(34, 40, 500)
      .Click(42, 695, 372);
  const TRunResult inside = Play(56, journey);
  EXPECT_CLEAN(inside);
  EXPECT_EQ(inside.State["location"], "cabin.qvx");
  EXPECT_EQ(inside.State["previous_location"], "gate_cabin.qvx");
  EXPECT_EQ(Var(inside.State, kKeyFound), 1);
  EXPECT_EQ(Var(inside.State, kDoorOpened), 1);
}

TEST(DemoGame, SpaceTogglesTheLampAndTheRightArrowRowsTheBoat) {
  const TRunResult out = Play(7, TInput().SkipOpening().Key(4, kSpace).Key(5, kRight, 1.0));
  EXPECT_CLEAN(out);
  EXPECT_EQ(Named(out.State, "lamp")["picture"], "lamp_off");
  EXPECT_EQ(Var(out.State, kLampOut), 1);
  // 70 pixels a second for the second the arrow is held.
  EXPECT_NEAR(Named(out.State, "boat")["x"].get<double>(), 170 + 70, 10);

  const TRunResult lit = Play(7, TInput().SkipOpening().Key(4, kSpace).Key(5, kSpace));
  EXPECT_CLEAN(lit);
  EXPECT_EQ(Var(lit.State, kLampOut), 0);
  const std::string picture = Named(lit.State, "lamp")["picture"];
  EXPECT_EQ(picture.rfind("lamp_", 0), 0u) << picture;
  EXPECT_NE(picture, "lamp_off");
}

TEST(DemoGame, FloatCarriedToTheWaterStaysWhereItWasDroppedAndAPebbleSplashes) {
  TInput input;
  input.SkipOpening()
      .Click(4, 320, 405)
      .At(7, "move 450 330")
      .Click(8, 450, 330)
      .Click(10, 200, 515);
  const TRunResult run = Play(16, input);
  EXPECT_CLEAN(run);
  const json& floater = Named(run.State, "float");
  EXPECT_EQ(run.State["drag_object"], -1);
  EXPECT_EQ(Var(run.State, kFloatState), 2);
  EXPECT_NEAR(floater["x"].get<double>(), 450, 1);
  EXPECT_NEAR(floater["y"].get<double>(), 330, 1);
  EXPECT_EQ(floater["picture"].get<std::string>().rfind("float_bob_", 0), 0u) << floater["picture"];

  EXPECT_EQ(Var(run.State, kStonesThrown), 1);
  EXPECT_FALSE(Named(run.State, "stone")["visible"].get<bool>());
  EXPECT_LE(Named(run.State, "stone")["y"].get<double>(), 300) << "the pebble stops on the water";
}

}  // namespace
