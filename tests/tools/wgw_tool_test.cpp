// Runs the wgw sub-command on archives written in the test.
#include <gtest/gtest.h>

#include "../../tools/qvxtool/commands.h"
#include "../../tools/qvxtool/wgw_png.h"
#include "platform/stream.h"
#include "render/materials.h"
#include "resources/archive_writer.h"
#include "resources/matlib.h"
#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

TBitmap Pattern(int32_t w, int32_t h, int32_t bits, uint8_t alpha) {
  TBitmap p;
  p.Width = w, p.Height = h, p.Bits = bits;
  for (int32_t i = 0; i < w * h; ++i)
    p.Pixels.insert(p.Pixels.end(), {static_cast<uint8_t>(i % 3 ? 255 : 0), static_cast<uint8_t>(i * 5),
                                     static_cast<uint8_t>(i / 4), alpha});
  return p;
}

TqvxMatLib ReadArchive(const fs::path& file) {
  std::vector<uint8_t> bytes = ReadFileBytes(file);
  TBinaryReader in(bytes);
  TqvxMatLib lib;
  MatLibRead(lib, in);
  return lib;
}

class WgwTool : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  TScratchDir dir_{"wgw_tool"};
};

}  // namespace

TEST_F(WgwTool, UnpackThenPackKeepsRecordsAndPixels) {
  TArchiveSource src;
  src.Title = "\xEA\xEE\xEC\xED\xE0\xF2\xE0";  // cp1251 text
  TArchiveImage a;
  a.Record.Name = "\xE4\xE2\xE5\xF0\xFC";
  a.Record.NextName = "next", a.Record.Texture2Name = "t2", a.Record.FrameTime = 80;
  a.Record.ScaleX = 1500, a.Record.OffsetY = -3, a.Record.ColorA = 700;
  a.Record.ModeCode = 3, a.Record.AlphaCode = 6, a.Record.BlendCode = 2, a.Record.NearestMag = 1;
  a.Picture = Pattern(6, 5, 8, 255);
  src.Bitmaps.push_back(a);
  a.Record.Name = "opaque", a.Picture = Pattern(3, 2, 24, 255);
  src.Bitmaps.push_back(a);
  a.Record.Name = "glass", a.Picture = Pattern(9, 4, 32, 90);
  src.Targas.push_back(a);
  WriteFileBytes(Path("a.wgw"), WriteArchive(src));

  ASSERT_EQ(WgwCommand({"unpack", Path("a.wgw"), Path("out")}), 0);
  ASSERT_EQ(WgwCommand({"pack", Path("out/manifest.json"), Path("b.wgw")}), 0);
  TqvxMatLib first = ReadArchive(Path("a.wgw")), second = ReadArchive(Path("b.wgw"));
  ASSERT_EQ(second.BitmapCount, 2);
  ASSERT_EQ(second.TargaCount, 1);
  EXPECT_EQ(second.Title, first.Title);
  auto fields = [](const TImageEntry& e) {
    return std::tuple(e.Name, e.NextName, e.Texture2Name, e.FrameTime, e.ScaleX, e.OffsetY, e.ColorA, e.AlphaCode,
                      e.NearestMag);
  };
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(fields(*MatLibEntry(second, i)), fields(*MatLibEntry(first, i))) << i;
  EXPECT_EQ(second.BitmapImages[0].Bits, 8);
  for (auto images : {&TqvxMatLib::BitmapImages, &TqvxMatLib::TargaImages})
    for (size_t i = 0; i < (first.*images).size(); ++i)
      EXPECT_EQ((second.*images)[i].Pixels, (first.*images)[i].Pixels);

  // The texture of the transparent TGA keeps its alpha made by mode 6 (key colour).
  ASSERT_EQ(WgwCommand({"texture", Path("a.wgw"), "glass", Path("t.png")}), 0);
  TBitmap tex = ReadPngFile(Path("t.png"));
  EXPECT_EQ(tex.Width, 12) << "9 is stretched to the next multiple of 4";
  EXPECT_EQ(tex.Bits, 32);
}

TEST_F(WgwTool, FailuresAreMessagesNotCrashes) {
  WriteFileBytes(Path("junk.wgw"), std::vector<uint8_t>{1, 2, 3});
  EXPECT_EQ(WgwCommand({"list", Path("junk.wgw"), "--json"}), 1) << "not an archive";
  EXPECT_EQ(WgwCommand({"list", Path("missing.wgw")}), 1);
  EXPECT_EQ(WgwCommand({"texture", Path("junk.wgw"), "x", Path("t.png")}), 1);
  EXPECT_EQ(WgwCommand({"frobnicate"}), 1);
  auto pack = [&](const char* manifest) {
    std::ofstream(Path("m.json")) << manifest;
    return WgwCommand({"pack", Path("m.json"), Path("o.wgw")});
  };
  EXPECT_EQ(pack("{"), 1);
  EXPECT_EQ(pack(R"({"images":[{"file":null}]})"), 1) << "missing name";
  EXPECT_EQ(pack(R"({"images":[{"name":"x","file":"nope.png"}]})"), 1);
  EXPECT_EQ(pack(R"({"images":[{"name":"0123456789012345678901234567890","file":null}]})"), 1);
  EXPECT_EQ(pack(R"({"images":[{"name":"x","file":null,"mode":70000}]})"), 1);
  EXPECT_EQ(pack(R"({"images":[{"name":"x","file":null,"bits":12}]})"), 1);
  EXPECT_EQ(pack(R"({"images":[{"name":"\u4e2d","file":null}]})"), 1) << "not in cp1251";
  EXPECT_EQ(pack(R"({"images":[{"name":"empty","file":null,"section":"tga"}]})"), 0);
  EXPECT_EQ(ReadArchive(Path("o.wgw")).TargaCount, 1);
}
