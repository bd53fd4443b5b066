#include "render/screenshot.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "platform/game_error.h"
#include "platform/stream.h"

namespace {
struct TempDir {
  std::filesystem::path Path;
  explicit TempDir(const std::string& tag)
      : Path(std::filesystem::temp_directory_path() / ("qvx_shot_" + tag + std::to_string(::getpid()))) {
    std::filesystem::remove_all(Path);
    std::filesystem::create_directories(Path);
  }
  ~TempDir() { std::filesystem::remove_all(Path); }
  void Touch(const std::string& name) const { std::ofstream(Path / name) << "x"; }
};
}  // namespace

TEST(ScreenshotName, FirstFreeName) {
  TempDir dir("names");
  EXPECT_EQ(NextScreenshotName(dir.Path), dir.Path / "screen_0000.bmp");
  dir.Touch("screen_0000.bmp");
  dir.Touch("screen_0001.bmp");
  dir.Touch("screen_0003.bmp");
  EXPECT_EQ(NextScreenshotName(dir.Path), dir.Path / "screen_0002.bmp") << "gaps are filled first";
  std::filesystem::create_symlink(dir.Path / "nowhere", dir.Path / "screen_0002.bmp");
  EXPECT_EQ(NextScreenshotName(dir.Path), dir.Path / "screen_0004.bmp") << "a dangling link is taken";
  std::filesystem::create_directory(dir.Path / "screen_0004.bmp");
  EXPECT_EQ(NextScreenshotName(dir.Path), dir.Path / "screen_0005.bmp");
}

TEST(ScreenshotName, NothingWhenAllNamesExist) {
  TempDir dir("full");
  char name[32];
  for (int n = 0; n <= 9999; ++n) {
    std::snprintf(name, sizeof name, "screen_%04d.bmp", n);
    std::ofstream(dir.Path / name);
  }
  EXPECT_FALSE(NextScreenshotName(dir.Path).has_value());
  std::filesystem::remove(dir.Path / "screen_9999.bmp");
  EXPECT_EQ(NextScreenshotName(dir.Path), dir.Path / "screen_9999.bmp");
}

TEST(ScreenshotFile, Writes32BitBottomUpBgra) {
  TempDir dir("bmp");
  TBitmap pic;
  pic.Width = 3;
  pic.Height = 2;
  // Top row: red, green, blue; bottom row: white, black, half-grey with alpha 7.
  pic.Pixels = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255,
                255, 255, 255, 255, 0, 0, 0, 255, 128, 128, 128, 7};
  const auto file = dir.Path / "shot.bmp";
  SaveBitmap32(file, pic);

  const std::vector<uint8_t> bytes = ReadFileBytes(file);
  ASSERT_EQ(bytes.size(), 14u + 40u + 24u);
  TBinaryReader r(bytes);
  std::string magic;
  uint32_t fileSize = 0, reserved = 1, offset = 0, infoSize = 0, compression = 1, imageSize = 0;
  int32_t w = 0, h = 0;
  uint16_t planes = 0, bits = 0;
  r.ReadBytes(magic.assign(2, ' ').data(), 2);
  r.ReadUInt32(fileSize);
  r.ReadUInt32(reserved);
  r.ReadUInt32(offset);
  r.ReadUInt32(infoSize);
  r.ReadInt32(w);
  r.ReadInt32(h);
  r.ReadUInt16(planes);
  r.ReadUInt16(bits);
  r.ReadUInt32(compression);
  r.ReadUInt32(imageSize);
  EXPECT_EQ(magic, "BM");
  EXPECT_EQ(fileSize, bytes.size());
  EXPECT_EQ(reserved, 0u);
  EXPECT_EQ(offset, 54u);
  EXPECT_EQ(infoSize, 40u);
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2) << "positive height: bottom row first";
  EXPECT_EQ(planes, 1);
  EXPECT_EQ(bits, 32);
  EXPECT_EQ(compression, 0u);
  EXPECT_EQ(imageSize, 24u);
  const std::vector<uint8_t> pixels(bytes.begin() + 54, bytes.end());
  EXPECT_EQ(pixels, (std::vector<uint8_t>{255, 255, 255, 255, 0, 0, 0, 255, 128, 128, 128, 7,  //
                                          0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255}));
}

TEST(ScreenshotFile, RefusesInconsistentPicturesAndBadPaths) {
  TempDir dir("bad");
  TBitmap pic;
  pic.Width = 4;
  pic.Height = 4;
  pic.Pixels.resize(4 * 4 * 4 - 1);
  EXPECT_THROW(SaveBitmap32(dir.Path / "a.bmp", pic), EGameError);
  EXPECT_FALSE(std::filesystem::exists(dir.Path / "a.bmp"));
  TBitmap empty;
  EXPECT_THROW(SaveBitmap32(dir.Path / "b.bmp", empty), EGameError);
  pic.Pixels.resize(4 * 4 * 4);
  EXPECT_THROW(SaveBitmap32(dir.Path / "no_such_dir" / "c.bmp", pic), EGameError);
}
