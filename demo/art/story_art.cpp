#include "story_art.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "art_common.h"
#include "sign_font.h"

namespace {

const TRgb kInk = Hex(0x1c1a24);
const TRgb kPaper = Hex(0xf3ead6);
const TRgb kWood = Hex(0x8a5a34);
const TRgb kDarkWood = Hex(0x5a3820);
const TRgb kBrass = Hex(0xd8b060);

constexpr int kCardW = 420, kCardH = 280, kBorder = 14;

void Text(cairo_t* cr, const TSignFont& font, const std::string& text, double x, double y, double size, TRgb c) {
  cairo_set_font_face(cr, font.Cairo);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  cairo_move_to(cr, x - e.width / 2 - e.x_bearing, y - e.height / 2 - e.y_bearing);
  SetColor(cr, c);
  cairo_show_text(cr, text.c_str());
}

void Line(cairo_t* cr, double x0, double y0, double x1, double y1, TRgb c, double width) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  SetColor(cr, c);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void Pine(cairo_t* cr, double x, double base, double h, TRgb c) {
  for (int i = 0; i < 3; ++i) {
    const double top = base - h + i * h * 0.25, w = h * (0.18 + 0.08 * i);
    cairo_move_to(cr, x, top);
    cairo_line_to(cr, x + w, top + h * 0.4);
    cairo_line_to(cr, x - w, top + h * 0.4);
    cairo_close_path(cr);
  }
  SetColor(cr, c);
  cairo_fill(cr);
}

// A walker seen from the side with a rucksack, as a child would draw him.
void Walker(cairo_t* cr, double x, double base, double scale) {
  cairo_save(cr);
  cairo_translate(cr, x, base);
  cairo_scale(cr, scale, scale);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Line(cr, 0, -30, -7, 0, Hex(0x2c3a5a), 5);
  Line(cr, 0, -30, 8, 0, Hex(0x2c3a5a), 5);
  cairo_rectangle(cr, -7, -58, 14, 30);
  SetColor(cr, Hex(0xc8552e));
  cairo_fill(cr);
  cairo_rectangle(cr, -17, -56, 10, 22);
  SetColor(cr, Hex(0x4d6a3a));
  cairo_fill(cr);
  cairo_arc(cr, 0, -66, 8, 0, 2 * M_PI);
  SetColor(cr, Hex(0xf0c8a0));
  cairo_fill(cr);
  cairo_arc(cr, 0, -69, 8.5, M_PI, 2 * M_PI);
  SetColor(cr, Hex(0x2e7a78));
  cairo_fill(cr);
  cairo_restore(cr);
}

// 1: grandmother's letter on the kitchen table.
void Letter(cairo_t* cr, const TSignFont& font, double w, double h) {
  FillVerticalGradient(cr, 0, 0, w, h, {Hex(0x9a6a42), Hex(0x6e4628)});
  for (int i = 1; i < 5; ++i) Line(cr, 0, h * i / 5, w, h * i / 5 + 3, Hex(0x5a3820), 1);
  cairo_save(cr);
  cairo_translate(cr, w * 0.55, h * 0.5);
  cairo_rotate(cr, -0.08);
  cairo_rectangle(cr, -110, -80, 220, 160);
  SetColor(cr, kPaper);
  cairo_fill(cr);
  Text(cr, font, "Внучек, приезжай!", 0, -52, 17, Hex(0x2a3a7a));
  for (int i = 0; i < 5; ++i) {
    cairo_move_to(cr, -90, -22 + i * 20);
    for (int k = 0; k < 12; ++k) cairo_rel_curve_to(cr, 3, -5, 8, 5, 14, 0);
    SetColor(cr, Hex(0x2a3a7a), 0.8);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
  // The envelope it came in, with its stamp.
  cairo_save(cr);
  cairo_translate(cr, w * 0.2, h * 0.62);
  cairo_rotate(cr, 0.2);
  cairo_rectangle(cr, -60, -38, 120, 76);
  SetColor(cr, Hex(0xe4d4b0));
  cairo_fill(cr);
  cairo_move_to(cr, -60, -38);
  cairo_line_to(cr, 0, 6);
  cairo_line_to(cr, 60, -38);
  SetColor(cr, Hex(0xa08a68));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_rectangle(cr, 34, -32, 20, 24);
  SetColor(cr, Hex(0xc04040));
  cairo_fill(cr);
  cairo_restore(cr);
}

// 2: the bus to the end of the road.
void Bus(cairo_t* cr, double w, double h) {
  FillVerticalGradient(cr, 0, 0, w, h * 0.6, {Hex(0x8ab8e0), Hex(0xd8e8f0)});
  FillVerticalGradient(cr, 0, h * 0.6, w, h, {Hex(0x6a9a4a), Hex(0x4a7a38)});
  for (int i = 0; i < 9; ++i) Pine(cr, 20 + i * 48, h * 0.62, 50 + (i % 3) * 14, Hex(0x2e5a3a));
  cairo_rectangle(cr, 0, h * 0.72, w, 34);
  SetColor(cr, Hex(0x7a7a80));
  cairo_fill(cr);
  cairo_rectangle(cr, 90, h * 0.42, 200, 80);
  SetColor(cr, Hex(0xe8b83a));
  cairo_fill_preserve(cr);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  for (int i = 0; i < 5; ++i) {
    cairo_rectangle(cr, 102 + i * 36, h * 0.42 + 10, 28, 26);
    SetColor(cr, Hex(0xbfe0f0));
    cairo_fill(cr);
  }
  for (double x : {130.0, 250.0}) {
    cairo_arc(cr, x, h * 0.42 + 82, 14, 0, 2 * M_PI);
    SetColor(cr, kInk);
    cairo_fill(cr);
  }
  // Dust behind it: it is leaving him at the edge of the forest.
  for (int i = 0; i < 4; ++i) SoftEllipse(cr, 70 - i * 18, h * 0.42 + 78 - i * 4, 14, 8, Hex(0xd8d0c0), 0.5, 4);
  Walker(cr, 340, h * 0.78, 1.0);
}

// 3: on foot along the forest path.
void Path(cairo_t* cr, double w, double h) {
  FillVerticalGradient(cr, 0, 0, w, h, {Hex(0x9ac0a0), Hex(0x3a6a44)});
  cairo_move_to(cr, w * 0.45, h * 0.35);
  cairo_curve_to(cr, w * 0.3, h * 0.6, w * 0.7, h * 0.75, w * 0.55, h);
  cairo_line_to(cr, w * 0.85, h);
  cairo_curve_to(cr, w * 0.95, h * 0.75, w * 0.5, h * 0.6, w * 0.52, h * 0.35);
  cairo_close_path(cr);
  SetColor(cr, Hex(0xc8a870));
  cairo_fill(cr);
  TArtRandom rnd(77);
  for (int i = 0; i < 14; ++i) {
    const double x = rnd.Range(0, w), base = rnd.Range(h * 0.4, h * 0.95);
    if (x > w * 0.4 && x < w * 0.8) continue;
    Pine(cr, x, base, rnd.Range(70, 130), Mix(Hex(0x1e3a2a), Hex(0x3a5a3a), rnd.Unit()));
  }
  Walker(cr, w * 0.62, h * 0.8, 1.4);
}

// 4: the old boat at the shore, the year painted on its side.
void Boat(cairo_t* cr, const TSignFont& font, double w, double h) {
  FillVerticalGradient(cr, 0, 0, w, h * 0.45, {Hex(0xf0b080), Hex(0xf8d8a8)});
  FillVerticalGradient(cr, 0, h * 0.45, w, h, {Hex(0x6a78a8), Hex(0x3a4a78)});
  for (int i = 0; i < 6; ++i) Line(cr, 20 + i * 70, h * 0.6 + (i % 2) * 40, 70 + i * 70, h * 0.6 + (i % 2) * 40,
                                   Hex(0xb8c8e8), 1.5);
  cairo_move_to(cr, 40, h * 0.52);
  cairo_line_to(cr, w - 40, h * 0.52);
  cairo_curve_to(cr, w - 70, h * 0.82, w - 120, h * 0.86, w / 2, h * 0.86);
  cairo_curve_to(cr, 120, h * 0.86, 70, h * 0.82, 40, h * 0.52);
  cairo_close_path(cr);
  SetColor(cr, kWood);
  cairo_fill_preserve(cr);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  Line(cr, 50, h * 0.6, w - 50, h * 0.6, kDarkWood, 2);
  Text(cr, font, kBoxCode, w / 2, h * 0.71, 40, Hex(0xf4efe0));
}

// 5: rowing over at sunset to the cabin on the far shore.
void Arrival(cairo_t* cr, double w, double h) {
  FillVerticalGradient(cr, 0, 0, w, h * 0.5, {Hex(0x5a4a8a), Hex(0xf0906a)});
  Glow(cr, w * 0.7, h * 0.5, 120, Hex(0xffc27a), 0.6);
  FillVerticalGradient(cr, 0, h * 0.5, w, h, {Hex(0x8a6a90), Hex(0x3a3a68)});
  cairo_rectangle(cr, w * 0.66, h * 0.36, 70, 48);
  SetColor(cr, Hex(0x4e3526));
  cairo_fill(cr);
  cairo_move_to(cr, w * 0.66 - 8, h * 0.36);
  cairo_line_to(cr, w * 0.66 + 35, h * 0.36 - 26);
  cairo_line_to(cr, w * 0.66 + 78, h * 0.36);
  SetColor(cr, Hex(0x6a3a30));
  cairo_fill(cr);
  cairo_rectangle(cr, w * 0.66 + 12, h * 0.36 + 14, 14, 12);
  SetColor(cr, Hex(0xffd38a));
  cairo_fill(cr);
  cairo_move_to(cr, 80, h * 0.72);
  cairo_line_to(cr, 220, h * 0.72);
  cairo_curve_to(cr, 205, h * 0.82, 95, h * 0.82, 80, h * 0.72);
  SetColor(cr, kWood);
  cairo_fill(cr);
  Walker(cr, 150, h * 0.74, 0.8);
  Line(cr, 120, h * 0.62, 200, h * 0.86, kDarkWood, 3);
}

}  // namespace

void BuildStoryArt(TArtArchive& lake, const std::string& boldFont) {
  TSignFont font(boldFont);
  for (int n = 1; n <= 5; ++n) {
    TCanvas c(kCardW, kCardH);
    cairo_t* cr = *c;
    // A photograph's white border round every card, with a soft shadow.
    cairo_rectangle(cr, 0, 0, kCardW, kCardH);
    SetColor(cr, Hex(0xf8f4ec));
    cairo_fill(cr);
    cairo_save(cr);
    cairo_rectangle(cr, kBorder, kBorder, kCardW - 2 * kBorder, kCardH - 2 * kBorder);
    cairo_clip(cr);
    cairo_translate(cr, kBorder, kBorder);
    const double w = kCardW - 2 * kBorder, h = kCardH - 2 * kBorder;
    switch (n) {
      case 1: Letter(cr, font, w, h); break;
      case 2: Bus(cr, w, h); break;
      case 3: Path(cr, w, h); break;
      case 4: Boat(cr, font, w, h); break;
      default: Arrival(cr, w, h); break;
    }
    cairo_restore(cr);
    cairo_rectangle(cr, 0.5, 0.5, kCardW - 1, kCardH - 1);
    SetColor(cr, Hex(0xb8b0a0));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    AddGrain(c.Surface.get(), 300 + static_cast<uint64_t>(n), 0.02);
    lake.Add("story_" + std::to_string(n), c, false);
  }
}

namespace {

// The wooden box seen close: its front with the lock plate, and the cross
// in its corner that closes the view. Open, its lid stands up and the tin
// of bait lies inside.
void BoxFront(cairo_t* cr, bool open) {
  const double x = 20, y = open ? 120 : 90, w = 400, h = open ? 170 : 200;
  if (open) {
    // The lid, tipped back, and the inside of the box.
    cairo_rectangle(cr, x + 10, 18, w - 20, 104);
    SetColor(cr, kDarkWood);
    cairo_fill_preserve(cr);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_rectangle(cr, x, y - 20, w, 26);
    SetColor(cr, Hex(0x2a1a10));
    cairo_fill(cr);
  }
  cairo_rectangle(cr, x, y, w, h);
  FillVerticalGradient(cr, x, y, w, y + h, {kWood, kDarkWood});
  cairo_rectangle(cr, x, y, w, h);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  for (int i = 1; i < 4; ++i) Line(cr, x, y + h * i / 4, x + w, y + h * i / 4, Hex(0x4a2e18), 1.5);
  for (double bx : {x + 6, x + w - 26}) {
    cairo_rectangle(cr, bx, y + 6, 20, h - 12);
    SetColor(cr, Hex(0x6a6a70));
    cairo_fill(cr);
  }
  if (!open) {
    // The brass lock plate behind the three dials.
    cairo_rectangle(cr, 100, 176, 240, 104);
    SetColor(cr, kBrass);
    cairo_fill_preserve(cr);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (int i = 0; i < 3; ++i) {
      cairo_rectangle(cr, 150 + i * 70 - 32, 228 - 42, 64, 84);
      SetColor(cr, Hex(0x3a2a18));
      cairo_fill(cr);
    }
  }
}

void CloseCross(cairo_t* cr) {
  cairo_arc(cr, 410, 22, 18, 0, 2 * M_PI);
  SetColor(cr, Hex(0xf3ead6));
  cairo_fill_preserve(cr);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Line(cr, 402, 14, 418, 30, kInk, 4);
  Line(cr, 418, 14, 402, 30, kInk, 4);
}

void BaitTin(cairo_t* cr, double x, double y, double r) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, 1, 0.45);
  cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
  cairo_restore(cr);
  SetColor(cr, Hex(0xa8b0b8));
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, 1, 0.45);
  cairo_arc(cr, 0, 0, r * 0.8, 0, 2 * M_PI);
  cairo_restore(cr);
  SetColor(cr, Hex(0x6a4a30));
  cairo_fill(cr);
  // Worms peeking out.
  for (int i = 0; i < 3; ++i) {
    cairo_move_to(cr, x - r * 0.4 + i * r * 0.35, y + 2);
    cairo_rel_curve_to(cr, 4, -10, 10, -4, 8, -12);
    SetColor(cr, Hex(0xd88080));
    cairo_set_line_width(cr, r * 0.12);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
  }
}

}  // namespace

void BuildCloseUpArt(TArtArchive& system, const std::string& boldFont) {
  TSignFont font(boldFont);
  {
    TCanvas c(16, 16);
    cairo_set_source_rgba(*c, 0, 0, 0, 0.6);
    cairo_paint(*c);
    system.Add("closeup_dim", c);
  }
  for (bool open : {false, true}) {
    TCanvas c(440, 300);
    SoftEllipse(*c, 220, 292, 200, 8, Hex(0x000000), 0.5, 6);
    BoxFront(*c, open);
    if (open) BaitTin(*c, 220, 112, 60);
    CloseCross(*c);
    system.Add(open ? "box_open" : "box_shut", c);
  }
  for (int d = 0; d < 10; ++d) {
    TCanvas c(56, 76);
    cairo_rectangle(*c, 2, 2, 52, 72);
    FillVerticalGradient(*c, 2, 2, 52, 74, {Hex(0x8a8a90), Hex(0xe8e8ec), Hex(0x8a8a90)});
    cairo_rectangle(*c, 2, 2, 52, 72);
    SetColor(*c, kInk);
    cairo_set_line_width(*c, 2);
    cairo_stroke(*c);
    Text(*c, font, std::to_string(d), 28, 38, 40, kInk);
    system.Add("dial_" + std::to_string(d), c);
  }
  {
    // The lake at night as the cabin's window frames it: the panel it is on
    // lies behind the room, and the window's panes are the only place it
    // shows through, over x 300 to 450 of the screen.
    TCanvas c(800, 120);
    FillVerticalGradient(*c, 0, 0, 800, 74, {Hex(0x070b22), Hex(0x1a2250)});
    FillVerticalGradient(*c, 0, 74, 800, 120, {Hex(0x1a2040), Hex(0x0a0e24)});
    TArtRandom rnd(4242);
    for (int i = 0; i < 60; ++i) Glow(*c, rnd.Range(0, 800), rnd.Range(2, 60), 2.5, Hex(0xfff6dc), rnd.Range(0.4, 0.9));
    Glow(*c, 404, 34, 26, Hex(0xf4efd8), 0.35);
    cairo_arc(*c, 404, 34, 10, 0, 2 * M_PI);
    SetColor(*c, Hex(0xf4efd8));
    cairo_fill(*c);
    cairo_move_to(*c, 0, 74);
    for (double px = 0; px <= 800; px += 6) cairo_line_to(*c, px, 74 - rnd.Range(2, 9));
    cairo_line_to(*c, 800, 74);
    cairo_close_path(*c);
    SetColor(*c, Hex(0x05060e));
    cairo_fill(*c);
    for (int i = 0; i < 10; ++i) SoftEllipse(*c, 404 + rnd.Range(-14, 14), rnd.Range(80, 116), rnd.Range(4, 12), 0.8,
                                             Hex(0xf4efd8), 0.4, 1);
    system.Add("window_view", c, false);
  }
}

void BuildCabinProps(TArtArchive& cabin) {
  {
    // The room with the glass of its window taken out, between the
    // curtains, for the view behind it to show through.
    std::string file;
    for (const TArtImage& image : cabin.Images())
      if (image.Name == "cabin_bg") file = JoinPath(cabin.Dir(), image.File);
    TSurface bg(cairo_image_surface_create_from_png(file.c_str()));
    if (file.empty() || cairo_surface_status(bg.get()) != CAIRO_STATUS_SUCCESS)
      throw std::runtime_error("the cabin's window needs the room painted first");
    TCanvas c(800, 600);
    cairo_set_source_surface(*c, bg.get(), 0, 0);
    cairo_paint(*c);
    cairo_set_operator(*c, CAIRO_OPERATOR_CLEAR);
    for (double x : {322.0, 378.0})
      for (double y : {133.0, 193.0}) cairo_rectangle(*c, x, y, 50, 54);
    cairo_fill(*c);
    cabin.Add("cabin_bg_glass", c);
  }
  TCanvas c(64, 48);
  SoftEllipse(*c, 32, 44, 28, 4, Hex(0x000000), 0.4, 3);
  cairo_rectangle(*c, 6, 10, 52, 32);
  FillVerticalGradient(*c, 6, 10, 52, 42, {kWood, kDarkWood});
  cairo_rectangle(*c, 6, 10, 52, 32);
  SetColor(*c, kInk);
  cairo_set_line_width(*c, 1.5);
  cairo_stroke(*c);
  cairo_rectangle(*c, 24, 20, 16, 10);
  SetColor(*c, kBrass);
  cairo_fill(*c);
  cabin.Add("box_small", c);
}
