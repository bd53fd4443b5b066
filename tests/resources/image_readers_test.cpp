#include "resources/image_readers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/game_error.h"
#include "platform/stream.h"
#include "resources/archive_writer.h"
#include "support/pixels.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v)), b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }

// A BMP with a 40-byte info header; `extra` goes between header and pixels.
Bytes Bmp40(int32_t w, int32_t h, uint16_t bits, uint32_t compression, uint32_t imageSize, uint32_t coloursUsed,
            const Bytes& extra, const Bytes& pixels) {
  Bytes b = {'B', 'M'};
  Put32(b, 0), Put32(b, 0), Put32(b, 0);
  Put32(b, 40), Put32(b, static_cast<uint32_t>(w)), Put32(b, static_cast<uint32_t>(h));
  Put16(b, 1), Put16(b, bits);
  Put32(b, compression), Put32(b, imageSize), Put32(b, 0), Put32(b, 0), Put32(b, coloursUsed), Put32(b, 0);
  b.insert(b.end(), extra.begin(), extra.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

Bytes Tga(uint8_t type, uint16_t w, uint16_t h, uint8_t depth, uint8_t descriptor, const Bytes& data,
          uint8_t idLength = 0, uint8_t colourMap = 0) {
  Bytes b = {idLength, colourMap, type, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  Put16(b, w), Put16(b, h);
  b.push_back(depth), b.push_back(descriptor);
  b.insert(b.end(), idLength, 'i');
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

TBitmap ReadBmp(const Bytes& b, uint64_t* consumed = nullptr) {
  TBinaryReader r(b);
  TBitmap out;
  ReadBmpImage(r, out);
  if (consumed) *consumed = r.Position();
  return out;
}

TBitmap ReadTga(const Bytes& b, uint64_t* consumed = nullptr) {
  TBinaryReader r(b);
  TBitmap out;
  ReadTgaImage(r, out);
  if (consumed) *consumed = r.Position();
  return out;
}

std::string ErrorOf(void (*reader)(TBinaryReader&, TBitmap&), const Bytes& b) {
  TBinaryReader r(b);
  TBitmap out;
  try {
    reader(r, out);
  } catch (const EGameError& e) {
    return e.what();
  }
  return "";
}

}  // namespace

// Every layout each reader decodes, followed by a byte of the next archive
// entry that must be left unread. Pixels as 0xRRGGBBAA, top row first.
TEST(ImageReaders, EveryLayoutDecodesAndTheNextEntryIsLeftAlone) {
  // 2x2 at 24 bits: rows of 6 bytes padded to 8; red, green, then blue, white.
  Bytes rows = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
  // A core header: 16-bit sizes, 3-byte table entries.
  Bytes core = {'B', 'M'};
  Put32(core, 0), Put32(core, 0), Put32(core, 0);
  Put32(core, 12), Put16(core, 2), Put16(core, 1), Put16(core, 1), Put16(core, 8);
  for (int i = 0; i < 256; ++i) core.insert(core.end(), {static_cast<uint8_t>(i), 0, 0});
  core.insert(core.end(), {7, 200, 0, 0});
  // A 108-byte header with its masks inside (red and blue swapped) and a tail to skip.
  Bytes v4 = {'B', 'M'};
  Put32(v4, 0), Put32(v4, 0), Put32(v4, 0);
  Put32(v4, 108), Put32(v4, 1), Put32(v4, 1), Put16(v4, 1), Put16(v4, 32), Put32(v4, 3);
  for (int i = 0; i < 5; ++i) Put32(v4, 0);
  Put32(v4, 0xFF), Put32(v4, 0xFF00), Put32(v4, 0xFF0000);
  v4.resize(14 + 108, 0);
  v4.insert(v4.end(), {10, 20, 30, 40});
  Bytes masks;
  Put32(masks, 0xF800), Put32(masks, 0x07E0), Put32(masks, 0x001F);
  const Bytes bgr = {0, 0, 1, 0, 0, 2, 0, 0, 3};  // 1 wide, 3 high
  struct TCase {
    const char* Why;
    void (*Reader)(TBinaryReader&, TBitmap&);
    Bytes Data;
    int32_t Bits;
    std::vector<uint32_t> Want;
  };
  const TCase cases[] = {
      {"BMP bottom-up", ReadBmpImage, Bmp40(2, 2, 24, 0, 0, 0, {}, rows), 24,
       {0x0000FFFF, 0xFFFFFFFF, 0xFF0000FF, 0x00FF00FF}},
      {"BMP top-down", ReadBmpImage, Bmp40(2, -2, 24, 0, 0, 0, {}, rows), 24,
       {0xFF0000FF, 0x00FF00FF, 0x0000FFFF, 0xFFFFFFFF}},
      {"BMP 1 bit, a table of 2", ReadBmpImage, Bmp40(3, 1, 1, 0, 0, 0, {0, 0, 0, 0, 255, 255, 255, 0}, {0xA0, 0, 0, 0}),
       1, {0xFFFFFFFF, 0x000000FF, 0xFFFFFFFF}},
      {"BMP 4 bits, 2 colours used, index 5 past them is black", ReadBmpImage,
       Bmp40(3, 1, 4, 0, 0, 2, {0, 0, 255, 0, 0, 255, 0, 0}, {0x10, 0x50, 0, 0}), 4,
       {0x00FF00FF, 0xFF0000FF, 0x000000FF}},
      {"BMP 8 bits, core header", ReadBmpImage, core, 8, {0x000007FF, 0x0000C8FF}},
      {"BMP 16 bits, 5-5-5", ReadBmpImage, Bmp40(2, 1, 16, 0, 0, 0, {}, {0xFF, 0x7F, 0x1F, 0x00}), 16,
       {0xFFFFFFFF, 0x0000FFFF}},
      {"BMP 16 bits, 5-6-5 masks", ReadBmpImage, Bmp40(2, 1, 16, 3, 0, 0, masks, {0xE0, 0x07, 0x00, 0xF8}), 16,
       {0x00FF00FF, 0xFF0000FF}},
      {"BMP 32 bits keep alpha", ReadBmpImage, Bmp40(1, 1, 32, 0, 0, 0, {}, {1, 2, 3, 4}), 32, {0x03020104}},
      {"BMP 108-byte header", ReadBmpImage, v4, 32, {0x0A141EFF}},
      {"TGA bottom-up", ReadTgaImage, Tga(2, 1, 3, 24, 0, bgr), 24, {0x030000FF, 0x020000FF, 0x010000FF}},
      {"TGA top-down", ReadTgaImage, Tga(2, 1, 3, 24, 0x20, bgr), 24, {0x010000FF, 0x020000FF, 0x030000FF}},
      {"TGA 32 bits, an image ID, attribute bits", ReadTgaImage, Tga(2, 2, 1, 32, 0x28, {1, 2, 3, 4, 5, 6, 7, 8}, 3), 32,
       {0x03020104, 0x07060508}},
      {"TGA type 0: no data, no picture", ReadTgaImage, Tga(0, 5, 5, 24, 0, {}), 0, {}},
      // Repeat packets of 1 and of 4 (crossing into the top row), a raw packet of 1.
      {"TGA run-length", ReadTgaImage, Tga(10, 3, 2, 24, 0, {128, 1, 1, 1, 131, 2, 2, 2, 0, 3, 3, 3}), 24,
       {0x020202FF, 0x020202FF, 0x030303FF, 0x010101FF, 0x020202FF, 0x020202FF}},
      {"TGA packet 255: 128 pixels", ReadTgaImage, Tga(10, 128, 1, 32, 0, {255, 9, 8, 7, 6}), 32,
       std::vector<uint32_t>(128, 0x07080906)},
  };
  for (TCase c : cases) {
    c.Data.push_back(0xEE);
    TBinaryReader r(c.Data);
    TBitmap out;
    c.Reader(r, out);
    EXPECT_EQ(r.Remaining(), 1u) << c.Why;
    EXPECT_EQ(RgbaWords(out), c.Want) << c.Why;
    EXPECT_EQ(std::tuple(out.Width * out.Height, c.Want.empty() ? 0 : out.Bits), std::tuple(c.Want.size(), c.Bits))
        << c.Why;
  }
}

TEST(BmpReader, RefusesBadAndShortImages) {
  const Bytes row = {1, 2, 3, 0};
  const Bytes ok = Bmp40(1, 1, 24, 0, 0, 0, {}, row);
  auto with = [](Bytes b, size_t at, std::initializer_list<uint8_t> v) {
    std::copy(v.begin(), v.end(), b.begin() + static_cast<ptrdiff_t>(at));
    return b;
  };
  Bytes wide = Bmp40(1 << 13, 1 << 14, 1, 0, 0, 0, Bytes(8, 0), {});
  wide.resize(wide.size() + (1 << 24), 0);
  const std::tuple<const char*, Bytes, const char*> bad[] = {
      {"signature", with(ok, 0, {'X'}), "Bitmap image is not valid"},
      {"two planes", with(ok, 26, {2}), "Bitmap image is not valid"},
      {"7 bits", Bmp40(1, 1, 7, 0, 0, 0, {}, row), "Bitmap image is not valid"},
      {"negative width", Bmp40(-1, 1, 24, 0, 0, 0, {}, row), "Bitmap image is not valid"},
      {"cut inside the file header", Bytes{'B', 'M', 0}, "Stream read error"},
      {"one pixel byte short", Bmp40(2, 2, 24, 0, 0, 0, {}, Bytes(15, 0)), "Stream read error"},
      {"image size beyond the file", Bmp40(1, 1, 24, 0, 0xFFFFFFF0u, 0, {}, row), "Stream read error"},
      {"colour count beyond the file", Bmp40(1, 1, 8, 0, 0, 0x40000000u, {}, row), "Stream read error"},
      {"header size beyond the file", with(ok, 14, {0xF0, 0xFF, 0xFF, 0x7F}), "Stream read error"},
      // A stated image size may fall short of the rows (they stay 0), but
      // a few bytes still cannot claim a picture beyond the limits.
      {"a huge picture in 4 bytes", Bmp40(1 << 20, 1 << 20, 1, 0, 4, 0, Bytes(8, 0), row), "too large"},
      {"over the pixel limit", wide, "too large"},
  };
  for (const auto& [why, bytes, error] : bad)
    EXPECT_NE(ErrorOf(ReadBmpImage, bytes).find(error), std::string::npos) << why << ": " << ErrorOf(ReadBmpImage, bytes);

  // A longer stated size is skipped after the rows; compressed data runs to the end.
  Bytes longer = Bmp40(1, 1, 24, 0, 12, 0, {}, Bytes(12, 0x40));
  longer.push_back(1);
  uint64_t used = 0;
  TBitmap one = ReadBmp(longer, &used);
  EXPECT_EQ(used, longer.size() - 1);
  EXPECT_EQ(RgbaWords(one), (std::vector<uint32_t>{0x404040FF}));
  Bytes rle = Bmp40(4, 4, 8, 1, 6, 0, Bytes(1024, 0), {1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(ReadBmp(rle, &used).Width, 0);
  EXPECT_EQ(used, rle.size());
  // No width and a huge height: an empty picture, read at once; no row
  // buffer for a picture without rows.
  TBitmap flat = ReadBmp(Bmp40(0, 0x26FFFFFD, 4, 0, 0, 0, Bytes(64, 0), {}));
  EXPECT_EQ(flat.Width + flat.Height, 0);
  EXPECT_EQ(ReadBmp(Bmp40(0x7FFFFFFF, 0, 32, 0, 0, 0, {}, {})).Width, 0);
}

TEST(TgaReader, RefusesBadAndShortImages) {
  const std::string past = "TGA run-length data runs past the end of the image";
  const std::tuple<const char*, Bytes, std::string> bad[] = {
      {"colour map", Tga(2, 1, 1, 24, 0, {1, 2, 3}, 0, 1), "ColorMapped TGA unsupported"},
      {"16 bits", Tga(2, 1, 1, 16, 0, {1, 2}), "Unsupported TGA ImageType"},
      {"type 3", Tga(3, 1, 1, 24, 0, {1, 2, 3}), "Unsupported TGA ImageType 3"},
      {"cut header", Bytes(17, 0), "Stream read error"},
      {"cut pixels", Tga(2, 2, 2, 24, 0, Bytes(11, 0)), "Stream read error"},
      {"packets end before the picture is full", Tga(10, 2, 1, 24, 0, {0, 1, 2, 3}), "Stream read error"},
      {"a repeat past the end", Tga(10, 2, 2, 24, 0, {129, 1, 1, 1, 130, 2, 2, 2}), past},
      {"a raw packet of 4 into a picture of 3", Tga(10, 3, 1, 24, 0, {3, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4}), past},
      {"a huge picture, refused before allocating", Tga(10, 65535, 65535, 32, 0, {255, 0, 0, 0, 0}),
       "Stream read error"},
  };
  for (const auto& [why, bytes, error] : bad) EXPECT_EQ(ErrorOf(ReadTgaImage, bytes), error) << why;
}

TEST(ImageWriters, RoundTripThroughTheReaders) {
  TBitmap src;
  src.Width = 5, src.Height = 3;
  for (int i = 0; i < 15; ++i) {
    const uint8_t v = static_cast<uint8_t>(i < 6 ? 0 : i * 16);  // a run, then distinct colours
    src.Pixels.insert(src.Pixels.end(), {v, static_cast<uint8_t>(255 - v), 33, static_cast<uint8_t>(i * 7)});
  }
  for (bool topDown : {false, true}) {
    for (int rle : {0, 1}) {
      TBinaryWriter w;
      WriteTgaImage(w, src, 32, topDown, rle);
      TBitmap back = ReadTga(w.Bytes());
      EXPECT_EQ(back.Pixels, src.Pixels) << "TGA topDown " << topDown << " rle " << rle;
    }
    TBinaryWriter w;
    WriteBmpImage(w, src, 32, topDown);
    EXPECT_EQ(ReadBmp(w.Bytes()).Pixels, src.Pixels) << "BMP 32 topDown " << topDown;
  }
  // Opaque pictures through every BMP depth; palette depths fall back to 24
  // bits when the colours do not fit, so the pixels always come back.
  TBitmap opaque = src;
  for (size_t i = 3; i < opaque.Pixels.size(); i += 4) opaque.Pixels[i] = 255;
  for (int bits : {1, 4, 8, 24}) {
    TBinaryWriter w;
    WriteBmpImage(w, opaque, bits);
    TBitmap back = ReadBmp(w.Bytes());
    EXPECT_EQ(back.Pixels, opaque.Pixels) << bits << " bits";
  }
  TBitmap two = opaque;
  for (size_t i = 0; i < two.Pixels.size(); i += 4) two.Pixels[i] = two.Pixels[i + 1] = two.Pixels[i + 2] = i % 8 ? 255 : 0;
  TBinaryWriter w1;
  WriteBmpImage(w1, two, 1);
  TBitmap mono = ReadBmp(w1.Bytes());
  EXPECT_EQ(mono.Bits, 1);
  EXPECT_EQ(mono.Pixels, two.Pixels);
}

TEST(TgaReader, PicturesLargerThanTheRendererTakesAreRefusedBeforeDecoding) {
  // 8192 x 8192 pixels in 2 MB of run-length packets (256 MB decoded).
  Bytes packets;
  for (int i = 0; i < 8192 * 8192 / 128; ++i) packets.insert(packets.end(), {255, 1, 2, 3});
  const std::string huge = ErrorOf(ReadTgaImage, Tga(10, 8192, 8192, 24, 0, packets));
  EXPECT_NE(huge.find("too large (8192 x 8192"), std::string::npos) << huge;

  // A renderer whose largest texture is 64 pixels a side.
  SetImageSideLimit(64);
  EXPECT_EQ(ImageSideLimit(), 64);
  EXPECT_NE(ErrorOf(ReadTgaImage, Tga(10, 65, 1, 24, 0, {128, 1, 2, 3, 192, 1, 2, 3})).find("too large"),
            std::string::npos);
  EXPECT_EQ(ReadTga(Tga(10, 64, 1, 24, 0, {191, 1, 2, 3})).Width, 64);
  SetImageSideLimit(1 << 20);
  EXPECT_EQ(ImageSideLimit(), kMaxImageSide) << "never above the largest side any renderer is given";
}
