// Screen text drawn glyph by glyph from a bitmap font: one square texture of
// 16x16 cells (character code c in column c mod 16, row c div 16, row 0 at the
// top) and a 256-byte file of glyph widths. Text is cp1251, so character codes
// are the bytes of the string; character 13 separates lines.
//
// Two scales meet here: widths are kept in font pixels (pixels of the font
// picture), and drawing multiplies them by Height / CellSize to get screen
// pixels. Height is the line height; Width plays no part in drawing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "render/nodes.h"

class THUDString : public THUDSprite {
 public:
  THUDString() { SetSize(16, 32); }
  TNodeKind Kind() const override { return TNodeKind::Text; }

  // Per character code: left s, bottom t, right s, top t.
  float GlyphCoords[256][4] = {};
  // Per character code: the width byte plus 2, the advance in font pixels.
  uint8_t GlyphWidths[256] = {};
  int32_t CellSize = 0;  // font picture side div 16; 0 until a font is loaded
  std::vector<int32_t> LineWidths;  // font pixels, one per line of Text
  int32_t LineCount = 0;
  int32_t WrapWidth = 0;  // screen pixels, the width of the last wrap
  std::string Text;
  uint8_t Alignment = 0;  // 0 left, 1 centred, 2 right
};

// Reads the width file (a game path, case-insensitive) and lays out the glyph
// cells of a font picture `size` pixels square. A missing file throws the open
// error; a short one leaves the unread widths at 0 (advance 2). A size below 16
// has no cells and is refused with EGameError.
void LoadFont(THUDString& text, const std::string& widthFile, int32_t size,
              const std::filesystem::path& base = ".");
// The same from the width bytes already in memory.
void LoadFontWidths(THUDString& text, std::span<const uint8_t> widths, int32_t size);

// Stores the text and measures its lines, without wrapping.
void SetText(THUDString& text, const std::string& value);
// Stores the text and breaks it at spaces so that lines fit `width` screen pixels.
void SetTextWrapped(THUDString& text, const std::string& value, int32_t width);
const std::string& GetText(const THUDString& text);
// Breaks the stored text in place; a word wider than `width` stays whole.
void WrapText(THUDString& text, int32_t width);
// Where line `line` starts, in screen pixels from Position x; 0 for a line
// that does not exist.
float LineOffset(const THUDString& text, int32_t line);
// Screen pixels per font pixel: Height / CellSize, 0 without a font.
float GlyphScale(const THUDString& text);

// One glyph rectangle relative to the text's Position, before rotation, in
// screen pixels with y downwards; S0/T0 belong to the bottom-left corner and
// S1/T1 to the top-right one.
struct TGlyphQuad {
  float Left, Top, Right, Bottom;
  float S0, T0, S1, T1;
};
// The rectangles the text draws, in order; `out` is cleared first.
void LayoutText(const THUDString& text, std::vector<TGlyphQuad>& out);
