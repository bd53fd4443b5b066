#include "menu_art.h"

#include <cmath>
#include <cstdio>

#include "art_common.h"
#include "sign_font.h"

namespace {

constexpr int kPage = 1024;  // the engine shows the top-left 800 x 600

const TRgb kNight = Hex(0x10182c), kDusk = Hex(0x3a3050), kGold = Hex(0xf0d890), kPaper = Hex(0xe8dcc0);

void Lettering(cairo_t* cr, TSignFont& font, const std::string& text, double x, double y, double size, TRgb c,
               double alpha = 1.0) {
  cairo_set_font_face(cr, font.Cairo);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  // A soft dark rim keeps the letters readable on any background.
  cairo_move_to(cr, x - e.width / 2 - e.x_bearing, y - e.height / 2 - e.y_bearing);
  cairo_text_path(cr, text.c_str());
  SetColor(cr, Hex(0x000000), 0.6 * alpha);
  cairo_set_line_width(cr, size / 8);
  cairo_stroke_preserve(cr);
  SetColor(cr, c, alpha);
  cairo_fill(cr);
}

struct TEntryLabel {
  const char* Name;
  const char* Label;
  double X, Y;
};
// Where the main page puts its entries (the centres of their pictures).
constexpr TEntryLabel kEntryLabels[] = {{"m_but_01", "New game", 382, 127},
                                        {"m_but_03", "Save", 380, 160},
                                        {"m_but_02", "Load", 384, 203},
                                        {"m_but_04", "Authors", 394, 252},
                                        {"m_but_05", "Quit", 406, 292}};

void MainBackground(TArtArchive& a, TSignFont& font) {
  TCanvas c(kPage, kPage);
  FillVerticalGradient(*c, 0, 0, kPage, 600, {kNight, kDusk, Hex(0x6a4a58)});
  TArtRandom rnd(7);
  for (int i = 0; i < 160; ++i) Glow(*c, rnd.Range(0, 800), rnd.Range(0, 330), rnd.Range(1, 2.5), kPaper, 0.8);
  Glow(*c, 640, 120, 60, kPaper, 0.5);
  SoftEllipse(*c, 640, 120, 28, 28, kPaper, 0.95, 2);
  SetColor(*c, Hex(0x0a0c14));
  RidgePath(*c, rnd, 0, 800, 470, 40, 25, 600);
  cairo_fill(*c);
  SetColor(*c, Hex(0x182838), 0.8);
  cairo_rectangle(*c, 0, 520, 800, 80);
  cairo_fill(*c);
  Lettering(*c, font, "The Lake at Dusk", 400, 52, 40, kGold);
  // The entries unlit; the entry pictures light them under the pointer.
  for (const TEntryLabel& e : kEntryLabels) Lettering(*c, font, e.Label, e.X, e.Y, 22, kPaper, 0.7);
  AddGrain(c.Surface.get(), 11, 0.02);
  a.Add("m_bgr", c, false);
}

// A translucent card over the background with the page's title.
void PageCard(TArtArchive& a, TSignFont& font, const char* name, const char* title) {
  TCanvas c(kPage, kPage);
  SetColor(*c, Hex(0x000000), 0.55);
  cairo_rectangle(*c, 60, 90, 680, 450);
  cairo_fill(*c);
  SetColor(*c, kGold, 0.8);
  cairo_set_line_width(*c, 3);
  cairo_rectangle(*c, 60, 90, 680, 450);
  cairo_stroke(*c);
  Lettering(*c, font, title, 400, 125, 30, kGold);
  a.Add(name, c);
}

// The entries are 256 x 128 pictures; only the lettering shows, lit, while
// the pointer is over the entry.
void Entry(TArtArchive& a, TSignFont& font, const char* name, const char* label) {
  TCanvas c(256, 128);
  Glow(*c, 128, 64, 60, kGold, 0.25);
  Lettering(*c, font, label, 128, 64, 24, Hex(0xfff4c8));
  a.Add(name, c);
}

void BackButton(TArtArchive& a, TSignFont& font, const char* name, bool lit) {
  TCanvas c(128, 128);
  SoftEllipse(*c, 64, 64, 50, 50, lit ? kGold : kDusk, 0.85, 3);
  cairo_move_to(*c, 40, 64);
  cairo_line_to(*c, 74, 40);
  cairo_line_to(*c, 74, 88);
  cairo_close_path(*c);
  SetColor(*c, lit ? kNight : kPaper);
  cairo_fill(*c);
  Lettering(*c, font, "Back", 64, 108, 16, lit ? kNight : kPaper);
  a.Add(name, c);
}

// Slot pictures: 0 an empty frame; 1..12 a small view of the place the game
// was saved in (the number a location gives the menu before a save).
void Slot(TArtArchive& a, TSignFont& font, int picture, bool lit) {
  TCanvas c(64, 64);
  if (picture == 0) {
    SetColor(*c, Hex(0x000000), 0.35);
    cairo_rectangle(*c, 4, 4, 56, 56);
    cairo_fill(*c);
  } else {
    const double hue = picture / 12.0;
    FillVerticalGradient(*c, 4, 4, 56, 40, {Mix(kNight, Hex(0x4070a0), hue), Mix(kDusk, Hex(0xd08050), hue)});
    SetColor(*c, Mix(Hex(0x102018), Hex(0x283818), hue));
    cairo_rectangle(*c, 4, 40, 56, 20);
    cairo_fill(*c);
    char label[8];
    std::snprintf(label, sizeof label, "%d", picture);
    Lettering(*c, font, label, 32, 30, 18, kPaper);
  }
  SetColor(*c, lit ? kGold : kPaper, lit ? 1.0 : 0.6);
  cairo_set_line_width(*c, lit ? 4 : 2);
  cairo_rectangle(*c, 4, 4, 56, 56);
  cairo_stroke(*c);
  char name[16];
  std::snprintf(name, sizeof name, "%ssav%02d", lit ? "L" : "", picture);
  a.Add(name, c);
}

}  // namespace

void BuildMenuArt(TArtArchive& archive, const std::string& boldFont) {
  TSignFont font(boldFont);
  {
    TCanvas c(64, 64);
    cairo_set_source_rgb(*c, 0, 0, 0);
    cairo_paint(*c);
    archive.Add("absblack", c, false);
  }
  MainBackground(archive, font);
  PageCard(archive, font, "m_loa_bg", "Load a game");
  PageCard(archive, font, "m_sav_bg", "Save the game");
  {
    TCanvas c(kPage, kPage);
    SetColor(*c, Hex(0x000000), 0.55);
    cairo_rectangle(*c, 60, 90, 680, 450);
    cairo_fill(*c);
    Lettering(*c, font, "Authors", 400, 125, 30, kGold);
    const char* lines[] = {"A small adventure made to show the engine", "Pictures, voices and music made by code",
                           "Thank you for playing"};
    for (int i = 0; i < 3; ++i) Lettering(*c, font, lines[i], 400, 220 + 60 * i, 22, kPaper);
    archive.Add("m_aut_bg", c);
  }
  for (const TEntryLabel& e : kEntryLabels) Entry(archive, font, e.Name, e.Label);
  BackButton(archive, font, "m_butb1", false);
  BackButton(archive, font, "m_butb2", true);
  for (int p = 0; p <= 12; ++p) {
    Slot(archive, font, p, false);
    Slot(archive, font, p, true);
  }
}
