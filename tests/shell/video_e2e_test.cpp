// Videos through the real game in driver mode: a clip made with the ffmpeg
// command, started by a script, watched every 100 ms and ended by its end, a
// key or a click. Skipped where the ffmpeg command is missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/stream.h"
#include "resources/image_readers.h"
#include "support/game_dir.h"
#include "support/sound_game.h"

namespace {

// The location fades in for 0.5 s; its delayed "go" then asks for the video,
// which starts at the end of frame kStart.
constexpr int kStart = 29;

struct TRgb {
  int R, G, B;
};
TRgb PixelAt(const TBitmap& b, int x, int y) {
  const uint8_t* p = &b.Pixels[(static_cast<size_t>(y) * static_cast<size_t>(b.Width) + static_cast<size_t>(x)) * 4];
  return {p[0], p[1], p[2]};
}
TBitmap ReadBitmapFile(const std::string& file) {
  TBinaryReader in{std::filesystem::path(file)};
  TBitmap b;
  ReadBmpImage(in, b);
  return b;
}

bool HaveFfmpeg() { return RunCommand("ffmpeg -version >/dev/null 2>&1", nullptr) == 0; }

// A 16:9 clip of one colour (0xRRGGBB) at 10 pictures a second, with a
// 440 Hz tone unless `silent`.
void MakeClip(const std::filesystem::path& file, double seconds, const std::string& rgb, bool silent = false) {
  std::filesystem::create_directories(file.parent_path());
  const std::string d = std::to_string(seconds);
  std::string cmd = "ffmpeg -v error -y -f lavfi -i color=c=0x" + rgb + ":s=320x180:r=10:d=" + d;
  if (!silent) cmd += " -f lavfi -i sine=frequency=440:sample_rate=22050:duration=" + d + " -c:a libvorbis";
  cmd += " -c:v libtheora -q:v 8 " + Quote(file.string());
  std::string log;
  ASSERT_EQ(RunCommand(cmd, &log), 0) << log;
}

// Counts game frames in variable 1 and asks for `name` 0.1 s after the fade.
std::string VideoLocation(const std::string& name, const std::string& start = {}) {
  return LocationSource(40, "function \"start\"\n" + start +
                                "  set_frame_function str1=\"tick\"\n"
                                "  delayed_call op1=100 op2=1 str1=\"go\"\n"
                                "end\n"
                                "function \"tick\"\n  add_to_variables op1=1 op2=1 op3=1\nend\n"
                                "function \"go\"\n  play_video str1=\"" + name + "\"\nend\n"
                                "function \"count\"\n  add_to_variables op1=2 op2=1 op3=1\nend\n");
}

std::string Frame(int frame, const std::string& event) { return std::to_string(frame) + " " + event + "\n"; }

class VideoEndToEnd : public testing::Test {
 protected:
  void SetUp() override {
    if (!HaveFfmpeg()) GTEST_SKIP() << "the ffmpeg command is not installed";
  }
};

// Music fading in from the start of the location keeps fading in during the
// video, by 0.1 s of its 2 s fade each watch tick.
const std::string kMusic =
    "  sound op1=4 str1=\"m.wav\"\n  sound op1=3 str1=\"m\"\n  sound op1=5 op2=0 str1=\"m\"\n  sound op1=6 str1=\"m\"\n";
double MusicLevel(const TRunResult& r) { return r.State["sound"]["music"]["levels"][0].get<double>(); }

TEST_F(VideoEndToEnd, TakesOverTheFramesUntilItEnds) {
  TTestGameDir game("video_plays");
  MakeClip(game.Dir() / "video" / "clip.ogv", 1.0, "C82828");
  WriteTone(game, "m.wav", 5000);
  game.WriteLocation("init.qvx", VideoLocation("clip.ogv", kMusic));
  const auto shot = (game.Dir() / "shot.bmp").string();
  const auto wav = game.Dir() / "out.wav";
  auto r = game.Run(kStart + 4, {"--screenshot", std::to_string(kStart + 3) + ":" + shot, "--audio-out", wav.string()});
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  // The clip's tone reaches the mixed output.
  const std::vector<uint8_t> sound = ReadFileBytes(wav);
  int loudest = 0;
  for (size_t i = 44; i + 1 < sound.size(); i += 2)
    loudest = std::max(loudest, std::abs(static_cast<int16_t>(sound[i] | sound[i + 1] << 8)));
  EXPECT_GT(loudest, 1000);
  const int gameFrames = Var(r.State, 1);
  EXPECT_EQ(r.State["video"], (nlohmann::json{{"playing", true}, {"name", "clip.ogv"}, {"state", 3},
                                               {"position_ms", 60}}));
  // The letterboxed clip: its colour in the middle, black bars above and below.
  const TBitmap picture = ReadBitmapFile(shot);
  EXPECT_NEAR(PixelAt(picture, 400, 300).R, 0xC8, 12);
  EXPECT_NEAR(PixelAt(picture, 400, 300).G, 0x28, 12);
  EXPECT_EQ(PixelAt(picture, 400, 40).R, 0);
  EXPECT_NEAR(PixelAt(picture, 400, 100).R, 0xC8, 12);

  r = game.Run(kStart + 2);
  EXPECT_EQ(Var(r.State, 1), gameFrames) << "a frame of the game ran during the video";
  const double level = MusicLevel(r);
  // The clip's last picture lasts until 1 s; the watch tick at 1 s ends it,
  // and the game's frame step runs again in that same turn of the loop.
  r = game.Run(kStart + 50);
  EXPECT_TRUE(r.State["video"]["playing"]);
  EXPECT_NEAR(MusicLevel(r) - level, 9 * 0.1 * 0.5, 1e-4) << "nine ticks from 20 ms to 980 ms";
  r = game.Run(kStart + 51);
  EXPECT_EQ(r.State["video"], (nlohmann::json{{"playing", false}, {"name", "clip.ogv"}, {"state", 1},
                                               {"position_ms", 1000}}));
  EXPECT_EQ(Var(r.State, 1), gameFrames + 1);
}

// Esc, a left and a right click end the video at the next tick, and the game
// never sees them, even while they are held; a later press is seen again.
TEST_F(VideoEndToEnd, AKeyOrClickEndsItAndIsSwallowed) {
  struct Case {
    std::string Key;
    int HeldFrames;
  };
  for (const Case& c : {Case{"27", 12}, Case{"left", 12}, Case{"right", 1}}) {
    SCOPED_TRACE(c.Key + " held " + std::to_string(c.HeldFrames) + " frames");
    TTestGameDir game("video_keys");
    MakeClip(game.Dir() / "video" / "clip.ogv", 2.0, "2828C8", true);
    const bool esc = c.Key == "27";
    // Esc skips the cut scene; the buttons run "count".
    game.WriteLocation("init.qvx", VideoLocation("clip.ogv", esc ? "  enable_input op1=0\n  set_skip_location str1=\"after.qvx\"\n"
                                                                 : "  bind_key_press op1=6 op2=7 str1=\"count\" str2=\"count\"\n"));
    game.WriteLocation("after.qvx", LocationSource(40, "function \"start\"\nend\n"));
    const std::string input = Frame(kStart + 7, "down " + c.Key) + Frame(kStart + 7 + c.HeldFrames, "up " + c.Key) +
                              Frame(kStart + 40, "down " + c.Key) + Frame(kStart + 41, "up " + c.Key);
    auto r = game.RunWithInput(kStart + 39, input);
    ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
    EXPECT_EQ(r.State["video"]["position_ms"], 200) << "ended at the tick after the press";
    EXPECT_EQ(r.State["location"], "init.qvx");
    EXPECT_EQ(Var(r.State, 2), 0);
    r = game.RunWithInput(kStart + 44, input);
    EXPECT_EQ(esc ? r.State["location"] == "after.qvx" : Var(r.State, 2) == 1, true) << "the next press was lost";
  }
}

// A missing file and one that is no video end at the first tick with a
// warning naming them; an empty name asks for nothing.
TEST_F(VideoEndToEnd, BadFilesEndAtTheFirstTick) {
  struct Case {
    std::string Name, Contents;
  };
  for (const Case& c : {Case{"none.ogv", ""}, Case{"junk.avi", "RIFF not a video at all"}, Case{"", ""}}) {
    SCOPED_TRACE(c.Name);
    TTestGameDir game("video_bad");
    if (!c.Contents.empty()) game.WriteFile("video/" + c.Name, c.Contents);
    game.WriteLocation("init.qvx", VideoLocation(c.Name));
    auto r = game.Run(kStart + 5);
    ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
    EXPECT_EQ(r.State["video"]["playing"], !c.Name.empty());
    EXPECT_EQ(r.Stderr.find("video\\" + c.Name) != std::string::npos, !c.Name.empty()) << r.Stderr;
    r = game.Run(kStart + 6);
    EXPECT_FALSE(r.State["video"]["playing"]);
    EXPECT_EQ(r.State["video"]["state"], 0);
  }
}

}  // namespace
