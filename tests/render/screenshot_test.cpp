#include "render/screenshot.h"

#include <gtest/gtest.h>

#include "platform/game_error.h"
#include "platform/stream.h"
#include "support/scratch_dir.h"

TEST(ScreenshotName, FirstFreeName) {
  TScratchDir dir("shot_names");
  EXPECT_EQ(NextScreenshotName(dir.Path), dir / "screen_0000.bmp");
  for (const char* name : {"screen_0000.bmp", "screen_0001.bmp", "screen_0003.bmp"}) dir.Write(name, "x");
  EXPECT_EQ(NextScreenshotName(dir.Path), dir / "screen_0002.bmp") << "gaps are filled first";
  std::filesystem::create_symlink(dir / "nowhere", dir / "screen_0002.bmp");
  EXPECT_EQ(NextScreenshotName(dir.Path), dir / "screen_0004.bmp") << "a dangling link is taken";
  std::filesystem::create_directory(dir / "screen_0004.bmp");
  EXPECT_EQ(NextScreenshotName(dir.Path), dir / "screen_0005.bmp");
}

TEST(ScreenshotFile, Writes32BitBottomUpBgra) {
  TScratchDir dir("shot_bmp");
  TBitmap pic;
  pic.Width = 3;
  pic.Height = 2;
  // Top row: red, green, blue; bottom row: white, black, half-grey with alpha 7.
  pic.Pixels = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255,
                255, 255, 255, 255, 0, 0, 0, 255, 128, 128, 128, 7};
  SaveBitmap32(dir / "shot.bmp", pic);
  // File size, pixel offset, info header size, 3 by 2 (positive height: the
  // bottom row first), one plane of 32 bits, uncompressed, 24 pixel bytes.
  TBinaryWriter header;
  header.WriteBytes("BM", 2);
  for (uint32_t v : {78u, 0u, 54u, 40u, 3u, 2u}) header.WriteUInt32(v);
  header.WriteUInt16(1), header.WriteUInt16(32), header.WriteUInt32(0), header.WriteUInt32(24);
  const std::vector<uint8_t> bytes = ReadFileBytes(dir / "shot.bmp");
  ASSERT_EQ(bytes.size(), 14u + 40u + 24u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 38), header.Bytes());
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 54, bytes.end()),
            (std::vector<uint8_t>{255, 255, 255, 255, 0, 0, 0, 255, 128, 128, 128, 7,  //
                                  0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255}));
}

TEST(ScreenshotFile, AFolderThatIsNotThereIsAnError) {
  TScratchDir dir("shot_bad");
  TBitmap pic;
  pic.Width = pic.Height = 4;
  pic.Pixels.resize(4 * 4 * 4);
  EXPECT_THROW(SaveBitmap32(dir.Path / "no_such_dir" / "c.bmp", pic), EGameError);
}
