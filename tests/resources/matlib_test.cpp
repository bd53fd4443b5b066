#include "resources/matlib.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "platform/game_error.h"
#include "platform/stream.h"
#include "render/material_links.h"
#include "render/materials.h"
#include "resources/archive_writer.h"
#include "support/scratch_dir.h"

namespace {

using Bytes = std::vector<uint8_t>;

TBitmap Solid(int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b, int32_t bits = 24) {
  TBitmap p;
  p.Width = w, p.Height = h, p.Bits = bits;
  for (int32_t i = 0; i < w * h; ++i) p.Pixels.insert(p.Pixels.end(), {r, g, b, 255});
  return p;
}

TArchiveImage Image(const std::string& name, TBitmap picture) {
  TArchiveImage img;
  img.Record.Name = name;
  img.Record.ScaleX = img.Record.ScaleY = 1000;
  img.Record.ColorR = img.Record.ColorG = img.Record.ColorB = img.Record.ColorA = 1000;
  img.Record.ModeCode = 2, img.Record.AlphaCode = 1, img.Record.BlendCode = 1;
  img.Picture = std::move(picture);
  return img;
}

void Read(TqvxMatLib& lib, const Bytes& bytes) {
  TBinaryReader r(bytes, "test.wgw");
  MatLibRead(lib, r);
}

// Two bitmap entries and one targa entry with distinct records.
TArchiveSource ThreeImages() {
  TArchiveSource src;
  src.Title = "three";
  src.Bitmaps.push_back(Image("floor", Solid(4, 2, 10, 20, 30)));
  src.Bitmaps.back().Record.NearestMin = 1;
  src.Bitmaps.push_back(Image("door", Solid(3, 3, 200, 0, 0, 8)));
  src.Bitmaps.back().Record.NextName = "door_open";
  src.Bitmaps.back().Record.FrameTime = 120;
  src.Targas.push_back(Image("glow", Solid(2, 2, 0, 0, 255, 32)));
  src.Targas.back().Record.NearestMag = 7;
  src.Targas.back().Record.BlendCode = 2;
  src.Targas.back().Record.Texture2Name = "floor";
  return src;
}

}  // namespace

TEST(MatLibRead, SectionsAndOptionalTails) {
  TqvxMatLib lib;
  Read(lib, WriteArchive(ThreeImages()));
  ASSERT_EQ(lib.BitmapCount, 2);
  ASSERT_EQ(lib.TargaCount, 1);
  const TImageEntry &door = lib.BitmapEntries[1], &glow = lib.TargaEntries[0];
  EXPECT_EQ(std::tuple(lib.Title, door.NextName, door.FrameTime, glow.Texture2Name),
            std::tuple("three", "door_open", 120, "floor"));
  EXPECT_EQ(std::tuple(lib.BitmapEntries[0].NearestMin, glow.NearestMag), std::tuple(1, 7)) << "the filter section";
  EXPECT_EQ(lib.BitmapImages[1].Bits, 8);
  EXPECT_EQ(lib.BitmapImages[1].Pixels, Solid(3, 3, 200, 0, 0).Pixels);
  EXPECT_EQ(MatLibFindImage(lib, "glow"), 2);
  EXPECT_EQ(MatLibFindImage(lib, "Glow"), -1) << "names are case-sensitive";

  // Ends right after the bitmaps: no targas, no filter bytes.
  TArchiveSource bare = ThreeImages();
  bare.Targas.clear();
  bare.WriteTargaSection = bare.WriteFilterSection = false;
  TqvxMatLib noTail;
  Read(noTail, WriteArchive(bare));
  EXPECT_EQ(std::tuple(noTail.BitmapCount, noTail.TargaCount, noTail.BitmapEntries[0].NearestMin),
            std::tuple(2, 0, 0));

  // No bitmaps, targas still read; no filter section leaves the bytes 0.
  TArchiveSource onlyTga = ThreeImages();
  onlyTga.Bitmaps.clear();
  onlyTga.WriteFilterSection = false;
  TqvxMatLib tga;
  Read(tga, WriteArchive(onlyTga));
  EXPECT_EQ(tga.BitmapCount, 0);
  ASSERT_EQ(tga.TargaCount, 1);
  EXPECT_EQ(tga.TargaEntries[0].NearestMag, 0);
  EXPECT_EQ(MatLibFindImage(tga, "glow"), 0);
}

TEST(MatLibRead, SignatureAndVersionFailuresGiveAnEmptyArchive) {
  const Bytes good = WriteArchive(ThreeImages());
  Bytes first = good, shifted = {0}, version1 = good, version3 = good;
  first[0] = 8;
  shifted.insert(shifted.end(), good.begin(), good.end());  // the signature one byte late
  version1[10] = 1;
  version3[10] = 3;
  for (const Bytes& bytes : {first, shifted, version1, version3, Bytes{9, 'w', 'e'}}) {
    TqvxMatLib lib;
    Read(lib, bytes);
    EXPECT_EQ(lib.BitmapCount + lib.TargaCount, 0) << bytes.size() << " bytes";
    EXPECT_TRUE(lib.BitmapEntries.empty());
  }
}

TEST(MatLibRead, ImageErrorsKeepEarlierEntriesAndNameTheFile) {
  Bytes bytes = WriteArchive(ThreeImages());
  // Truncate inside the targa picture: the bitmaps stay, the error names the entry.
  bytes.resize(bytes.size() - 4 - 135 - 10);
  TqvxMatLib lib;
  try {
    Read(lib, bytes);
    FAIL() << "a cut picture must fail";
  } catch (const EGameError& e) {
    EXPECT_EQ(std::string(e.what()), "Stream read error (\"test.wgw\", image 2)");
  }
  EXPECT_EQ(lib.BitmapCount, 2);
  EXPECT_EQ(lib.BitmapEntries[1].Name, "door");

  // An absurd bitmap count with one entry's worth of data stops at the data.
  TArchiveSource one;
  one.Bitmaps.push_back(Image("a", Solid(1, 1, 1, 2, 3)));
  one.WriteTargaSection = one.WriteFilterSection = false;
  Bytes many = WriteArchive(one);
  many[35] = 0xFF, many[36] = 0xFF, many[37] = 0xFF, many[38] = 0x7F;
  TqvxMatLib lots;
  EXPECT_THROW(Read(lots, many), EGameError);
  EXPECT_EQ(lots.BitmapCount, 2) << "the second entry is the one that fails";

  // A record cut short keeps its fresh zeros and is no error.
  Bytes shortRecord = WriteArchive(one);
  shortRecord.resize(shortRecord.size() - 100);
  TqvxMatLib partial;
  Read(partial, shortRecord);
  ASSERT_EQ(partial.BitmapCount, 1);
  EXPECT_EQ(std::tuple(partial.BitmapEntries[0].Name, partial.BitmapEntries[0].ColorA), std::tuple("a", 0));
}

TEST(MatLibOpen, ReadsTheGameFileAndKeepsItsName) {
  TScratchDir dir("matlib_open");
  std::filesystem::create_directories(dir / "GFX");
  WriteFileBytes(dir / "GFX" / "Room.WGW", WriteArchive(ThreeImages()));
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path);
  TqvxMatLib lib;
  lib.BitmapCount = 99;  // stale content is cleared
  EXPECT_NO_THROW(MatLibOpen(lib, "GFX\\room.wgw"));
  EXPECT_EQ(lib.FileName, "GFX\\room.wgw");
  EXPECT_EQ(MatLibImageCount(lib), 3);
  std::filesystem::current_path(cwd);
}

TEST(MatLibFill, MaterialsFollowTheRecords) {
  TArchiveSource src = ThreeImages();
  src.Bitmaps.push_back(Image("door", Solid(1, 1, 0, 0, 0)));
  src.Bitmaps.push_back(Image("door", Solid(1, 1, 0, 0, 0)));
  src.Bitmaps.push_back(Image("door1", Solid(1, 1, 0, 0, 0)));
  TImageEntry& r = src.Bitmaps[0].Record;
  r.ScaleX = 2000, r.ScaleY = 500, r.OffsetX = 250, r.OffsetY = -100;
  r.ColorR = 1000, r.ColorG = 500, r.ColorB = 0, r.ColorA = 0;
  r.ModeCode = 0, r.AlphaCode = 5, r.BlendCode = 3;
  src.Bitmaps[1].Record.ModeCode = 9, src.Bitmaps[1].Record.AlphaCode = 8, src.Bitmaps[1].Record.BlendCode = 0;
  TqvxMatLib lib;
  Read(lib, WriteArchive(src));
  TGLMaterialLibrary library;
  MatLibFill(lib, library);
  ASSERT_EQ(library.Count(), 6);
  // Image index order: bitmaps, then the targa; repeated names get numbers.
  const char* names[] = {"floor", "door", "door1", "door2", "door11", "glow"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(library.At(i).Name, names[i]) << i;
  EXPECT_EQ(library.IndexOf("door"), 1);
  EXPECT_EQ(MatLibFindImage(lib, "door"), 1);

  const TGLLibMaterial &floor = library.At(0), &door = library.At(1), &glow = library.At(5);
  const float scales[] = {floor.TextureScale[0], floor.TextureScale[1], floor.TextureOffset[0],
                          floor.TextureOffset[1], floor.Diffuse[1], floor.Diffuse[3]};
  const float wantScales[] = {2.0f, 0.5f, 0.25f, -0.1f, 0.5f, 0.0f};
  for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(scales[i], wantScales[i]) << i;
  EXPECT_EQ(std::tuple(floor.TextureMode, floor.ImageAlpha, floor.BlendingMode, floor.TextureFormat, floor.MinFilter,
                       floor.MagFilter, floor.TextureDisabled),
            std::tuple(tmBlend, tiaSuperBlackTransparent, bmMultiply, tfRGB, miNearest, maLinear, false));
  EXPECT_EQ(std::tuple(door.TextureMode, door.ImageAlpha, door.BlendingMode),
            std::tuple(tmModulate, tiaDefault, bmAdditive))
      << "unknown codes keep the defaults";
  EXPECT_EQ(std::tuple(glow.BlendingMode, glow.TextureFormat, glow.MagFilter, glow.Texture2Name),
            std::tuple(bmTransparency, tfRGBA, maNearest, "floor"))
      << "only transparency keeps the alpha channel";

  EXPECT_EQ(floor.Image.Pixels, Solid(4, 2, 10, 20, 30).Pixels);
  EXPECT_EQ(glow.Image.Bits, 32);
}

TEST(MatLibAnimate, SpeedsMoveOffsetsAndClampColours) {
  TqvxMatLib lib;
  Read(lib, WriteArchive(ThreeImages()));
  TGLMaterialLibrary library;
  MatLibFill(lib, library);
  MatLibSetProperty(lib, library, 12, false, "floor", -500);
  MatLibSetProperty(lib, library, 9, false, "floor", 300);
  MatLibSetProperty(lib, library, 3, false, "floor", 900);
  MatLibSetProperty(lib, library, 1, false, "door", 250000);
  for (int i = 0; i < 40; ++i) MatLibAnimate(lib, library, 0.05f);
  const TGLLibMaterial& floor = library.At(0);
  EXPECT_NEAR(floor.Diffuse[3], 0.0f, 1e-5f) << "alpha -500 fades 1.0 out in two seconds";
  EXPECT_FLOAT_EQ(floor.Diffuse[0], 1.0f) << "red stops at 1";
  EXPECT_NEAR(library.At(1).TextureOffset[0], 0.5f, 1e-5f);
  for (int i = 0; i < 20; ++i) MatLibAnimate(lib, library, 0.05f);
  EXPECT_EQ(floor.Diffuse[3], 0.0f) << "held at 0";
  EXPECT_FLOAT_EQ(library.At(2).Diffuse[3], 1.0f) << "images without speeds stay";

  // A NaN colour (scripts can set anything) becomes 0 once it animates.
  library.At(0).Diffuse[2] = std::numeric_limits<float>::quiet_NaN();
  MatLibSetProperty(lib, library, 11, false, "floor", 1);
  MatLibAnimate(lib, library, 0.05f);
  EXPECT_EQ(library.At(0).Diffuse[2], 0.0f);
}

TEST(MatLibState, BitmapSpeedsSurviveTargaSpeedsDoNot) {
  TqvxMatLib lib;
  Read(lib, WriteArchive(ThreeImages()));
  TGLMaterialLibrary library;
  MatLibFill(lib, library);
  for (int code = 1; code <= 12; ++code) MatLibSetProperty(lib, library, code, true, "", code * 10);
  TBinaryWriter w;
  MatLibSaveState(lib, w);
  EXPECT_EQ(w.Size(), 2u * 24u) << "24 bytes per bitmap entry, none for targas, no count";

  TqvxMatLib again;
  Read(again, WriteArchive(ThreeImages()));
  TBinaryReader r(w.Bytes());
  MatLibLoadState(again, r);
  EXPECT_TRUE(r.AtEnd());
  const TImageEntry &door = again.BitmapEntries[1], &glow = again.TargaEntries[0];
  EXPECT_EQ(std::tuple(door.OffsetSpeedX, door.OffsetSpeedY, door.ColorSpeed[0], door.ColorSpeed[3]),
            std::tuple(10, 20, 90, 120));
  EXPECT_EQ(std::tuple(glow.OffsetSpeedX, glow.ColorSpeed[3]), std::tuple(0, 0));
}

// Second-texture links from the records that would close a circle are
// reported and dropped, as a link set at run time is refused; the others stay.
TEST(MatLibFill, CyclicSecondTextureLinksAreReportedAndDropped) {
  TArchiveSource src;
  const std::pair<const char*, const char*> links[] = {
      {"a", "b"}, {"b", "c"}, {"c", "a"}, {"d", "d"}, {"e", "a"}, {"f", "missing"}};
  for (const auto& [name, second] : links) {
    src.Bitmaps.push_back(Image(name, Solid(1, 1, 0, 0, 0)));
    src.Bitmaps.back().Record.Texture2Name = second;
  }
  TqvxMatLib lib;
  Read(lib, WriteArchive(src));
  lib.FileName = "GFX\\loop.wgw";
  TGLMaterialLibrary library;
  testing::internal::CaptureStderr();
  MatLibFill(lib, library);
  const std::string report = testing::internal::GetCapturedStderr();
  const char* kept[] = {"b", "c", "", "", "a", "missing"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(library.At(i).Texture2Name, kept[i]) << links[i].first;
    EXPECT_FALSE(HasTexture2Cycle(library, i)) << links[i].first;
  }
  const std::string message = "Error: Cyclic material reference detected!";
  const size_t first = report.find(message);
  ASSERT_NE(first, std::string::npos) << report;
  EXPECT_NE(report.find(message, first + 1), std::string::npos) << "one report a dropped link: " << report;
  EXPECT_NE(report.find("\"c\""), std::string::npos) << report;
  EXPECT_NE(report.find("\"d\""), std::string::npos) << report;
  EXPECT_NE(report.find("loop.wgw"), std::string::npos) << report;
}

// A BMP whose image-size field is smaller than its rows: exactly the stated
// bytes are read, what they do not reach is 0, and the entries after it are
// read as they stand.
TEST(MatLibRead, UndersizedBmpImageSizeKeepsTheFollowingEntries) {
  TBitmap two = Solid(2, 2, 0, 200, 0);
  for (int i = 0; i < 8; i += 4) two.Pixels[size_t(i)] = 200, two.Pixels[size_t(i) + 1] = 0;  // top row red
  TArchiveSource src;
  src.Bitmaps = {Image("cut", two), Image("next", Solid(1, 1, 1, 2, 3))};
  Bytes bytes = WriteArchive(src);
  const size_t bmp = 39 + 8, sizeField = bmp + 34, pixels = bmp + 54;
  ASSERT_EQ(bytes[sizeField], 16) << "two rows of 8 bytes";
  bytes[sizeField] = 8;  // one row stated and stored: the bottom one
  bytes.erase(bytes.begin() + static_cast<ptrdiff_t>(pixels + 8), bytes.begin() + static_cast<ptrdiff_t>(pixels + 16));
  TqvxMatLib lib;
  ASSERT_NO_THROW(Read(lib, bytes));
  ASSERT_EQ(lib.BitmapCount, 2);
  EXPECT_EQ(lib.BitmapEntries[0].Name, "cut");
  EXPECT_EQ(lib.BitmapImages[0].Pixels, (Bytes{0, 0, 0, 255, 0, 0, 0, 255, 0, 200, 0, 255, 0, 200, 0, 255}));
  EXPECT_EQ(lib.BitmapEntries[1].Name, "next");
  EXPECT_EQ(lib.BitmapImages[1].Pixels, Solid(1, 1, 1, 2, 3).Pixels);
}

// Pictures whose stated bytes fall short are filled with zeros, so a few
// bytes an entry could otherwise ask for any amount of memory: an archive's
// pictures hold at most 2^26 pixels in all, and the entry past that is an
// error naming the file.
TEST(MatLibRead, PicturesOfAnArchiveAreBoundedInAll) {
  constexpr int kEntries = 17, kSide = 2048;  // 16 fit exactly
  TArchiveSource src;
  for (int i = 0; i < kEntries; ++i) src.Bitmaps.push_back(Image("p" + std::to_string(i), Solid(1, 1, 9, 9, 9)));
  Bytes bytes = WriteArchive(src);
  const auto put32 = [&](size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) bytes[at + size_t(k)] = static_cast<uint8_t>(v >> (8 * k));
  };
  // Each entry: two int32, a 54-byte BMP with 4 bytes of pixels, the record.
  const size_t stride = 8 + 54 + 4 + 135;
  for (int i = 0; i < kEntries; ++i) {
    const size_t bmp = 39 + 8 + size_t(i) * stride;
    ASSERT_EQ(std::string(bytes.begin() + ptrdiff_t(bmp), bytes.begin() + ptrdiff_t(bmp) + 2), "BM") << i;
    put32(bmp + 18, kSide);
    put32(bmp + 22, kSide);
    put32(bmp + 34, 4);  // the 4 stored bytes; the rest of the picture is 0
  }
  TqvxMatLib lib;
  try {
    Read(lib, bytes);
    FAIL() << "an archive of 17 x 2048 x 2048 pictures was accepted";
  } catch (const EGameError& e) {
    EXPECT_NE(std::string(e.what()).find("too large in all"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("test.wgw"), std::string::npos) << e.what();
  }
  EXPECT_EQ(lib.BitmapImages[15].Width, kSide) << "the pictures within the bound are read";
  EXPECT_TRUE(lib.BitmapImages[16].Pixels.empty());
}
