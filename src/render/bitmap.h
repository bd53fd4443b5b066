// A decoded picture as the image readers deliver it, before it becomes a
// texture: top row first, four bytes a pixel in R, G, B, A order.
#pragma once

#include <cstdint>
#include <vector>

struct TBitmap {
  int32_t Width = 0;
  int32_t Height = 0;
  // Bits per pixel of the stored image (1, 4, 8, 16, 24 or 32); decides how
  // the picture is turned into a texture.
  int32_t Bits = 32;
  // Width * Height * 4 bytes, RGBA, top row first. For pictures without
  // alpha the fourth byte is 255.
  std::vector<uint8_t> Pixels;
};
