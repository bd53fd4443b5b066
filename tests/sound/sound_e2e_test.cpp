// Sounds and spoken lines through the real game in driver mode, heard in the
// mixed output it writes and seen in its state dump.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "support/game_dir.h"
#include "support/sound_game.h"

namespace {

constexpr int kRate = 44100;
constexpr int kPlay = 30;  // the start location has faded in
constexpr int kFrameSamples = kRate / 50;  // at the driver's 0.02 s frames

std::string Click(int frame, int x, int y, const std::string& button = "left") {
  const std::string at = std::to_string(frame) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n";
  return at + std::to_string(frame) + " down " + button + "\n" + std::to_string(frame + 1) + " up " + button + "\n";
}

// A location whose region around (400, 300) runs `hit`, after `start` in
// function 0 has loaded the sound set "t.set".
std::string Location(const std::string& start, const std::string& hit, const std::string& extra = {}) {
  return LocationSource(40, extra + "region x=400 y=300 width=200 height=200 function=1 cursor=2\n"
                                    "function \"start\"\n  load_sound_set str1=\"t.set\"\n" +
                                start + "end\nfunction \"hit\"\n" + hit + "end\n");
}

// The stereo frames of a 16-bit WAV file the game wrote.
std::vector<int16_t> ReadWav(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t data = bytes.find("data");
  std::vector<int16_t> samples;
  if (data == std::string::npos) return samples;
  samples.resize((bytes.size() - data - 8) / 2);
  std::memcpy(samples.data(), bytes.data() + data + 8, samples.size() * 2);
  return samples;
}

// The loudest left and right sample over stereo frames [from, to).
std::pair<int, int> Peak(const std::vector<int16_t>& s, size_t from, size_t to) {
  int left = 0, right = 0;
  for (size_t f = from; f < to && 2 * f + 1 < s.size(); ++f) {
    left = std::max(left, std::abs(int(s[2 * f])));
    right = std::max(right, std::abs(int(s[2 * f + 1])));
  }
  return {left, right};
}

}  // namespace

TEST(SoundEndToEnd, AScriptSoundIsHeardFromItsFrameLouderOnThePanSide) {
  TTestGameDir game("sound_pan");
  WriteTone(game, "water.wav", 2000);
  WriteSoundSet(game, "t.set", "sample name=\"water\" file=\"water.wav\" loop=1 comment=0\n");
  // The hero stands right of the water, inside its radius of 400.
  game.WriteLocation("init.qvx", Location("  set_hero str1=\"hero\"\n", "  sound op1=1 op2=100 op3=300 op4=400 str1=\"water\"\n",
                                          "cell 15 15 2\nobject layer=1 name=\"hero\" x=0 y=0 width=20 height=40 picture=\"\"\n"));
  const auto out = game.Dir() / "out.wav";
  const TRunResult r = game.RunWithInput(kPlay + 20, Click(kPlay, 400, 300), {"--audio-out", out.string()});
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  const nlohmann::json& slot = r.State["sound"]["slots"][0];
  EXPECT_EQ(slot["status"], 1);
  EXPECT_TRUE(slot["positional"]);
  const nlohmann::json& hero = r.State["objects"][r.State["hero"]["index"].get<int>()];
  const double d = std::hypot(hero["x"].get<double>() - 100, hero["y"].get<double>() - 300);
  const int volume = int(std::nearbyint(100 - std::nearbyint(d / 4)));
  const int pan = int(std::nearbyint(50 - (hero["x"].get<double>() - 100) / 40));
  ASSERT_GT(volume, 0);
  EXPECT_EQ(slot["volume"], volume);
  EXPECT_EQ(slot["pan"], pan);

  const std::vector<int16_t> s = ReadWav(out);
  const size_t start = size_t(kPlay + 1) * kFrameSamples;  // the frame the click is released in
  ASSERT_GE(s.size(), 2 * (start + 10 * kFrameSamples));
  EXPECT_EQ(Peak(s, 0, start), std::make_pair(0, 0)) << "silent before the click's frame";
  const auto [left, right] = Peak(s, start, start + kFrameSamples);
  EXPECT_NEAR(left, 8000 * volume / 100, 2) << "heard from the click's frame, full on the left";
  EXPECT_NEAR(right, 8000 * volume / 100 * pan / 50, 2);
}

TEST(SoundEndToEnd, ASpokenLineShowsItsSubtitleForItsLengthAndARightClickSilencesIt) {
  TTestGameDir game("sound_line");
  WriteTone(game, "line.wav", 400);
  WriteSoundSet(game, "t.set", "sample name=\"line\" file=\"line.wav\" loop=0 comment=5\n");
  WriteCommentTable(game, {{5, "Hello there"}});
  game.WriteLocation("init.qvx", Location("", "  sound op1=0 op5=1 str1=\"line\"\n"));
  // The line starts in frame 31 and lasts 20 frames.
  for (const auto& [frames, text] : {std::pair{kPlay + 10, "Hello there"}, std::pair{kPlay + 25, ""}}) {
    const TRunResult r = game.RunWithInput(frames, Click(kPlay, 400, 300));
    ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
    EXPECT_EQ(r.State["sound"]["subtitle"], text) << frames;
    EXPECT_EQ(r.State["sound"]["subtitle_shown"], *text != 0) << frames;
  }
  const auto out = game.Dir() / "out.wav";
  // After the left click's 0.2 s delay, a right click skips the line.
  const TRunResult r = game.RunWithInput(kPlay + 25, Click(kPlay, 400, 300) + Click(kPlay + 12, 400, 300, "right"),
                                         {"--audio-out", out.string()});
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(r.State["sound"]["subtitle"], "");
  const std::vector<int16_t> s = ReadWav(out);
  const size_t skipped = size_t(kPlay + 13) * kFrameSamples;
  EXPECT_GT(Peak(s, skipped - kFrameSamples, skipped).first, 0) << "heard until the right click";
  EXPECT_EQ(Peak(s, skipped, skipped + 10 * kFrameSamples), std::make_pair(0, 0))
      << "silent after it, though the line had 160 ms to go";
}
