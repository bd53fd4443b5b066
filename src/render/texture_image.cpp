// Conversion of a material's picture into the bytes uploaded as its texture.
#include "render/texture_image.h"

#include <cmath>

namespace {

void ApplyImageAlpha(TTextureImage& t, TImageAlpha mode) {
  uint8_t* p = t.Pixels.data();
  const size_t count = t.Pixels.size() / 4;
  if (count == 0) return;
  const uint8_t key[3] = {p[0], p[1], p[2]};
  for (size_t i = 0; i < count; ++i, p += 4) {
    const int intensity = (p[0] + p[1] + p[2]) / 3;
    switch (mode) {
      case tiaDefault:
        break;
      case tiaAlphaFromIntensity:
      case tiaLuminance:
        p[3] = static_cast<uint8_t>(intensity);
        break;
      case tiaSuperBlackTransparent:
        p[3] = (p[0] | p[1] | p[2]) ? 255 : 0;
        break;
      case tiaLuminanceSqrt:
        p[3] = static_cast<uint8_t>(255.0 * std::sqrt(intensity / 255.0));
        break;
      case tiaOpaque:
        p[3] = 255;
        break;
      case tiaTopLeftPointColorTransparent:
        p[3] = (p[0] == key[0] && p[1] == key[1] && p[2] == key[2]) ? 0 : 255;
        break;
      case tiaHEdgeTransparent: {
        const size_t x = i % static_cast<size_t>(t.Width);
        if (x == 0 || x + 1 == static_cast<size_t>(t.Width)) p[3] = 0;
        break;
      }
    }
  }
}

}  // namespace

TTextureImage MakeTextureImage(const TBitmap& picture, TImageAlpha alphaMode, TTextureFormat format) {
  TTextureImage t;
  const int32_t w = picture.Width, h = picture.Height;
  const size_t needed = static_cast<size_t>(w > 0 ? w : 0) * static_cast<size_t>(h > 0 ? h : 0) * 4;
  if (w <= 0 || h <= 0 || picture.Pixels.size() < needed) return t;

  const bool direct = (picture.Bits == 24 || picture.Bits == 32) && w % 4 == 0;
  // Other pictures go through a 24-bit copy whose rows are a multiple of
  // 4 pixels, stretched when they are not already.
  const int32_t tw = direct ? w : (w + 3) / 4 * 4;
  const bool keepAlpha = direct && picture.Bits == 32;
  t.Width = tw;
  t.Height = h;
  t.Pixels.resize(static_cast<size_t>(tw) * static_cast<size_t>(h) * 4);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* src = picture.Pixels.data() + static_cast<size_t>(h - 1 - y) * static_cast<size_t>(w) * 4;
    uint8_t* dst = t.Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(tw) * 4;
    for (int32_t x = 0; x < tw; ++x, dst += 4) {
      const uint8_t* s = src + static_cast<size_t>(static_cast<int64_t>(x) * w / tw) * 4;
      dst[0] = s[0], dst[1] = s[1], dst[2] = s[2];
      dst[3] = keepAlpha ? s[3] : 255;
    }
  }
  ApplyImageAlpha(t, alphaMode);
  if (format == tfRGB)
    for (size_t i = 3; i < t.Pixels.size(); i += 4) t.Pixels[i] = 255;
  return t;
}
