#include "render/texture_image.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "support/pixels.h"

namespace {

// RGBA pixels, top row first.
TBitmap Picture(int32_t w, int32_t h, int32_t bits, std::vector<uint32_t> rgba) {
  TBitmap p;
  p.Width = w, p.Height = h, p.Bits = bits;
  for (uint32_t v : rgba)
    p.Pixels.insert(p.Pixels.end(), {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
                                     static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)});
  return p;
}

std::vector<uint8_t> Alphas(const TTextureImage& t) {
  std::vector<uint8_t> a;
  for (size_t i = 3; i < t.Pixels.size(); i += 4) a.push_back(t.Pixels[i]);
  return a;
}

}  // namespace

// Row order and kept alpha are checked on screen by GLRendererTest.
TEST(TextureImage, AlphaByPictureKindAndStretchedWidths) {
  // A 32-bit picture as 24 bits is opaque; tfRGB drops any alpha.
  TBitmap p = Picture(4, 2, 32, std::vector<uint32_t>(8, 0x01020310));
  p.Bits = 24;
  EXPECT_EQ(Alphas(MakeTextureImage(p, tiaDefault, tfRGBA)), std::vector<uint8_t>(8, 255));
  p.Bits = 32;
  EXPECT_EQ(Alphas(MakeTextureImage(p, tiaDefault, tfRGB)), std::vector<uint8_t>(8, 255));

  // 3 pixels wide, 32 bits: stretched to 4 and opaque.
  TTextureImage odd = MakeTextureImage(Picture(3, 1, 32, {0x10000000, 0x20000000, 0x30000000}), tiaDefault, tfRGBA);
  EXPECT_EQ(RgbaWords(odd), (std::vector<uint32_t>{0x100000FF, 0x100000FF, 0x200000FF, 0x300000FF}));

  // A 30-pixel-wide 8-bit picture becomes 32 wide; a 4-wide one keeps its width.
  TTextureImage thirty = MakeTextureImage(Picture(30, 2, 8, std::vector<uint32_t>(60, 0xFF)), tiaDefault, tfRGBA);
  EXPECT_EQ(std::tuple(thirty.Width, thirty.Height, thirty.Pixels.size()), std::tuple(32, 2, 32u * 2 * 4));
  EXPECT_EQ(MakeTextureImage(Picture(4, 1, 8, std::vector<uint32_t>(4, 0xFF)), tiaDefault, tfRGBA).Width, 4);

  // Nothing to draw: an empty picture, or one whose pixels are missing.
  EXPECT_TRUE(MakeTextureImage(TBitmap{}, tiaOpaque, tfRGBA).Pixels.empty());
  TBitmap hollow;
  hollow.Width = hollow.Height = 8;
  EXPECT_TRUE(MakeTextureImage(hollow, tiaOpaque, tfRGBA).Pixels.empty());
}

TEST(TextureImage, ImageAlphaModes) {
  // 4x2, 32 bits, top row first; the bottom-left pixel (first uploaded) is the key colour.
  const TBitmap p = Picture(4, 2, 32,
                            {0x00000080, 0x30303080, 0xFFFFFF80, 0x64000080,  //
                             0x10203080, 0x00000080, 0x10203080, 0x01000080});
  struct TCase {
    TImageAlpha Mode;
    std::vector<uint8_t> Alpha;  // bottom row first
  };
  const TCase cases[] = {
      {tiaDefault, {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}},
      {tiaAlphaFromIntensity, {32, 0, 32, 0, 0, 48, 255, 33}},
      {tiaLuminance, {32, 0, 32, 0, 0, 48, 255, 33}},
      {tiaSuperBlackTransparent, {255, 0, 255, 255, 0, 255, 255, 255}},
      // 255 * sqrt(i / 255), truncated: i = 32 -> 90, 48 -> 110, 33 -> 91.
      {tiaLuminanceSqrt, {90, 0, 90, 0, 0, 110, 255, 91}},
      {tiaOpaque, {255, 255, 255, 255, 255, 255, 255, 255}},
      {tiaTopLeftPointColorTransparent, {0, 255, 0, 255, 255, 255, 255, 255}},
      {tiaHEdgeTransparent, {0, 0x80, 0x80, 0, 0, 0x80, 0x80, 0}},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(Alphas(MakeTextureImage(p, c.Mode, tfRGBA)), c.Alpha) << "mode " << int(c.Mode);
  // The colours themselves never change.
  TTextureImage t = MakeTextureImage(p, tiaSuperBlackTransparent, tfRGBA);
  EXPECT_EQ(std::pair(t.Pixels[0], t.Pixels[1]), std::pair(uint8_t{0x10}, uint8_t{0x20}));
  // Opaque blending keeps tfRGB: black stays black, not transparent.
  EXPECT_EQ(Alphas(MakeTextureImage(p, tiaSuperBlackTransparent, tfRGB)), std::vector<uint8_t>(8, 255));
}
