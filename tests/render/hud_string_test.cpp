#include "render/hud_string.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/game_error.h"
#include "support/scratch_dir.h"

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
  MakeText(t, 32, Widths(0, {{'A', 20}, {'A' + 16, 40}, {255, 10}}));
  EXPECT_EQ(std::tuple(t.CellSize, t.GlyphWidths[0], t.GlyphWidths['A']), std::tuple(32, 2, 22))
      << "a zero width still advances 2";
  auto cell = [&](uint8_t c) { return std::vector<float>(t.GlyphCoords[c], t.GlyphCoords[c] + 4); };
  // Left, bottom, right, top in the 512-pixel picture (t counts upwards).
  // 'A' = 65: column 1, row 4, margin (32 - 22) / 2 = 5; 'A' + 16 is wider
  // than its cell, its margin -5 truncated toward zero; 255: the last cell,
  // margin (32 - 12) / 2 = 10.
  EXPECT_EQ(cell('A'), (std::vector<float>{37 / 512.0f, 1 - 160 / 512.0f, 59 / 512.0f, 1 - 129 / 512.0f}));
  EXPECT_EQ(cell('A' + 16), (std::vector<float>{27 / 512.0f, 1 - 192 / 512.0f, 69 / 512.0f, 1 - 161 / 512.0f}));
  EXPECT_EQ(cell(255), (std::vector<float>{490 / 512.0f, 0, 502 / 512.0f, 1 - 481 / 512.0f}));
}

TEST(HudFont, OddMarginTruncatesSmallPicturesAndWidthFiles) {
  THUDString t;
  MakeText(t, 16, Widths(7), 256);  // cell 16, advance 9, margin 3
  EXPECT_EQ(t.CellSize, 16);
  EXPECT_FLOAT_EQ(t.GlyphCoords[0][0], 3 / 256.0f);
  EXPECT_FLOAT_EQ(t.GlyphCoords[0][2], 13 / 256.0f);
  EXPECT_THROW(LoadFontWidths(t, Widths(1), 15), EGameError);
  EXPECT_THROW(LoadFontWidths(t, Widths(1), 0), EGameError);

  TScratchDir dir("font");
  dir.Write("FNT1.DAT", std::string(10, '\x05'));
  LoadFont(t, "fnt1.dat", 512, dir.Path);  // found case-insensitively
  EXPECT_EQ(t.GlyphWidths[9], 7);
  EXPECT_EQ(t.GlyphWidths[10], 2) << "bytes past the end of a short file read as 0";
  EXPECT_EQ(t.GlyphWidths[255], 2);
  try {
    LoadFont(t, "nofont.dat", 512, dir.Path);
    FAIL() << "a missing width file must throw";
  } catch (const EGameError& e) {
    EXPECT_NE(std::string(e.what()).find("Cannot open file \"nofont.dat\""), std::string::npos) << e.what();
  }
}

TEST(HudText, MeasuresLinesAndOffsetsThemByAlignment) {
  THUDString t;
  MakeText(t, 16, Widths(8, {{'a', 10}, {'b', 12}, {0xC0, 30}}));  // k = 0.5
  // Bytes of cp1251 letters are character codes, not negative numbers.
  const std::pair<std::string, std::vector<int32_t>> texts[] = {
      {"ab", {26}}, {"", {0}}, {"a\rbb\r", {12, 28, 0}}, {"\xC0\xC0", {64}}};
  for (const auto& [text, widths] : texts) {
    SetText(t, text);
    EXPECT_EQ(t.LineWidths, widths) << text;
    EXPECT_EQ(t.LineCount, static_cast<int32_t>(widths.size())) << text;
    EXPECT_EQ(GetText(t), text);
  }
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
  MakeText(t, 16, Widths(8, {{'a', 10}, {'b', 12}, {0xE0, 10}}));
  t.Alignment = 1;
  SetText(t, "ab\r\xE0");
  std::vector<TGlyphQuad> q;
  LayoutText(t, q);
  ASSERT_EQ(q.size(), 3u);
  // Left, top, right, bottom; the second line is centred on its own width
  // and one line height lower.
  const float boxes[3][4] = {{-6.5f, -8, -0.5f, 8}, {-0.5f, -8, 6.5f, 8}, {-3, 8, 3, 24}};
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ((std::vector<float>{q[i].Left, q[i].Top, q[i].Right, q[i].Bottom}),
              std::vector<float>(boxes[i], boxes[i] + 4)) << "glyph " << i;
  EXPECT_FLOAT_EQ(q[2].S0, t.GlyphCoords[0xE0][0]);
  EXPECT_FLOAT_EQ(q[2].T1, t.GlyphCoords[0xE0][3]);

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
