#include "render/hud_string.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/game_error.h"

namespace {

// A font whose every width byte is `width`, except the ones given.
std::vector<uint8_t> Widths(uint8_t width, std::initializer_list<std::pair<uint8_t, uint8_t>> except = {}) {
  std::vector<uint8_t> w(256, width);
  for (auto [c, v] : except) w[c] = v;
  return w;
}

void MakeText(THUDString& t, float height, const std::vector<uint8_t>& widths, int32_t size = 512) {
  t.Height = height;
  LoadFontWidths(t, widths, size);
}

}  // namespace

TEST(HudFont, GlyphCellsAndAdvances) {
  THUDString t;
  MakeText(t, 32, Widths(0, {{'A', 20}, {0x41 + 16, 40}, {255, 10}}));
  EXPECT_EQ(t.CellSize, 32);
  EXPECT_EQ(t.GlyphWidths[0], 2) << "a zero width still advances 2";
  EXPECT_EQ(t.GlyphWidths['A'], 22);
  // 'A' = 65: column 1, row 4; margin (32 - 22) / 2 = 5.
  EXPECT_FLOAT_EQ(t.GlyphCoords['A'][0], (32 + 5) / 512.0f);
  EXPECT_FLOAT_EQ(t.GlyphCoords['A'][2], (64 - 5) / 512.0f);
  EXPECT_FLOAT_EQ(t.GlyphCoords['A'][1], 1 - 5 * 32 / 512.0f);
  EXPECT_FLOAT_EQ(t.GlyphCoords['A'][3], 1 - (4 * 32 + 1) / 512.0f);
  // Wider than the cell: the margin is negative and truncates toward zero.
  const uint8_t wide = 0x41 + 16;  // advance 42, margin -5
  EXPECT_FLOAT_EQ(t.GlyphCoords[wide][0], (1 * 32 - 5) / 512.0f);
  EXPECT_FLOAT_EQ(t.GlyphCoords[wide][2], (2 * 32 + 5) / 512.0f);
  // Code 255: last column, last row; margin (32 - 12) / 2 = 10.
  EXPECT_FLOAT_EQ(t.GlyphCoords[255][0], (15 * 32 + 10) / 512.0f);
  EXPECT_FLOAT_EQ(t.GlyphCoords[255][1], 0.0f);
}

TEST(HudFont, OddMarginTruncatesAndSmallPictures) {
  THUDString t;
  MakeText(t, 16, Widths(7), 256);  // cell 16, advance 9, margin 3
  EXPECT_EQ(t.CellSize, 16);
  EXPECT_FLOAT_EQ(t.GlyphCoords[0][0], 3 / 256.0f);
  EXPECT_FLOAT_EQ(t.GlyphCoords[0][2], 13 / 256.0f);
  THUDString bad;
  EXPECT_THROW(LoadFontWidths(bad, Widths(1), 15), EGameError);
  EXPECT_THROW(LoadFontWidths(bad, Widths(1), 0), EGameError);
}

TEST(HudFont, ShortAndMissingWidthFiles) {
  const auto dir = std::filesystem::temp_directory_path() / ("qvx_font_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  {
    std::ofstream f(dir / "FNT1.DAT", std::ios::binary);
    f << std::string(10, '\x05');
  }
  THUDString t;
  LoadFont(t, "fnt1.dat", 512, dir);  // found case-insensitively
  EXPECT_EQ(t.GlyphWidths[9], 7);
  EXPECT_EQ(t.GlyphWidths[10], 2) << "bytes past the end of a short file read as 0";
  EXPECT_EQ(t.GlyphWidths[255], 2);
  try {
    LoadFont(t, "nofont.dat", 512, dir);
    FAIL() << "a missing width file must throw";
  } catch (const EGameError& e) {
    EXPECT_NE(std::string(e.what()).find("Cannot open file \"nofont.dat\""), std::string::npos) << e.what();
  }
  std::filesystem::remove_all(dir);
}

TEST(HudText, MeasuresLines) {
  THUDString t;
  MakeText(t, 16, Widths(8, {{'a', 10}, {'b', 12}}));
  SetText(t, "ab");
  ASSERT_EQ(t.LineCount, 1);
  EXPECT_EQ(t.LineWidths[0], 26);
  SetText(t, "");
  ASSERT_EQ(t.LineCount, 1);
  EXPECT_EQ(t.LineWidths[0], 0);
  SetText(t, "a\rbb\r");
  ASSERT_EQ(t.LineCount, 3);
  EXPECT_EQ(t.LineWidths, (std::vector<int32_t>{12, 28, 0}));
  EXPECT_EQ(GetText(t), "a\rbb\r");
}

TEST(HudText, LineOffsetsByAlignment) {
  THUDString t;
  MakeText(t, 16, Widths(8, {{'a', 10}, {'b', 12}}));  // k = 0.5
  SetText(t, "ab\ra");
  EXPECT_EQ(LineOffset(t, 0), 0);
  t.Alignment = 1;
  EXPECT_FLOAT_EQ(LineOffset(t, 0), -6.5f);  // 26 div 2 = 13, times 0.5
  EXPECT_FLOAT_EQ(LineOffset(t, 1), -3.0f);
  t.Alignment = 2;
  EXPECT_FLOAT_EQ(LineOffset(t, 0), -13.0f);
  EXPECT_EQ(LineOffset(t, 2), 0) << "a line that does not exist";
  EXPECT_EQ(LineOffset(t, -1), 0);
  // Odd widths lose the half before scaling.
  SetText(t, "aab");  // 38
  t.Alignment = 1;
  EXPECT_FLOAT_EQ(LineOffset(t, 0), -9.5f);
}

TEST(HudText, LayoutPlacesGlyphsPerLine) {
  THUDString t;
  MakeText(t, 16, Widths(8, {{'a', 10}, {'b', 12}}));
  t.Alignment = 1;
  SetText(t, "ab\ra");
  std::vector<TGlyphQuad> q;
  LayoutText(t, q);
  ASSERT_EQ(q.size(), 3u);
  EXPECT_FLOAT_EQ(q[0].Left, -6.5f);
  EXPECT_FLOAT_EQ(q[0].Right, -0.5f);
  EXPECT_FLOAT_EQ(q[1].Left, -0.5f);
  EXPECT_FLOAT_EQ(q[1].Right, 6.5f);
  EXPECT_FLOAT_EQ(q[0].Top, -8);
  EXPECT_FLOAT_EQ(q[0].Bottom, 8);
  // The second line is centred on its own width and one line height lower.
  EXPECT_FLOAT_EQ(q[2].Left, -3);
  EXPECT_FLOAT_EQ(q[2].Right, 3);
  EXPECT_FLOAT_EQ(q[2].Top, 8);
  EXPECT_FLOAT_EQ(q[2].Bottom, 24);
  EXPECT_FLOAT_EQ(q[2].S0, t.GlyphCoords['a'][0]);
  EXPECT_FLOAT_EQ(q[2].T1, t.GlyphCoords['a'][3]);

  SetText(t, "");
  LayoutText(t, q);
  EXPECT_TRUE(q.empty());
  THUDString noFont;
  SetText(noFont, "abc");
  LayoutText(noFont, q);
  EXPECT_TRUE(q.empty()) << "without a font there is no glyph scale";
}

TEST(HudText, WrapsAtLastSpaceBeforeOverflow) {
  // Advance 20 font pixels at k = 0.5: 10 screen pixels per character.
  THUDString t;
  MakeText(t, 16, Widths(18));
  SetTextWrapped(t, "aaa bbb ccc", 75);
  EXPECT_EQ(GetText(t), "aaa\rbbb ccc");
  EXPECT_EQ(t.LineCount, 2);
  EXPECT_EQ(t.LineWidths, (std::vector<int32_t>{60, 140}));
  EXPECT_EQ(t.WrapWidth, 75);

  SetTextWrapped(t, "aaaaaaaaaaaa", 75);
  EXPECT_EQ(GetText(t), "aaaaaaaaaaaa") << "a word wider than the width stays whole";

  // The overflow is seen at the space after a word that just fits, and the
  // break then goes before that word.
  SetTextWrapped(t, "aa bb cc dd ee ff", 50);
  EXPECT_EQ(GetText(t), "aa\rbb\rcc\rdd\ree ff");

  SetTextWrapped(t, "aaa\rbbbbb ccc", 75);
  EXPECT_EQ(GetText(t), "aaa\rbbbbb\rccc") << "an existing break restarts the running width";

  // Spaces just before the overflow are trimmed, not broken at; the next
  // overflow goes back through the whole segment and finds the last space.
  SetTextWrapped(t, "aaaa   bbbbb", 75);
  EXPECT_EQ(GetText(t), "aaaa  \rbbbbb");
}

TEST(HudText, WrapLeavesDegenerateSegmentsUnbroken) {
  // One glyph wider than the width at the start of the text and after a break.
  THUDString t;
  MakeText(t, 32, Widths(0, {{'W', 98}, {'a', 8}}));  // k = 1
  SetTextWrapped(t, "W a", 50);
  EXPECT_EQ(GetText(t), "W a");
  SetTextWrapped(t, "a\rW", 50);
  EXPECT_EQ(GetText(t), "a\rW");
  SetTextWrapped(t, "   W", 50);
  EXPECT_EQ(GetText(t), "   W") << "a segment of spaces only is not broken";
  SetTextWrapped(t, "", 50);
  EXPECT_EQ(GetText(t), "");
  EXPECT_EQ(t.LineCount, 1);
}

TEST(HudText, Cp1251BytesAreCharacterCodes) {
  THUDString t;
  MakeText(t, 32, Widths(0, {{0xC0, 30}, {0xFF, 10}}));
  SetText(t, "\xC0\xFF");
  EXPECT_EQ(t.LineWidths[0], 32 + 12);
  std::vector<TGlyphQuad> q;
  LayoutText(t, q);
  ASSERT_EQ(q.size(), 2u);
  EXPECT_FLOAT_EQ(q[0].S0, t.GlyphCoords[0xC0][0]);
  EXPECT_FLOAT_EQ(q[1].S0, t.GlyphCoords[0xFF][0]);
}
