// The bitmap font: a 512 x 512 picture "fnt1" of 16 x 16 cells of 32 pixels
// (character code c in column c % 16, row c / 16, row 0 at the top) and the
// 256-byte width table "fnt1.dat".
//
// The engine draws glyph c from a box of width w = widths[c] + 2 centred in
// its cell (margin (32 - w) / 2, rounded toward zero) and never uses the
// first pixel row of a cell. Widths are therefore kept even, so the box is
// exactly w pixels and the glyph's ink, centred in it, lands on whole pixels.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TArtArchive;

constexpr int kFontCell = 32;
constexpr int kFontSize = 512;
constexpr int kFontBaseline = 24;  // pixel row of the baseline inside a cell

// The cp1251 codes that get a glyph: printable ASCII, Cyrillic letters with
// Ё and ё, and the usual typographic punctuation.
std::vector<int> FontCharacters();

// Paints "fnt1" into the archive with the TrueType font at `fontPath` and
// returns the width table.
std::array<uint8_t, 256> BuildFont(TArtArchive& archive, const std::string& fontPath);

// Writes the width table as a 256-byte file.
void WriteFontWidths(const std::array<uint8_t, 256>& widths, const std::string& path);
