// The demo game played through the real program in driver mode: the intro
// video and the opening left to end by themselves, and the journey from a
// skipped video and opening through the forest, where the key lies, to the
// cabin it opens. Every run starts the game afresh from init.qvx, takes the
// menu's new game and must end without an error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "support/game_dir.h"
#include "support/scratch_dir.h"

namespace {

// The longest frame the driver allows: fewer frames for the same game time.
constexpr double kDt = 0.05;

// Variables the demo's scripts keep.
constexpr int kKeyFound = 10, kDoorOpened = 11;

// The game opens on its menu; its new game is clicked at once and taken on
// the release at this time, from which every other time counts.
constexpr double kNewGame = 3 * kDt;

// Scripted input, timed in seconds of game time from the new game.
class TInput {
 public:
  TInput() { Raw(kDt, "move 382 127").Raw(2 * kDt, "down left").Raw(kNewGame, "up left"); }
  TInput& At(double seconds, const std::string& event) { return Raw(seconds + kNewGame, event); }
  TInput& Raw(double seconds, const std::string& event) {
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
  // Esc during the intro video ends it at the next watch tick; the opening's
  // cut scene starts then and does not see that Esc.
  TInput& SkipVideo() { return At(0.5, "down 27").At(0.6, "up 27"); }
  // Esc again, in the cut scene: the game goes on to the lake.
  TInput& SkipOpening() { return SkipVideo().At(1.5, "down 27").At(1.6, "up 27"); }
  const std::string& Text() const { return text_; }

  static long Frame(double seconds) { return std::lround(seconds / kDt); }

 private:
  std::string text_;
};

// Runs the demo for `seconds` of game time with the input and reads the
// state it dumps at the end.
TRunResult Play(double seconds, const TInput& input) {
  TScratchDir dir(std::string("demo_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  return RunGame(DEMO_GAME_DIR, dir.Path, static_cast<int>(TInput::Frame(seconds + kNewGame)),
                 {"--dt", "0.05", "--input", dir.Write("input.txt", input.Text()).string()});
}

// A clean run: exit status 0 and a state dump.
#define EXPECT_CLEAN(run)                                  \
  do {                                                     \
    ASSERT_EQ((run).ExitCode, 0) << (run).Stderr;          \
    ASSERT_TRUE((run).State.is_object()) << (run).Stderr;  \
  } while (0)

TEST(DemoGame, TheOpeningEndsAtTheLakeAndTheKeyFromTheForestOpensTheCabin) {
  // The opening location starts the seven-second intro video at once.
  const TRunResult watching = Play(3, TInput());
  EXPECT_CLEAN(watching);
  EXPECT_EQ(watching.State["location"], "intro.qvx");
  EXPECT_EQ(watching.State["video"]["playing"], true);
  EXPECT_EQ(watching.State["video"]["name"], "intro.ogv");
  EXPECT_EQ(watching.State["video"]["state"], 3);
  const TRunResult played = Play(16, TInput());
  EXPECT_CLEAN(played);
  EXPECT_EQ(played.State["location"], "lake.qvx");
  EXPECT_TRUE(played.State["input_enabled"].get<bool>());
  EXPECT_EQ(played.State["video"]["playing"], false);
  EXPECT_GE(played.State["video"]["position_ms"].get<int>(), 7000) << "the video ended before its end";

  const TRunResult skipped = Play(3, TInput().SkipVideo());
  EXPECT_CLEAN(skipped);
  EXPECT_EQ(skipped.State["video"]["playing"], false);
  EXPECT_EQ(skipped.State["video"]["position_ms"], 500) << "ended at the tick after the press";
  EXPECT_EQ(skipped.State["location"], "intro.qvx") << "the Esc that ended the video skipped the cut scene too";

  // The sign to the forest, a walk right until the key is on the screen,
  // the key, the walk back, the sign to the lake, then the door.
  TInput journey;
  journey.SkipOpening()
      .Click(4, 60, 470)
      .Click(13, 700, 500)
      .Click(20, 760, 478)
      .Click(26, 60, 520)
      .Click(34, 40, 500);
  // Then the key from the bar onto the door; its slot is where the items
  // carried just before put it.
  const TRunResult back = Play(40, journey);
  EXPECT_CLEAN(back);
  const nlohmann::json& items = back.State["inventory"]["items"];
  const auto key = std::find(items.begin(), items.end(), 2);
  ASSERT_NE(key, items.end()) << items;
  const int slotX = 94 + static_cast<int>(key - items.begin()) * 200 / 3;
  journey.At(40, "move " + std::to_string(slotX) + " 590").Click(41, slotX, 573).Click(42, 695, 372);
  const TRunResult inside = Play(56, journey);
  EXPECT_CLEAN(inside);
  EXPECT_EQ(inside.State["location"], "cabin.qvx");
  EXPECT_EQ(inside.State["previous_location"], "gate_cabin.qvx");
  EXPECT_EQ(Var(inside.State, kKeyFound), 1);
  EXPECT_EQ(Var(inside.State, kDoorOpened), 1);
  const nlohmann::json& left = inside.State["inventory"]["items"];
  EXPECT_TRUE(std::find(left.begin(), left.end(), 2) == left.end()) << "the key stays in the door";
}

}  // namespace
