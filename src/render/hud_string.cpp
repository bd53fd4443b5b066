#include "render/hud_string.h"

#include "platform/game_error.h"
#include "platform/paths.h"
#include "platform/stream.h"

namespace {
constexpr char kLineBreak = 13;
}

void LoadFont(THUDString& text, const std::string& widthFile, int32_t size, const std::filesystem::path& base) {
  std::vector<uint8_t> bytes = ReadGameFile(widthFile, base);
  LoadFontWidths(text, bytes, size);
}

void LoadFontWidths(THUDString& text, std::span<const uint8_t> widths, int32_t size) {
  if (size < 16) throw EGameError("Font picture size " + std::to_string(size) + " is too small for 16x16 glyph cells");
  uint8_t raw[256] = {};
  TBinaryReader reader(widths, "font widths");
  reader.ReadBytes(raw, std::min<size_t>(widths.size(), sizeof raw));

  const int32_t cell = size / 16;
  text.CellSize = cell;
  const float fsize = static_cast<float>(size);
  for (int c = 0; c < 256; ++c) {
    // The byte is at most 255, so the advance wraps to 0 or 1 for 254 and 255,
    // as a byte field does.
    const uint8_t w = static_cast<uint8_t>(raw[c] + 2);
    text.GlyphWidths[c] = w;
    const int32_t col = c % 16, row = c / 16;
    const int32_t m = (cell - w) / 2;  // C++ division truncates toward zero
    text.GlyphCoords[c][0] = static_cast<float>(col * cell + m) / fsize;
    text.GlyphCoords[c][1] = 1.0f - static_cast<float>((row + 1) * cell) / fsize;
    text.GlyphCoords[c][2] = static_cast<float>(col * cell + cell - m) / fsize;
    // The first pixel row of each cell is left out.
    text.GlyphCoords[c][3] = 1.0f - static_cast<float>(row * cell + 1) / fsize;
  }
}

void SetText(THUDString& text, const std::string& value) {
  text.Text = value;
  text.LineWidths.clear();
  text.LineCount = 0;
  int32_t width = 0;
  for (char ch : text.Text) {
    if (ch == kLineBreak) {
      text.LineWidths.push_back(width);
      ++text.LineCount;
      width = 0;
    } else {
      width += text.GlyphWidths[static_cast<uint8_t>(ch)];
    }
  }
  text.LineWidths.push_back(width);
  ++text.LineCount;
}

void SetTextWrapped(THUDString& text, const std::string& value, int32_t width) {
  SetText(text, value);
  WrapText(text, width);
  SetText(text, text.Text);
}

const std::string& GetText(const THUDString& text) { return text.Text; }

float GlyphScale(const THUDString& text) {
  return text.CellSize > 0 ? text.Height / static_cast<float>(text.CellSize) : 0.0f;
}

void WrapText(THUDString& text, int32_t width) {
  text.WrapWidth = width;
  const float k = GlyphScale(text);
  const float w = static_cast<float>(width);
  std::string& s = text.Text;
  auto advance = [&](char ch) { return static_cast<float>(text.GlyphWidths[static_cast<uint8_t>(ch)]) * k; };

  // `start` is the index of the line's first character, or of the break that
  // opened the line; the segment examined on overflow begins there.
  float x = 0;
  size_t start = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == kLineBreak) {
      x = 0;
      start = i;
    } else {
      x += advance(s[i]);
    }
    if (x <= w) continue;

    size_t end = i;  // one past the segment's last character
    while (end > start && s[end - 1] == ' ') --end;
    size_t found = std::string::npos;
    for (size_t j = end; j > start; --j) {
      x -= advance(s[j - 1]);
      if (s[j - 1] == ' ' && x < w) {
        found = j - 1;
        break;
      }
    }
    // An empty or all-space segment leaves nothing to go back through, so the
    // text stays unbroken there.
    if (found == std::string::npos) continue;
    s[found] = kLineBreak;
    start = found;
    x = 0;
    i = found;  // the loop resumes with the character after the new break
  }
}

float LineOffset(const THUDString& text, int32_t line) {
  if (line < 0 || static_cast<size_t>(line) >= text.LineWidths.size()) return 0;
  const float k = GlyphScale(text);
  const int32_t width = text.LineWidths[static_cast<size_t>(line)];
  switch (text.Alignment) {
    case 1:
      return -static_cast<float>(width / 2) * k;
    case 2:
      return -static_cast<float>(width) * k;
    default:
      return 0;
  }
}

void LayoutText(const THUDString& text, std::vector<TGlyphQuad>& out) {
  out.clear();
  const float k = GlyphScale(text);
  if (k == 0) return;
  int32_t line = 0;
  float x = LineOffset(text, 0);
  for (char ch : text.Text) {
    if (ch == kLineBreak) {
      ++line;
      x = LineOffset(text, line);
      continue;
    }
    const uint8_t c = static_cast<uint8_t>(ch);
    const float advance = static_cast<float>(text.GlyphWidths[c]) * k;
    const float* g = text.GlyphCoords[c];
    out.push_back({x, text.Height * (static_cast<float>(line) - 0.5f), x + advance,
                   text.Height * (static_cast<float>(line) + 0.5f), g[0], g[1], g[2], g[3]});
    x += advance;
  }
}
