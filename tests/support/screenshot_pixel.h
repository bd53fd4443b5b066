// One pixel of a screenshot the driver saved, as 0xRRGGBB.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/stream.h"
#include "resources/image_readers.h"

inline uint32_t ScreenshotPixel(const std::filesystem::path& bmp, int x, int y) {
  const std::vector<uint8_t> bytes = ReadFileBytes(bmp);
  TBinaryReader in(bytes, bmp.string());
  TBitmap picture;
  ReadBmpImage(in, picture);
  const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(picture.Width) + static_cast<size_t>(x)) * 4;
  return uint32_t{picture.Pixels[at]} << 16 | uint32_t{picture.Pixels[at + 1]} << 8 | picture.Pixels[at + 2];
}
