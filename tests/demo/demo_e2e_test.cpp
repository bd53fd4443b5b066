// The demo game's opening played through the real program in driver mode:
// the intro video and the cut scene left to end by themselves, and the video
// ended by Esc. Every run starts the game afresh from init.qvx, takes the
// menu's new game and must end without an error. The walkthrough test plays
// the rest of the game.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/game_dir.h"
#include "support/scratch_dir.h"

namespace {

// The longest frame the driver allows: fewer frames for the same game time.
constexpr double kDt = 0.05;

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
  // Esc during the intro video ends it at the next watch tick; the opening's
  // cut scene starts then and does not see that Esc.
  TInput& SkipVideo() { return At(0.5, "down 27").At(0.6, "up 27"); }
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

TEST(DemoGame, TheOpeningEndsAtTheLakeByItselfAndEscEndsOnlyTheVideo) {
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
}

}  // namespace
