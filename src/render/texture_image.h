// The picture a material's texture is made from: the material's bitmap as
// 32-bit RGBA, first row the picture's bottom row, alpha made by the image
// alpha mode and dropped again for tfRGB. Pure, so the renderer and the tools
// produce the very same bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "render/bitmap.h"
#include "render/materials.h"

struct TTextureImage {
  int32_t Width = 0;   // a multiple of 4 unless the picture is 24/32-bit already
  int32_t Height = 0;
  std::vector<uint8_t> Pixels;  // RGBA, bottom row first
};

// Pictures that are not 24 or 32 bits a pixel, or whose width is not a
// multiple of 4, are stretched to the next multiple of 4 and lose their alpha.
TTextureImage MakeTextureImage(const TBitmap& picture, TImageAlpha alphaMode, TTextureFormat format);
inline TTextureImage MakeTextureImage(const TGLLibMaterial& m) {
  return MakeTextureImage(m.Image, m.ImageAlpha, m.TextureFormat);
}
