// The video decoder on clips made with the ffmpeg command (skipped where it
// is missing) and on bytes that are no video.
#include "platform/video_decoder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace {

TEST(VideoPicture, FitsInto800x600WithItsAspect) {
  struct Case {
    int32_t Width, Height;
    double PixelAspect;
    int32_t ShownWidth, ShownHeight;
  };
  for (const Case& c : {Case{640, 480, 1, 800, 600}, Case{1280, 720, 1, 800, 450}, Case{100, 1000, 1, 60, 600},
                        Case{720, 576, 64.0 / 45, 800, 450}, Case{320, 240, 0, 800, 600}, Case{1, 1, 1, 600, 600},
                        Case{10000, 1, 1, 800, 2}}) {
    int32_t w = 0, h = 0;
    FitVideoPicture(c.Width, c.Height, c.PixelAspect, 800, 600, w, h);
    EXPECT_EQ(std::tuple(w, h), std::tuple(c.ShownWidth, c.ShownHeight)) << c.Width << "x" << c.Height;
  }
}

class VideoDecoderTest : public testing::Test {
 protected:
  void SetUp() override {
    if (std::system("ffmpeg -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "the ffmpeg command is not installed";
    dir_ = std::filesystem::temp_directory_path() / ("video_decoder_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path Clip(const std::string& name, const std::string& args) {
    const auto file = dir_ / name;
    const std::string cmd = "ffmpeg -v error -y " + args + " '" + file.string() + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return file;
  }

  std::filesystem::path dir_;
};

// Every picture comes at its time and in its colour; the sound lasts as long
// as the clip at 44100 frames a second.
TEST_F(VideoDecoderTest, DecodesPicturesAtTheirTimesAndTheSound) {
  // MPEG-1 stores every picture of a still clip, and its streams do not start at 0.
  const auto file = Clip("clip.mpg",
                         "-f lavfi -i color=c=0x20C040:s=160x120:r=25:d=0.4 "
                         "-f lavfi -i sine=frequency=440:sample_rate=22050:duration=0.4 -c:v mpeg1video -c:a mp2");
  TVideoDecoder d;
  std::string error;
  ASSERT_TRUE(d.Open(file, error)) << error;
  EXPECT_EQ(std::tuple(d.PictureWidth(), d.PictureHeight(), d.HasSound()), std::tuple(800, 600, true));
  EXPECT_NEAR(d.FrameDurationMs(), 40, 0.01);
  std::vector<long> times;
  std::vector<uint8_t> rgba;
  size_t sound = 0;
  while (d.ReadPacket() || d.QueuedPictures() > 0) {
    while (d.QueuedPictures() > 0) {
      times.push_back(std::lround(d.PictureTimeMs(0)));
      d.TakePicture(rgba);
    }
    sound += d.Sound().size() / 2;
    d.Sound().clear();
  }
  EXPECT_TRUE(d.Error().empty());
  EXPECT_EQ(times, (std::vector<long>{0, 40, 80, 120, 160, 200, 240, 280, 320, 360}));
  ASSERT_EQ(rgba.size(), 800u * 600 * 4);
  const uint8_t* middle = &rgba[(300 * 800 + 400) * 4];
  EXPECT_NEAR(middle[0], 0x20, 10);
  EXPECT_NEAR(middle[1], 0xC0, 10);
  EXPECT_NEAR(middle[2], 0x40, 10);
  EXPECT_EQ(middle[3], 255);
  EXPECT_NEAR(static_cast<double>(sound), 0.4 * 44100, 2048);
}

// Nothing that is not a playable video opens; a clip cut short plays what
// it holds and ends.
TEST_F(VideoDecoderTest, RefusesWhatIsNoVideoAndEndsACutClip) {
  const auto sound = Clip("tone.ogg", "-f lavfi -i sine=duration=0.5 -c:a libvorbis");
  const auto clip = Clip("long.mpg", "-f lavfi -i testsrc=s=160x120:r=25:d=2 -c:v mpeg1video");
  std::ifstream in(clip, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string error;
  for (const auto& missing : {dir_ / "none.ogv", dir_, sound}) {
    TVideoDecoder d;
    EXPECT_FALSE(d.Open(missing, error)) << missing;
  }
  const std::vector<uint8_t> junk(5000, 0x5A);
  for (const std::vector<uint8_t>& b : {std::vector<uint8_t>{}, junk}) {
    TVideoDecoder d;
    EXPECT_FALSE(d.OpenMemory(b, error));
    EXPECT_FALSE(d.ReadPacket());
  }
  TVideoDecoder d;
  ASSERT_TRUE(d.OpenMemory(std::span(bytes).first(bytes.size() / 2), error)) << error;
  int pictures = 0;
  for (int i = 0; i < 1000 && !d.Finished(); ++i) {
    d.ReadPacket();
    for (; d.QueuedPictures() > 0; ++pictures) d.DropPicture();
  }
  EXPECT_TRUE(d.Finished());
  EXPECT_GT(pictures, 10);
  EXPECT_LT(pictures, 40);
}

}  // namespace
