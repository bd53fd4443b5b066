// Feeds arbitrary bytes to the font widths reader and lays text out in the
// font: the first two bytes give the font picture's size, the next 256 (or
// fewer) the widths, one the alignment and one the wrap width; the rest is
// the text. Every glyph must land on finite screen and texture coordinates.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "platform/game_error.h"
#include "render/hud_string.h"

namespace {

bool Finite(const TGlyphQuad& q) {
  for (float v : {q.Left, q.Top, q.Right, q.Bottom, q.S0, q.T0, q.S1, q.T1})
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  // Signed, so that sizes below 16 (refused) come up as often as large ones.
  const int32_t pictureSize = static_cast<int16_t>(data[0] | data[1] << 8);
  const uint8_t alignment = data[2];
  const int32_t wrap = static_cast<int8_t>(data[3]) * 16;
  const std::span<const uint8_t> rest(data + 4, size - 4);
  const std::span<const uint8_t> widths = rest.first(std::min<size_t>(rest.size(), 256));
  const std::string value(rest.begin() + static_cast<std::ptrdiff_t>(widths.size()), rest.end());

  THUDString text;
  try {
    LoadFontWidths(text, widths, pictureSize);
  } catch (const EGameError&) {
    if (pictureSize >= 16) std::abort();
    return 0;
  }
  text.Alignment = alignment % 4;
  SetTextWrapped(text, value, wrap);
  if (text.LineCount != static_cast<int32_t>(text.LineWidths.size())) std::abort();
  for (int32_t line = -1; line <= text.LineCount; ++line)
    if (!std::isfinite(LineOffset(text, line))) std::abort();
  std::vector<TGlyphQuad> quads;
  LayoutText(text, quads);
  for (const TGlyphQuad& q : quads)
    if (!Finite(q)) std::abort();
  return 0;
}
