// A picture's RGBA bytes as one 0xRRGGBBAA word a pixel, so that tests can
// compare whole pictures against a list.
#pragma once

#include <cstdint>
#include <vector>

template <typename Picture>
std::vector<uint32_t> RgbaWords(const Picture& picture) {
  const auto& p = picture.Pixels;
  std::vector<uint32_t> v;
  for (size_t i = 0; i + 3 < p.size(); i += 4)
    v.push_back(uint32_t{p[i]} << 24 | uint32_t{p[i + 1]} << 16 | uint32_t{p[i + 2]} << 8 | uint32_t{p[i + 3]});
  return v;
}
