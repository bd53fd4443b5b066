#include "font_art.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "art_common.h"
#include "platform/cp1251.h"

namespace {

constexpr int kPixelSize = 22;
constexpr int kMaxWidth = 28;  // keeps a margin of one pixel in the cell

uint32_t CodePoint(int cp1251) {
  const std::string u = Cp1251ToUtf8(std::string(1, static_cast<char>(cp1251)));
  const auto* b = reinterpret_cast<const unsigned char*>(u.data());
  if (u.size() == 1) return b[0];
  if (u.size() == 2) return (b[0] & 0x1Fu) << 6 | (b[1] & 0x3Fu);
  if (u.size() == 3) return (b[0] & 0x0Fu) << 12 | (b[1] & 0x3Fu) << 6 | (b[2] & 0x3Fu);
  return 0;
}

struct TFreeType {
  FT_Library Lib = nullptr;
  FT_Face Face = nullptr;
  explicit TFreeType(const std::string& path) {
    if (FT_Init_FreeType(&Lib)) throw std::runtime_error("cannot start FreeType");
    if (FT_New_Face(Lib, path.c_str(), 0, &Face)) {
      FT_Done_FreeType(Lib);
      throw std::runtime_error("cannot open font " + path);
    }
    FT_Set_Pixel_Sizes(Face, 0, kPixelSize);
  }
  ~TFreeType() {
    FT_Done_Face(Face);
    FT_Done_FreeType(Lib);
  }
  TFreeType(const TFreeType&) = delete;
  TFreeType& operator=(const TFreeType&) = delete;
};

}  // namespace

std::vector<int> FontCharacters() {
  std::vector<int> codes;
  for (int c = 32; c <= 126; ++c) codes.push_back(c);
  // … ‘ ’ “ ” • – — « » № ° Ё ё
  for (int c : {0x85, 0x91, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0xAB, 0xBB, 0xB9, 0xB0, 0xA8, 0xB8})
    codes.push_back(c);
  for (int c = 0xC0; c <= 0xFF; ++c) codes.push_back(c);
  std::sort(codes.begin(), codes.end());
  return codes;
}

std::array<uint8_t, 256> BuildFont(TArtArchive& archive, const std::string& fontPath) {
  TFreeType ft(fontPath);
  std::array<uint8_t, 256> widths{};
  // Coverage of every glyph, painted into one alpha map the size of the picture.
  std::vector<float> ink(static_cast<size_t>(kFontSize) * kFontSize, 0.0f);

  for (int code : FontCharacters()) {
    const uint32_t cp = CodePoint(code);
    if (FT_Load_Char(ft.Face, cp, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT))
      throw std::runtime_error("font has no glyph for code " + std::to_string(code));
    const FT_GlyphSlot g = ft.Face->glyph;
    const FT_Bitmap& bm = g->bitmap;
    // Measure the coverage actually drawn: a rendered bitmap may carry empty
    // columns at its sides.
    int firstCol = static_cast<int>(bm.width), lastCol = -1;
    for (int y = 0; y < static_cast<int>(bm.rows); ++y) {
      for (int x = 0; x < static_cast<int>(bm.width); ++x) {
        if (bm.buffer[static_cast<size_t>(y) * static_cast<size_t>(std::abs(bm.pitch)) + x] == 0) continue;
        firstCol = std::min(firstCol, x);
        lastCol = std::max(lastCol, x);
      }
    }
    const int inkWidth = lastCol < 0 ? 0 : lastCol - firstCol + 1;
    int width;
    if (inkWidth == 0) {
      // The space: its advance is its width.
      width = static_cast<int>(std::lround(g->advance.x / 64.0));
    } else {
      width = inkWidth;
    }
    width = std::min(kMaxWidth, (width + 1) / 2 * 2);
    widths[static_cast<size_t>(code)] = static_cast<uint8_t>(width);
    if (inkWidth == 0) continue;

    const int cellX = (code % 16) * kFontCell, cellY = (code / 16) * kFontCell;
    const int left = cellX + (kFontCell - width) / 2 + (width - std::min(inkWidth, width)) / 2;
    const int top = cellY + kFontBaseline - g->bitmap_top;
    for (int y = 0; y < static_cast<int>(bm.rows); ++y) {
      const int py = top + y;
      // Row 0 of a cell is never sampled; rows outside the cell would show in
      // the neighbour.
      if (py < cellY + 2 || py >= cellY + kFontCell - 1) continue;
      for (int x = 0; x < std::min(inkWidth, width); ++x) {
        const int px = left + x;
        const uint8_t v =
            bm.buffer[static_cast<size_t>(y) * static_cast<size_t>(std::abs(bm.pitch)) + firstCol + x];
        ink[static_cast<size_t>(py) * kFontSize + px] = v / 255.0f;
      }
    }
  }

  // A soft dark rim around each glyph keeps white text readable on light
  // backgrounds; it spreads one pixel, inside the two pixels of spacing.
  TCanvas canvas(kFontSize, kFontSize);
  cairo_surface_flush(canvas.Surface.get());
  uint8_t* data = cairo_image_surface_get_data(canvas.Surface.get());
  const int stride = cairo_image_surface_get_stride(canvas.Surface.get());
  for (int y = 0; y < kFontSize; ++y) {
    for (int x = 0; x < kFontSize; ++x) {
      const float a = ink[static_cast<size_t>(y) * kFontSize + x];
      float rim = 0;
      if ((y % kFontCell) >= 1) {
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            // The rim never crosses into another cell.
            if (nx / kFontCell != x / kFontCell || ny / kFontCell != y / kFontCell || nx < 0 || ny < 0) continue;
            if (nx >= kFontSize || ny >= kFontSize) continue;
            const float w = (dx == 0 || dy == 0) ? 1.0f : 0.6f;
            rim = std::max(rim, w * ink[static_cast<size_t>(ny) * kFontSize + nx]);
          }
        }
      }
      const float alpha = std::max(a, rim * 0.7f);
      const float light = a + (alpha - a) * 0.08f;  // premultiplied grey level
      uint8_t* p = data + static_cast<size_t>(y) * stride + 4 * x;
      const auto level = static_cast<uint8_t>(std::lround(std::clamp(light, 0.0f, alpha) * 255));
      p[0] = p[1] = p[2] = level;
      p[3] = static_cast<uint8_t>(std::lround(alpha * 255));
    }
  }
  cairo_surface_mark_dirty(canvas.Surface.get());
  archive.Add("fnt1", canvas);
  return widths;
}

void WriteFontWidths(const std::array<uint8_t, 256>& widths, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(widths.data()), static_cast<std::streamsize>(widths.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}
