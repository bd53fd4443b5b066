// Checks of the demo art generator: the font's glyph placement against the
// way the engine cuts glyphs from cells, the caption table, the archive
// collector's rules and manifest, the hero's frames and chains, the location
// archives' chains and speech bubbles, and that the output does not change
// from run to run.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "art_common.h"
#include "cabin_art.h"
#include "captions.h"
#include "font_art.h"
#include "hero_art.h"
#include "location_art.h"
#include "prop_art.h"
#include "system_art.h"

namespace {

namespace fs = std::filesystem;

struct TTempDir {
  fs::path Path;
  explicit TTempDir(const std::string& tag) {
    Path = fs::temp_directory_path() / ("demo_art_test_" + tag + "_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(Path);
    fs::create_directories(Path);
  }
  ~TTempDir() { fs::remove_all(Path); }
};

// Alpha of every pixel of a PNG, top row first.
struct TAlphaMap {
  int Width = 0, Height = 0;
  std::vector<uint8_t> A;
  uint8_t At(int x, int y) const { return A[static_cast<size_t>(y) * Width + x]; }
};

TAlphaMap LoadAlpha(const fs::path& file) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(file.c_str());
  EXPECT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS) << file;
  TAlphaMap m;
  m.Width = cairo_image_surface_get_width(s);
  m.Height = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s);
  const uint8_t* data = cairo_image_surface_get_data(s);
  const bool hasAlpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
  for (int y = 0; y < m.Height; ++y)
    for (int x = 0; x < m.Width; ++x) m.A.push_back(hasAlpha ? data[static_cast<size_t>(y) * stride + 4 * x + 3] : 255);
  cairo_surface_destroy(s);
  return m;
}

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(DemoFont, GlyphsStayInsideTheBoxTheEngineSamples) {
  TTempDir dir("font");
  TArtArchive archive("t", dir.Path.string());
  const std::array<uint8_t, 256> widths = BuildFont(archive, DEMO_FONT);
  const TAlphaMap pic = LoadAlpha(dir.Path / "fnt1.png");
  ASSERT_EQ(pic.Width, kFontSize);
  ASSERT_EQ(pic.Height, kFontSize);

  const std::vector<int> codes = FontCharacters();
  const std::set<int> covered(codes.begin(), codes.end());
  for (int c = 0; c < 256; ++c) {
    const int cx = (c % 16) * kFontCell, cy = (c / 16) * kFontCell;
    const int w = widths[static_cast<size_t>(c)] + 2, m = (kFontCell - w) / 2;
    int minX = kFontCell, maxX = -1, inkRows = 0;
    for (int y = 0; y < kFontCell; ++y) {
      bool rowInk = false;
      for (int x = 0; x < kFontCell; ++x) {
        if (pic.At(cx + x, cy + y) == 0) continue;
        rowInk = true;
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        EXPECT_GE(y, 1) << "code " << c << " uses the cell's first row, which is never drawn";
        EXPECT_TRUE(x >= m && x < kFontCell - m) << "code " << c << " has ink at column " << x
                                                  << " outside the sampled box [" << m << ", " << kFontCell - m << ")";
      }
      inkRows += rowInk;
    }
    if (!covered.count(c)) {
      EXPECT_EQ(widths[static_cast<size_t>(c)], 0) << "code " << c;
      EXPECT_EQ(inkRows, 0) << "code " << c;
      continue;
    }
    EXPECT_EQ(widths[static_cast<size_t>(c)] % 2, 0) << "odd width squeezes glyph " << c;
    EXPECT_LE(widths[static_cast<size_t>(c)], 28) << "code " << c;
    if (c == ' ') {
      EXPECT_GT(widths[' '], 0);
      EXPECT_EQ(inkRows, 0);
      continue;
    }
    ASSERT_GT(inkRows, 0) << "code " << c << " has no glyph";
    // Centred: the gaps on either side differ by at most one pixel.
    EXPECT_LE(std::abs((minX - m) - (kFontCell - m - 1 - maxX)), 1) << "code " << c << " is not centred";
  }
  // Letters share one baseline: the bottom rows of 'H' and 'Н' (cp1251 0xCD) match.
  auto bottom = [&](int c) {
    for (int y = kFontCell - 1; y >= 0; --y)
      for (int x = 0; x < kFontCell; ++x)
        if (pic.At((c % 16) * kFontCell + x, (c / 16) * kFontCell + y) > 128) return y;
    return -1;
  };
  EXPECT_EQ(bottom('H'), bottom(0xCD));
  EXPECT_EQ(bottom('H'), bottom('x'));
  EXPECT_LT(bottom('H'), bottom('g'));
}

TEST(DemoFont, WidthFileIsExactly256Bytes) {
  TTempDir dir("widths");
  std::array<uint8_t, 256> widths{};
  for (int i = 0; i < 256; ++i) widths[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  WriteFontWidths(widths, (dir.Path / "fnt1.dat").string());
  const std::string bytes = ReadAll(dir.Path / "fnt1.dat");
  ASSERT_EQ(bytes.size(), 256u);
  EXPECT_EQ(static_cast<uint8_t>(bytes[200]), 200);
}

TEST(DemoCaptions, RecordsAreLengthByteAndCp1251Text) {
  const std::vector<uint8_t> t = BuildCaptionTable("# comment\n\n4\tРыба\r\n64\tLast one\n");
  ASSERT_EQ(t.size(), 2112u);
  const uint8_t* rec4 = t.data() + 3 * 33;
  EXPECT_EQ(rec4[0], 4);
  EXPECT_EQ(rec4[1], 0xD0);  // Р
  EXPECT_EQ(rec4[2], 0xFB);  // ы
  EXPECT_EQ(rec4[3], 0xE1);  // б
  EXPECT_EQ(rec4[4], 0xE0);  // а
  EXPECT_EQ(rec4[5], 0);
  EXPECT_EQ(t[63 * 33], 8);
  EXPECT_EQ(t[0], 0) << "an item without a line has an empty caption";
}

TEST(DemoCaptions, BadLinesAreRejectedWithTheirLineNumber) {
  const char* bad[] = {
      "0\tzero",                                    // id below 1
      "65\ttoo far",                                // id above 64
      "3\ta\n3\tb",                                 // repeated id
      "x\tnot a number",                            // id not a number
      "5 no tab",                                   // no tab
      "2\tabcdefghijklmnopqrstuvwxyz0123456",       // 33 bytes
      "1\t\xE2\x9C\x93",                            // U+2713 has no cp1251 form
  };
  for (const char* text : bad) {
    try {
      BuildCaptionTable(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("line"), std::string::npos) << e.what();
    }
  }
  // 32 Cyrillic letters are 32 bytes in cp1251 (64 in UTF-8) and fit.
  std::string longest = "1\t";
  for (int i = 0; i < 32; ++i) longest += "Ж";
  EXPECT_EQ(BuildCaptionTable(longest)[0], 32);
}

TEST(DemoCaptions, ShippedSourceNamesEveryItem) {
  const std::vector<uint8_t> t = BuildCaptionTable(ReadAll(DEMO_CAPTIONS));
  for (int id = 1; id <= kItemCount; ++id) EXPECT_GT(t[static_cast<size_t>(id - 1) * 33], 0) << "item " << id;
}

TEST(DemoComments, RecordKHoldsCommentKAndTheShippedTextsFit) {
  const std::vector<uint8_t> t = BuildCommentTable("1\tПривет\n2047\tlast\n");
  ASSERT_EQ(t.size(), 524288u);
  EXPECT_EQ(t[0], 0) << "comment 0 is never shown";
  EXPECT_EQ(t[256], 6);
  EXPECT_EQ(t[257], 0xCF);  // П
  EXPECT_EQ(t[2047 * 256], 4);
  EXPECT_THROW(BuildCommentTable("0\tzero"), std::runtime_error);
  EXPECT_THROW(BuildCommentTable("2048\ttoo far"), std::runtime_error);
  EXPECT_THROW(BuildCommentTable("3\t" + std::string(256, 'x')), std::runtime_error);
  EXPECT_EQ(BuildCommentTable("3\t" + std::string(255, 'x'))[3 * 256], 255);
  const std::vector<uint8_t> shipped = BuildCommentTable(ReadAll(DEMO_COMMENTS));
  EXPECT_GT(shipped[256], 0) << "the demo's first line has a text";
}

TEST(DemoArchive, NamesAreCheckedAndTheManifestDescribesEachPicture) {
  TTempDir dir("archive");
  TArtArchive archive("title", dir.Path.string());
  TCanvas c(8, 4);
  archive.Add("opaque", c, false);
  TArtImage& anim = archive.Add("frame_a", c);
  anim.Next = "frame_a";
  anim.FrameTime = 120;
  EXPECT_THROW(archive.Add("frame_a", c), std::runtime_error) << "duplicate name";
  EXPECT_THROW(archive.Add(std::string(31, 'n'), c), std::runtime_error) << "31-byte name";
  EXPECT_NO_THROW(archive.Add(std::string(30, 'n'), c));
  archive.WriteManifest();

  const auto doc = nlohmann::json::parse(ReadAll(dir.Path / "manifest.json"));
  EXPECT_EQ(doc["title"], "title");
  ASSERT_EQ(doc["images"].size(), 3u);
  const auto& opaque = doc["images"][0];
  EXPECT_EQ(opaque["name"], "opaque");
  EXPECT_EQ(opaque["bits"], 24);
  EXPECT_EQ(opaque["blend"], 1);
  EXPECT_EQ(opaque["section"], "bmp");
  const auto& frame = doc["images"][1];
  EXPECT_EQ(frame["bits"], 32);
  EXPECT_EQ(frame["blend"], 2) << "alpha pictures need the transparency blend";
  EXPECT_EQ(frame["next"], "frame_a");
  EXPECT_EQ(frame["frame_time"], 120);
  EXPECT_TRUE(fs::exists(dir.Path / frame["file"].get<std::string>()));
}

TEST(DemoSystemArt, FaderComesFirstAndOutputIsRepeatable) {
  TTempDir a("sys_a"), b("sys_b");
  TArtArchive first("system", a.Path.string()), second("system", b.Path.string());
  BuildSystemArt(first);
  BuildSystemArt(second);
  ASSERT_FALSE(first.Images().empty());
  EXPECT_EQ(first.Images()[0].Name, "absblack");
  EXPECT_EQ(first.Images()[0].BlendCode, 2) << "the fade works through the material's alpha";
  std::set<std::string> names;
  for (const TArtImage& i : first.Images()) {
    names.insert(i.Name);
    EXPECT_EQ(i.Width % 4, 0) << i.Name << ": widths off a multiple of 4 lose their alpha";
    EXPECT_EQ(ReadAll(a.Path / i.File), ReadAll(b.Path / i.File)) << i.Name << " differs between runs";
  }
  for (const char* n : {"cursor00", "cursor01", "cursor05", "menubo", "menubm", "subpanel", "mbl_bgr1", "mbl_bgr2",
                        "mbl_bgr3", "mbl_shad_01", "mbl_shad_02", "locpa_01", "locpa_10", "p_feet_0000",
                        "p_feet_0007", "inv_tb", "inv_001", "inv_006"})
    EXPECT_TRUE(names.count(n)) << n;
  // The pointer's hot point (10, 10) is on the arrow's tip.
  EXPECT_GT(LoadAlpha(a.Path / "cursor01.png").At(10, 11), 0);
}

// Each location archive as the generator makes it: every animation's next
// frame is in the same archive (a missing one freezes the object), every
// width keeps its alpha, and every location has the hero's speech bubbles.
TEST(DemoLocationArt, ChainsStayInsideTheirArchiveAndEveryLocationCanSpeak) {
  TTempDir lakeDir("lake"), forestDir("forest"), cabinDir("cabin");
  TArtArchive lake("loc_lake", lakeDir.Path.string()), forest("loc_forest", forestDir.Path.string()),
      cabin("loc_cabin", cabinDir.Path.string());
  BuildLakeArt(lake, DEMO_FONT);
  BuildLakeProps(lake, DEMO_FONT);
  BuildSpeechBubbles(lake, DEMO_FONT);
  BuildForestArt(forest, DEMO_FONT);
  BuildForestProps(forest);
  BuildSpeechBubbles(forest, DEMO_FONT);
  BuildCabinArt(cabin);
  BuildSpeechBubbles(cabin, DEMO_FONT);
  for (const TArtArchive* a : {&lake, &forest, &cabin}) {
    std::set<std::string> names;
    for (const TArtImage& i : a->Images()) names.insert(i.Name);
    for (const TArtImage& i : a->Images()) {
      EXPECT_EQ(i.Width % 4, 0) << i.Name;
      if (!i.Next.empty()) {
        EXPECT_TRUE(names.count(i.Next)) << i.Name << " -> missing " << i.Next;
        EXPECT_GT(i.FrameTime, 0) << i.Name;
      }
    }
    for (int k = 0; k < kSpeechLineCount; ++k) EXPECT_TRUE(names.count(kSpeechLines[k].Name)) << kSpeechLines[k].Name;
  }
  // Animations that play once end on an empty picture, so the object is
  // gone until the script starts them again.
  for (const char* last : {"fish_end", "splash_end"}) {
    const TAlphaMap end = LoadAlpha(lakeDir.Path / (std::string(last) + ".png"));
    EXPECT_EQ(std::count(end.A.begin(), end.A.end(), 0), static_cast<long>(end.A.size())) << last;
  }
}

TEST(DemoHero, RingAndHeadingsMatchTheEngine) {
  const int ring[8] = {1, 5, 2, 6, 0, 4, 3, 7};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(HeroRingNext(ring[i]), ring[(i + 1) % 8]);
  EXPECT_EQ(HeroDirectionHeading(0), 180);
  EXPECT_EQ(HeroDirectionHeading(2), 90);
  EXPECT_EQ(HeroDirectionHeading(7), 315);
}

TEST(DemoHero, FramesChainAndStandOnTheFeetPoint) {
  TTempDir dir("hero");
  TArtArchive archive("person", dir.Path.string());
  BuildHeroArt(archive);
  std::map<std::string, const TArtImage*> byName;
  for (const TArtImage& i : archive.Images()) byName[i.Name] = &i;
  EXPECT_EQ(byName.size(), 8u * 5 + 8 + 8 + 4 + 3);
  for (const TArtImage& i : archive.Images()) {
    if (i.Next.empty()) continue;
    EXPECT_TRUE(byName.count(i.Next)) << i.Name << " -> missing " << i.Next;
    EXPECT_GT(i.FrameTime, 0) << i.Name;
  }
  for (int d = 0; d < 8; ++d) {
    // Each walk chain visits its five frames and comes back.
    std::string at = "h_walk_" + std::to_string(d) + "_0";
    std::set<std::string> seen;
    for (int k = 0; k < 5; ++k) {
      ASSERT_TRUE(byName.count(at)) << at;
      seen.insert(at);
      at = byName[at]->Next;
    }
    EXPECT_EQ(at, "h_walk_" + std::to_string(d) + "_0");
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_TRUE(byName.count("h_stand_" + std::to_string(d)));
    EXPECT_TRUE(byName.count("h_turn_" + std::to_string(d)));
  }

  // Feet on (64, 122); facing left and facing right are mirror images.
  const TAlphaMap left = LoadAlpha(dir.Path / "h_stand_0.png"), right = LoadAlpha(dir.Path / "h_stand_1.png");
  const TAlphaMap front = LoadAlpha(dir.Path / "h_stand_3.png");
  int lowest = -1;
  double sum = 0, weight = 0;
  for (int y = 0; y < kHeroFrame; ++y)
    for (int x = 0; x < kHeroFrame; ++x)
      if (front.At(x, y) > 200) lowest = y, sum += x, weight += 1;
  EXPECT_NEAR(lowest, kHeroFeetY, 4);
  EXPECT_NEAR(sum / weight, kHeroFeetX, 2);
  int differ = 0, solid = 0;
  for (int y = 0; y < kHeroFrame; ++y) {
    for (int x = 0; x < kHeroFrame; ++x) {
      const bool l = left.At(x, y) > 128, r = right.At(kHeroFrame - 1 - x, y) > 128;
      solid += l;
      differ += l != r;
    }
  }
  EXPECT_LT(differ, solid / 20) << "left and right frames are not mirror images";
}

}  // namespace
