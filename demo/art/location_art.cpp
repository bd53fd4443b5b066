#include "location_art.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "art_common.h"
#include "sign_font.h"

namespace {

const TRgb kInk = Hex(0x1c1a24);
const TRgb kAmber = Hex(0xf2b45a);
const TRgb kWarmLight = Hex(0xffd38a);
const TRgb kWoodDark = Hex(0x3a281c);
const TRgb kWood = Hex(0x6e4b30);
const TRgb kWoodLight = Hex(0x9a6e46);

void Sky(cairo_t* cr, double w, double horizon, TArtRandom& rnd, double sunX) {
  FillVerticalGradient(cr, 0, 0, w, horizon,
                       {Hex(0x171c3a), Hex(0x2f3160), Hex(0x6a4a7a), Hex(0xc46f6a), Hex(0xf0a866), Hex(0xf8d69a)});
  Glow(cr, sunX, horizon - 10, 260, Hex(0xffc27a), 0.55);
  Glow(cr, sunX, horizon - 8, 60, Hex(0xfff1c8), 0.8);
  for (int i = 0; i < 60; ++i) {
    const double x = rnd.Range(0, w), y = rnd.Range(0, horizon * 0.35);
    cairo_arc(cr, x, y, rnd.Range(0.4, 1.2), 0, 2 * M_PI);
    SetColor(cr, Hex(0xfff6e0), rnd.Range(0.3, 0.9));
    cairo_fill(cr);
  }
  // Long soft clouds lit from below.
  for (int i = 0; i < 9; ++i) {
    const double x = rnd.Range(0, w), y = rnd.Range(horizon * 0.3, horizon * 0.75);
    const double len = rnd.Range(80, 220);
    SoftEllipse(cr, x, y, len, rnd.Range(6, 14), Hex(0x8a5a7e), 0.35, 12);
    SoftEllipse(cr, x + 10, y + 4, len * 0.8, 4, Hex(0xf4a07a), 0.35, 6);
  }
}

void Pine(cairo_t* cr, TArtRandom& rnd, double x, double base, double height, TRgb c, double alpha = 1) {
  const double width = height * 0.34;
  cairo_move_to(cr, x - 2, base);
  const int tiers = 7;
  // Up the left side in jagged tiers, down the right side.
  for (int i = 0; i < tiers; ++i) {
    const double t = static_cast<double>(i) / tiers;
    const double y = base - height * t;
    const double half = width * (1 - t) * 0.5;
    cairo_line_to(cr, x - half - rnd.Range(0, 2), y - height * 0.02);
    cairo_line_to(cr, x - half * 0.55, y - height / tiers * 0.6);
  }
  cairo_line_to(cr, x, base - height);
  for (int i = tiers - 1; i >= 0; --i) {
    const double t = static_cast<double>(i) / tiers;
    const double y = base - height * t;
    const double half = width * (1 - t) * 0.5;
    cairo_line_to(cr, x + half * 0.55, y - height / tiers * 0.6);
    cairo_line_to(cr, x + half + rnd.Range(0, 2), y - height * 0.02);
  }
  cairo_line_to(cr, x + 2, base);
  cairo_close_path(cr);
  SetColor(cr, c, alpha);
  cairo_fill(cr);
}

void ForestLine(cairo_t* cr, TArtRandom& rnd, double x0, double x1, double base, double hMin, double hMax, TRgb c) {
  for (double x = x0; x < x1; x += rnd.Range(6, 16)) Pine(cr, rnd, x, base + rnd.Range(-3, 3), rnd.Range(hMin, hMax), c);
  cairo_rectangle(cr, x0, base - 2, x1 - x0, 40);
  SetColor(cr, c);
  cairo_fill(cr);
}

// A leafy round tree: trunk, then clumps of foliage darker below, lit on the
// upper left.
void RoundTree(cairo_t* cr, TArtRandom& rnd, double x, double base, double height, TRgb leaf) {
  const double trunkW = height * 0.07;
  cairo_move_to(cr, x - trunkW, base);
  cairo_curve_to(cr, x - trunkW * 0.6, base - height * 0.3, x - trunkW * 0.5, base - height * 0.5, x - trunkW * 0.3,
                 base - height * 0.62);
  cairo_line_to(cr, x + trunkW * 0.3, base - height * 0.62);
  cairo_curve_to(cr, x + trunkW * 0.5, base - height * 0.5, x + trunkW * 0.6, base - height * 0.3, x + trunkW, base);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(x - trunkW, 0, x + trunkW, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.35, 0.26, 0.22);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.14, 0.1, 0.1);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  const double cy = base - height * 0.68, rad = height * 0.3;
  const TRgb dark = Mix(leaf, Hex(0x101420), 0.55), light = Mix(leaf, Hex(0xf0c070), 0.35);
  for (int pass = 0; pass < 3; ++pass) {
    const TRgb c = pass == 0 ? dark : pass == 1 ? leaf : light;
    const int clumps = pass == 2 ? 7 : 14;
    for (int i = 0; i < clumps; ++i) {
      const double a = rnd.Range(0, 2 * M_PI), d = rnd.Range(0, rad * 0.75);
      double px = x + std::cos(a) * d * 1.2, py = cy + std::sin(a) * d * 0.8;
      if (pass == 2) px -= rad * 0.25, py -= rad * 0.3;
      const double r = rnd.Range(rad * 0.3, rad * 0.5) * (pass == 2 ? 0.4 : 1.0);
      cairo_arc(cr, px, py, r, 0, 2 * M_PI);
      SetColor(cr, c, pass == 2 ? 0.35 : 1);
      cairo_fill(cr);
    }
  }
}

void Rock(cairo_t* cr, TArtRandom& rnd, double x, double base, double w, double h) {
  SoftEllipse(cr, x, base - 2, w * 0.6, h * 0.15, Hex(0x000000), 0.35, 4);
  cairo_move_to(cr, x - w / 2, base);
  cairo_curve_to(cr, x - w / 2 - 4, base - h * 0.6, x - w * 0.2, base - h - rnd.Range(0, 4), x + w * 0.05, base - h);
  cairo_curve_to(cr, x + w * 0.35, base - h + rnd.Range(0, 6), x + w / 2 + 4, base - h * 0.5, x + w / 2, base);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(x - w / 2, base - h, x + w / 3, base);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.62, 0.58, 0.6);
  cairo_pattern_add_color_stop_rgb(g, 0.5, 0.38, 0.37, 0.45);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.18, 0.18, 0.25);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, kInk, 0.6);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // Moss on top and a crack.
  SoftEllipse(cr, x - w * 0.1, base - h * 0.9, w * 0.25, h * 0.08, Hex(0x6f8a48), 0.7, 2);
  cairo_move_to(cr, x + w * 0.1, base - h * 0.8);
  cairo_line_to(cr, x + w * 0.05, base - h * 0.5);
  cairo_line_to(cr, x + w * 0.15, base - h * 0.3);
  SetColor(cr, kInk, 0.5);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void Bush(cairo_t* cr, TArtRandom& rnd, double x, double base, double w, double h, TRgb leaf) {
  SoftEllipse(cr, x, base - 3, w * 0.55, h * 0.12, Hex(0x000000), 0.35, 4);
  const TRgb dark = Mix(leaf, Hex(0x101420), 0.5), light = Mix(leaf, Hex(0xf0c070), 0.3);
  for (int pass = 0; pass < 3; ++pass) {
    for (int i = 0; i < 12; ++i) {
      const double px = x + rnd.Range(-w * 0.38, w * 0.38);
      const double py = base - h * 0.35 - rnd.Range(0, h * 0.3) + (pass == 0 ? h * 0.1 : 0) - (pass == 2 ? h * 0.15 : 0);
      const double r = rnd.Range(h * 0.18, h * 0.3) * (pass == 2 ? 0.55 : 1);
      cairo_arc(cr, pass == 2 ? px - w * 0.08 : px, py, r, 0, 2 * M_PI);
      SetColor(cr, pass == 0 ? dark : pass == 1 ? leaf : light, pass == 2 ? 0.6 : 1);
      cairo_fill(cr);
    }
  }
  for (int i = 0; i < 5; ++i) {
    cairo_arc(cr, x + rnd.Range(-w * 0.3, w * 0.3), base - rnd.Range(h * 0.3, h * 0.7), 2, 0, 2 * M_PI);
    SetColor(cr, Hex(0xe3d06a), 0.9);
    cairo_fill(cr);
  }
}

void Props(TArtArchive& a, uint64_t seed, TRgb leaf) {
  TArtRandom rnd(seed);
  {
    TCanvas c(128, 96);
    Rock(*c, rnd, 64, 90, 100, 64);
    a.Add("prop_rock", c);
  }
  {
    TCanvas c(160, 112);
    Bush(*c, rnd, 80, 106, 140, 96, leaf);
    a.Add("prop_bush", c);
  }
  {
    TCanvas c(256, 384);
    SoftEllipse(*c, 128, 376, 70, 9, Hex(0x000000), 0.35, 6);
    RoundTree(*c, rnd, 128, 378, 372, leaf);
    a.Add("prop_tree", c);
  }
}

// A wooden arrow sign on a post; `right` points the arrow right.
void Sign(TArtArchive& a, const TSignFont& font, const std::string& name, const char* text, bool right) {
  TCanvas c(128, 128);
  cairo_t* cr = *c;
  SoftEllipse(cr, 64, 122, 20, 4, Hex(0x000000), 0.4, 3);
  cairo_rectangle(cr, 59, 40, 10, 84);
  SetColor(cr, kWoodDark);
  cairo_fill(cr);
  cairo_rectangle(cr, 59, 40, 4, 84);
  SetColor(cr, kWood);
  cairo_fill(cr);
  const double x0 = 10, x1 = 118, y0 = 22, y1 = 56;
  if (right) {
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1 - 16, y0);
    cairo_line_to(cr, x1, (y0 + y1) / 2);
    cairo_line_to(cr, x1 - 16, y1);
    cairo_line_to(cr, x0, y1);
  } else {
    cairo_move_to(cr, x1, y0);
    cairo_line_to(cr, x0 + 16, y0);
    cairo_line_to(cr, x0, (y0 + y1) / 2);
    cairo_line_to(cr, x0 + 16, y1);
    cairo_line_to(cr, x1, y1);
  }
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(g, 0, kWoodLight.R, kWoodLight.G, kWoodLight.B);
  cairo_pattern_add_color_stop_rgb(g, 1, kWood.R, kWood.G, kWood.B);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_set_font_face(cr, font.Cairo);
  cairo_set_font_size(cr, 17);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text, &ext);
  const double tx = (right ? 56 : 72) - ext.width / 2 - ext.x_bearing, ty = (y0 + y1) / 2 - ext.height / 2 - ext.y_bearing;
  cairo_move_to(cr, tx + 1, ty + 1);
  SetColor(cr, kWoodDark, 0.8);
  cairo_show_text(cr, text);
  cairo_move_to(cr, tx, ty);
  SetColor(cr, Hex(0xfbeed0));
  cairo_show_text(cr, text);
  a.Add(name, c);
}

// A lamp on a post whose flame flickers through four frames, and the same
// lamp put out ("lamp_off").
void Lamp(TArtArchive& a) {
  const double glow[5] = {1.0, 0.82, 0.93, 0.74, 0.0};
  for (int f = 0; f < 5; ++f) {
    const bool lit = f < 4;
    TCanvas c(128, 192);
    cairo_t* cr = *c;
    if (lit) Glow(cr, 64, 44, 62, kAmber, 0.45 * glow[f]);
    SoftEllipse(cr, 64, 186, 16, 4, Hex(0x000000), 0.4, 3);
    cairo_rectangle(cr, 60, 60, 8, 128);
    SetColor(cr, Hex(0x24242c));
    cairo_fill(cr);
    // Lantern body: a cap, glass and a base.
    cairo_move_to(cr, 50, 30);
    cairo_line_to(cr, 64, 20);
    cairo_line_to(cr, 78, 30);
    cairo_close_path(cr);
    SetColor(cr, Hex(0x2c2c36));
    cairo_fill(cr);
    cairo_rectangle(cr, 53, 30, 22, 28);
    if (lit) {
      cairo_pattern_t* g = cairo_pattern_create_radial(64, 46, 2, 64, 44, 16);
      cairo_pattern_add_color_stop_rgb(g, 0, 1, 0.97, 0.85);
      cairo_pattern_add_color_stop_rgb(g, 1, 0.95 * glow[f], 0.62 * glow[f], 0.25 * glow[f]);
      cairo_set_source(cr, g);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
    } else {
      // Cold glass: the evening sky caught in it, and a dark wick.
      cairo_pattern_t* g = cairo_pattern_create_linear(53, 30, 75, 58);
      cairo_pattern_add_color_stop_rgb(g, 0, 0.42, 0.4, 0.55);
      cairo_pattern_add_color_stop_rgb(g, 1, 0.16, 0.16, 0.24);
      cairo_set_source(cr, g);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
      cairo_rectangle(cr, 63, 46, 2, 8);
      SetColor(cr, Hex(0x111016));
      cairo_fill(cr);
    }
    cairo_rectangle(cr, 53, 30, 22, 28);
    cairo_move_to(cr, 64, 30);
    cairo_line_to(cr, 64, 58);
    SetColor(cr, Hex(0x2c2c36));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_rectangle(cr, 51, 58, 26, 4);
    SetColor(cr, Hex(0x2c2c36));
    cairo_fill(cr);
    if (!lit) {
      a.Add("lamp_off", c);
      continue;
    }
    Glow(cr, 64, 45, 14, Hex(0xfff3d0), 0.7 * glow[f]);
    a.AddLoopFrame("lamp_%d", f, 4, 110 + 30 * f, c);
  }
}

// A bird in four wing positions, a dark silhouette against the sky.
void Birds(TArtArchive& a) {
  const double wing[4] = {-0.9, -0.2, 0.6, -0.2};
  for (int f = 0; f < 4; ++f) {
    TCanvas c(48, 32);
    cairo_t* cr = *c;
    const double lift = wing[f] * 10;
    cairo_move_to(cr, 4, 16 + lift);
    cairo_curve_to(cr, 12, 10 + lift * 0.6, 18, 13, 24, 17);
    cairo_curve_to(cr, 30, 13, 36, 10 + lift * 0.6, 44, 16 + lift);
    cairo_curve_to(cr, 36, 14 + lift * 0.3, 30, 17, 24, 21);
    cairo_curve_to(cr, 18, 17, 12, 14 + lift * 0.3, 4, 16 + lift);
    cairo_close_path(cr);
    SetColor(cr, Hex(0x1e1a2a));
    cairo_fill(cr);
    a.AddLoopFrame("bird_%d", f, 4, 90, c);
  }
}

void House(cairo_t* cr, TArtRandom& rnd, double x, double base) {
  const double w = 130, h = 70;
  SoftEllipse(cr, x + w / 2, base, w * 0.65, 8, Hex(0x000000), 0.35, 6);
  // Log walls.
  cairo_rectangle(cr, x, base - h, w, h);
  SetColor(cr, Hex(0x4e3526));
  cairo_fill(cr);
  for (int i = 0; i < 7; ++i) {
    const double y = base - h + i * 10;
    cairo_move_to(cr, x, y + 9.5);
    cairo_line_to(cr, x + w, y + 9.5 + rnd.Range(-0.5, 0.5));
    SetColor(cr, Hex(0x2c1d15), 0.8);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    cairo_move_to(cr, x, y + 2);
    cairo_line_to(cr, x + w, y + 2);
    SetColor(cr, Hex(0x8a6446), 0.4);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  // Roof with a soft evening light on its left slope.
  cairo_move_to(cr, x - 14, base - h + 2);
  cairo_line_to(cr, x + w / 2, base - h - 52);
  cairo_line_to(cr, x + w + 14, base - h + 2);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(x, 0, x + w, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.55, 0.3, 0.26);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.25, 0.14, 0.16);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Chimney with a wisp of smoke.
  cairo_rectangle(cr, x + w * 0.72, base - h - 46, 12, 26);
  SetColor(cr, Hex(0x3b2a24));
  cairo_fill(cr);
  for (int i = 0; i < 6; ++i)
    SoftEllipse(cr, x + w * 0.75 + 6 + i * 7, base - h - 56 - i * 12, 6 + i * 2, 4 + i, Hex(0xb0a0b8), 0.18, 5);
  // Lit windows and the door.
  for (int i = 0; i < 2; ++i) {
    const double wx = x + 14 + i * 76, wy = base - h + 18;
    Glow(cr, wx + 13, wy + 12, 38, kAmber, 0.4);
    cairo_rectangle(cr, wx, wy, 26, 22);
    SetColor(cr, kWarmLight);
    cairo_fill(cr);
    cairo_rectangle(cr, wx, wy, 26, 22);
    cairo_move_to(cr, wx + 13, wy);
    cairo_line_to(cr, wx + 13, wy + 22);
    cairo_move_to(cr, wx, wy + 11);
    cairo_line_to(cr, wx + 26, wy + 11);
    SetColor(cr, Hex(0x2c1d15));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  }
  cairo_rectangle(cr, x + w / 2 - 11, base - 40, 22, 40);
  SetColor(cr, Hex(0x2a1a12));
  cairo_fill(cr);
  cairo_arc(cr, x + w / 2 + 6, base - 20, 1.6, 0, 2 * M_PI);
  SetColor(cr, kAmber);
  cairo_fill(cr);
}

void Reeds(cairo_t* cr, TArtRandom& rnd, double x0, double x1, double base) {
  for (double x = x0; x < x1; x += rnd.Range(2, 6)) {
    const double h = rnd.Range(14, 38), bend = rnd.Range(-6, 6);
    cairo_move_to(cr, x, base);
    cairo_curve_to(cr, x, base - h * 0.5, x + bend * 0.5, base - h * 0.8, x + bend, base - h);
    SetColor(cr, Mix(Hex(0x1f2a22), Hex(0x4d5a3a), rnd.Unit()), 0.95);
    cairo_set_line_width(cr, rnd.Range(1, 2));
    cairo_stroke(cr);
    if (rnd.Unit() < 0.15) SoftEllipse(cr, x + bend, base - h - 4, 1.8, 5, Hex(0x3a2418), 0.9, 0.5);
  }
}

// Grass tufts of a few blades each, denser and larger towards the viewer.
void GrassTufts(cairo_t* cr, TArtRandom& rnd, double x0, double x1, double y0, double y1, int count) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < count; ++i) {
    const double x = rnd.Range(x0, x1), y = rnd.Range(y0, y1);
    const double near = (y - y0) / (y1 - y0);
    const double h = 4 + 10 * near;
    const TRgb c = rnd.Unit() < 0.85 ? Mix(Hex(0x1a2a22), Hex(0x2f4634), rnd.Unit()) : Hex(0x6a7050);
    for (int b = 0; b < 4; ++b) {
      const double lean = rnd.Range(-0.6, 0.6) * h;
      cairo_move_to(cr, x + b * 1.5, y);
      cairo_curve_to(cr, x + b * 1.5, y - h * 0.5, x + lean * 0.6, y - h * 0.8, x + lean, y - h);
    }
    SetColor(cr, c, 0.55);
    cairo_set_line_width(cr, 1 + near);
    cairo_stroke(cr);
  }
}

// Glints on the water under the sun, drawn for an additive blend: black is
// nothing, light adds.
void WaterGlints(TArtArchive& a, const std::string& stem, int width, int height, uint64_t seed) {
  for (int f = 0; f < 4; ++f) {
    TCanvas c(width, height);
    cairo_t* cr = *c;
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    TArtRandom rnd(seed * 16 + static_cast<uint64_t>(f));
    for (int i = 0; i < 70; ++i) {
      const double y = rnd.Range(2, height - 2);
      const double spread = 0.25 + 0.75 * y / height;  // wider towards the viewer
      const double x = width / 2.0 + rnd.Range(-0.5, 0.5) * width * spread;
      const double len = rnd.Range(4, 18) * (0.5 + spread);
      SoftEllipse(cr, x, y, len, 0.8, Hex(0xffd9a0), rnd.Range(0.25, 0.7), 1.2);
    }
    a.AddLoopFrame((stem + "_%d").c_str(), f, 4, 180, c, false).BlendCode = 0;  // additive
  }
}

}  // namespace

void BuildLakeArt(TArtArchive& archive, const std::string& boldFont) {
  TSignFont font(boldFont);
  TArtRandom rnd(2024);
  const double horizon = 262, sunX = 540;
  {
    TCanvas c(800, 600);
    cairo_t* cr = *c;
    Sky(cr, 800, horizon, rnd, sunX);
    // Distant mountains, the air making each farther range lighter.
    RidgePath(cr, rnd, 0, 800, 205, 28, 10, horizon + 2);
    SetColor(cr, Hex(0x8a6d95), 0.75);
    cairo_fill(cr);
    RidgePath(cr, rnd, 0, 800, 232, 16, 8, horizon + 2);
    SetColor(cr, Hex(0x5a4d78), 0.9);
    cairo_fill(cr);
    BlurSurface(c.Surface.get(), 1);
    ForestLine(cr, rnd, -10, 810, horizon, 10, 30, Hex(0x2b2f4c));

    // The lake: the sky mirrored and darkened, then the far shore reflected.
    FillVerticalGradient(cr, 0, horizon, 800, 440,
                         {Hex(0xd8956a), Hex(0x9a6a7c), Hex(0x4a4a74), Hex(0x252a4a)});
    {
      // Reflections of the far shore, blurred as rippling water blurs them.
      TCanvas refl(800, 600);
      for (double x = -10; x < 810; x += rnd.Range(6, 16)) {
        const double hgt = rnd.Range(5, 16);
        cairo_move_to(*refl, x - hgt * 0.2, horizon);
        cairo_line_to(*refl, x, horizon + hgt);
        cairo_line_to(*refl, x + hgt * 0.2, horizon);
        SetColor(*refl, Hex(0x2b2f4c), 0.5);
        cairo_fill(*refl);
      }
      cairo_rectangle(*refl, 0, horizon, 800, 4);
      SetColor(*refl, Hex(0x2b2f4c), 0.5);
      cairo_fill(*refl);
      BlurSurface(refl.Surface.get(), 2);
      Paste(cr, refl.Surface.get(), 0, 0);
    }
    Glow(cr, sunX, horizon + 30, 140, Hex(0xffb070), 0.35);
    for (int i = 0; i < 90; ++i) {
      const double y = rnd.Range(horizon + 3, 440);
      const double spread = 20 + (y - horizon) * 0.9;
      SoftEllipse(cr, sunX + rnd.Range(-spread, spread), y, rnd.Range(6, 30), 0.9, Hex(0xffd2a0),
                  rnd.Range(0.15, 0.45), 1.5);
    }
    for (int i = 0; i < 40; ++i) {
      const double y = rnd.Range(horizon + 20, 440);
      SoftEllipse(cr, rnd.Range(0, 800), y, rnd.Range(20, 60), 0.7, Hex(0xc7a3c0), 0.12, 1);
    }

    // The near shore: a grassy bank, a path along the water, reeds.
    cairo_move_to(cr, 0, 400);
    for (double x = 0; x <= 800; x += 20)
      cairo_line_to(cr, x, 410 + 16 * std::sin(x / 110.0) + 6 * std::sin(x / 37.0) - (x > 560 ? (x - 560) * 0.28 : 0));
    cairo_line_to(cr, 800, 600);
    cairo_line_to(cr, 0, 600);
    cairo_close_path(cr);
    cairo_pattern_t* ground = cairo_pattern_create_linear(0, 380, 0, 600);
    cairo_pattern_add_color_stop_rgb(ground, 0, 0.3, 0.36, 0.3);
    cairo_pattern_add_color_stop_rgb(ground, 0.5, 0.19, 0.25, 0.22);
    cairo_pattern_add_color_stop_rgb(ground, 1, 0.09, 0.12, 0.14);
    cairo_set_source(cr, ground);
    cairo_fill(cr);
    cairo_pattern_destroy(ground);
    // The path: a band of warm earth from the lower left towards the house.
    cairo_move_to(cr, -10, 560);
    cairo_curve_to(cr, 200, 500, 420, 470, 640, 432);
    cairo_line_to(cr, 700, 430);
    cairo_curve_to(cr, 470, 500, 260, 560, 120, 610);
    cairo_line_to(cr, -10, 610);
    cairo_close_path(cr);
    SetColor(cr, Hex(0x8a7358), 0.75);
    cairo_fill(cr);
    GrassTufts(cr, rnd, 0, 800, 430, 600, 420);
    // The pier, reaching from the bank out over the water.
    {
      const double farY = 372, nearY = 426, farL = 282, farR = 330, nearL = 262, nearR = 350;
      for (int i = 0; i < 3; ++i) {
        const double px = farL + 2 + i * (farR - farL - 4) / 2;
        cairo_rectangle(cr, px - 2, farY - 10, 4, 26);
        SetColor(cr, kWoodDark);
        cairo_fill(cr);
        SoftEllipse(cr, px, farY + 18, 5, 1.2, Hex(0xffd2a0), 0.3, 1);
      }
      // Thickness of the deck on its lit left side.
      cairo_move_to(cr, farL, farY);
      cairo_line_to(cr, nearL, nearY);
      cairo_line_to(cr, nearL, nearY + 7);
      cairo_line_to(cr, farL, farY + 4);
      cairo_close_path(cr);
      SetColor(cr, kWoodDark);
      cairo_fill(cr);
      cairo_move_to(cr, farL, farY);
      cairo_line_to(cr, farR, farY);
      cairo_line_to(cr, nearR, nearY);
      cairo_line_to(cr, nearL, nearY);
      cairo_close_path(cr);
      cairo_pattern_t* planks = cairo_pattern_create_linear(0, farY, 0, nearY);
      cairo_pattern_add_color_stop_rgb(planks, 0, 0.52, 0.38, 0.3);
      cairo_pattern_add_color_stop_rgb(planks, 1, 0.38, 0.27, 0.2);
      cairo_set_source(cr, planks);
      cairo_fill(cr);
      cairo_pattern_destroy(planks);
      for (int i = 1; i < 10; ++i) {
        const double t = i / 10.0, y = farY + (nearY - farY) * t * t;
        cairo_move_to(cr, farL + (nearL - farL) * t * t, y);
        cairo_line_to(cr, farR + (nearR - farR) * t * t, y);
        SetColor(cr, kWoodDark, 0.6);
        cairo_set_line_width(cr, 0.8 + t);
        cairo_stroke(cr);
      }
      for (int i = 0; i < 2; ++i) {
        const double px = i == 0 ? nearL + 3 : nearR - 3;
        cairo_rectangle(cr, px - 3, nearY - 20, 6, 24);
        SetColor(cr, Hex(0x4a3427));
        cairo_fill(cr);
      }
    }
    House(cr, rnd, 630, 392);
    Reeds(cr, rnd, 0, 230, 418);
    Reeds(cr, rnd, 380, 560, 420);
    // Trees framing the scene.
    Pine(cr, rnd, 40, 470, 330, Hex(0x1d2a2a));
    Pine(cr, rnd, 96, 440, 240, Hex(0x243330));
    Pine(cr, rnd, 784, 430, 300, Hex(0x1d2a2a));
    AddGrain(c.Surface.get(), 11, 0.015);
    archive.Add("lake_bg", c, false);
  }
  WaterGlints(archive, "lake_glint", 256, 160, 7);
  Birds(archive);
  Lamp(archive);
  Sign(archive, font, "sign_forest", "Лес", false);
  Props(archive, 31, Hex(0x3f5a38));
}

void BuildForestArt(TArtArchive& archive, const std::string& boldFont) {
  TSignFont font(boldFont);
  TArtRandom rnd(4096);
  {
    // Far layer: sky, a far range and misty hills, 1024 wide.
    TCanvas c(1024, 600);
    cairo_t* cr = *c;
    Sky(cr, 1024, 330, rnd, 700);
    FillVerticalGradient(cr, 0, 330, 1024, 600, {Hex(0x4a3e66), Hex(0x1c2236)});
    RidgePath(cr, rnd, 0, 1024, 250, 40, 12, 600);
    SetColor(cr, Hex(0x7a6690), 0.8);
    cairo_fill(cr);
    RidgePath(cr, rnd, 0, 1024, 290, 24, 9, 600);
    SetColor(cr, Hex(0x4f4670), 0.9);
    cairo_fill(cr);
    BlurSurface(c.Surface.get(), 2);
    ForestLine(cr, rnd, -10, 1034, 330, 20, 60, Hex(0x2a2d48));
    AddGrain(c.Surface.get(), 21, 0.015);
    archive.Add("forest_far", c, false);
  }
  {
    // The forest itself, 1200 wide; its sky is left clear for the far layer.
    TCanvas c(1200, 600);
    cairo_t* cr = *c;
    for (int i = 0; i < 26; ++i) Pine(cr, rnd, rnd.Range(0, 1200), rnd.Range(370, 390), rnd.Range(160, 260), Hex(0x263042));
    // Mist between the far trees and the clearing.
    cairo_pattern_t* mist = cairo_pattern_create_linear(0, 300, 0, 420);
    cairo_pattern_add_color_stop_rgba(mist, 0, 0.7, 0.55, 0.7, 0);
    cairo_pattern_add_color_stop_rgba(mist, 1, 0.7, 0.55, 0.7, 0.35);
    cairo_rectangle(cr, 0, 300, 1200, 120);
    cairo_set_source(cr, mist);
    cairo_fill(cr);
    cairo_pattern_destroy(mist);
    // Ground of the clearing.
    cairo_move_to(cr, 0, 396);
    for (double x = 0; x <= 1200; x += 20) cairo_line_to(cr, x, 392 + 8 * std::sin(x / 90.0));
    cairo_line_to(cr, 1200, 600);
    cairo_line_to(cr, 0, 600);
    cairo_close_path(cr);
    cairo_pattern_t* ground = cairo_pattern_create_linear(0, 390, 0, 600);
    cairo_pattern_add_color_stop_rgb(ground, 0, 0.33, 0.38, 0.28);
    cairo_pattern_add_color_stop_rgb(ground, 1, 0.13, 0.16, 0.13);
    cairo_set_source(cr, ground);
    cairo_fill(cr);
    cairo_pattern_destroy(ground);
    // The path winding through.
    cairo_move_to(cr, -10, 520);
    cairo_curve_to(cr, 300, 470, 600, 560, 1210, 470);
    cairo_line_to(cr, 1210, 530);
    cairo_curve_to(cr, 600, 610, 300, 540, -10, 590);
    cairo_close_path(cr);
    SetColor(cr, Hex(0x8a7358), 0.7);
    cairo_fill(cr);
    GrassTufts(cr, rnd, 0, 1200, 400, 600, 640);
    // Tall trunks of the middle distance, with light from the low sun.
    for (int i = 0; i < 9; ++i) {
      const double x = 60 + i * 130 + rnd.Range(-30, 30), base = 410 + rnd.Range(0, 20), w = rnd.Range(14, 24);
      cairo_rectangle(cr, x - w / 2, 0, w, base);
      cairo_pattern_t* g = cairo_pattern_create_linear(x - w / 2, 0, x + w / 2, 0);
      cairo_pattern_add_color_stop_rgb(g, 0, 0.5, 0.36, 0.34);
      cairo_pattern_add_color_stop_rgb(g, 0.4, 0.28, 0.22, 0.24);
      cairo_pattern_add_color_stop_rgb(g, 1, 0.13, 0.11, 0.14);
      cairo_set_source(cr, g);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
      SoftEllipse(cr, x, base, w * 1.4, 5, Hex(0x000000), 0.35, 4);
    }
    // Canopy across the top, so the trunks do not end in the sky: dark
    // clumps, then leaf, then a few warm highlights where the sun catches it.
    {
      TCanvas canopy(1200, 600);
      cairo_t* cc = *canopy;
      const TRgb leaf = Hex(0x2f4a36);
      for (int pass = 0; pass < 3; ++pass) {
        const int count = pass == 0 ? 90 : pass == 1 ? 140 : 90;
        for (int i = 0; i < count; ++i) {
          const double x = rnd.Range(-20, 1220);
          const double y = rnd.Range(-30, 70) + (pass == 0 ? 25 : 0) - (pass == 2 ? 10 : 0);
          const double r = pass == 0 ? rnd.Range(25, 45) : pass == 1 ? rnd.Range(14, 30) : rnd.Range(5, 12);
          cairo_arc(cc, pass == 2 ? x - 6 : x, y, r, 0, 2 * M_PI);
          SetColor(cc, pass == 0 ? Mix(leaf, Hex(0x0c1018), 0.55) : pass == 1 ? leaf : Mix(leaf, Hex(0xe8a870), 0.45),
                   pass == 2 ? 0.35 : 1);
          cairo_fill(cc);
        }
      }
      BlurSurface(canopy.Surface.get(), 1);
      Paste(cr, canopy.Surface.get(), 0, 0);
    }
    // A fallen log and mushrooms beside the path.
    cairo_save(cr);
    cairo_translate(cr, 780, 452);
    cairo_rotate(cr, -0.06);
    cairo_rectangle(cr, -90, -14, 180, 28);
    SetColor(cr, Hex(0x4a3427));
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, 90, 0);
    cairo_scale(cr, 6, 14);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, Hex(0xb08a60));
    cairo_fill(cr);
    cairo_restore(cr);
    for (int i = 0; i < 5; ++i) {
      const double x = 430 + i * 14 + rnd.Range(-4, 4), y = 470 + rnd.Range(-6, 6);
      cairo_rectangle(cr, x - 2, y - 8, 4, 8);
      SetColor(cr, Hex(0xefe2c6));
      cairo_fill(cr);
      cairo_save(cr);
      cairo_translate(cr, x, y - 8);
      cairo_scale(cr, 6, 4.5);
      cairo_arc_negative(cr, 0, 0, 1, 0, M_PI);
      cairo_restore(cr);
      SetColor(cr, Hex(0xb5462f));
      cairo_fill(cr);
    }
    AddGrain(c.Surface.get(), 22, 0.015);
    archive.Add("forest_bg", c);
  }
  {
    // Front pieces, for a parallax above 1.
    TCanvas trunk(96, 600);
    cairo_t* cr = *trunk;
    cairo_move_to(cr, 14, 600);
    cairo_curve_to(cr, 20, 400, 24, 200, 26, 0);
    cairo_line_to(cr, 74, 0);
    cairo_curve_to(cr, 76, 200, 80, 400, 88, 600);
    cairo_close_path(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(14, 0, 88, 0);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.2, 0.14, 0.14);
    cairo_pattern_add_color_stop_rgb(g, 0.3, 0.12, 0.09, 0.1);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.04, 0.04, 0.06);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (int i = 0; i < 30; ++i) {
      const double y = rnd.Range(0, 600);
      cairo_move_to(cr, rnd.Range(30, 60), y);
      cairo_line_to(cr, rnd.Range(30, 60), y + rnd.Range(20, 60));
      SetColor(cr, Hex(0x000000), 0.3);
      cairo_set_line_width(cr, 1.5);
      cairo_stroke(cr);
    }
    archive.Add("front_trunk", trunk);

    TCanvas ferns(400, 160);
    cr = *ferns;
    for (int i = 0; i < 26; ++i) {
      const double bx = rnd.Range(20, 380), len = rnd.Range(60, 140), ang = rnd.Range(-2.4, -0.7);
      const double tx = bx + std::cos(ang) * len, ty = 160 + std::sin(ang) * len;
      cairo_move_to(cr, bx, 160);
      cairo_curve_to(cr, bx, 120, tx - (tx - bx) * 0.2, ty + 20, tx, ty);
      SetColor(cr, Hex(0x0e1812));
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
      for (int k = 1; k < 12; ++k) {
        const double t = k / 12.0;
        const double px = bx + (tx - bx) * t, py = 160 + (ty - 160) * t - 18 * std::sin(t * M_PI);
        const double size = 14 * (1 - t) + 3;
        SoftEllipse(cr, px - size * 0.6, py - 2, size * 0.6, 2.5, Hex(0x132218), 1, 0.5);
        SoftEllipse(cr, px + size * 0.6, py - 2, size * 0.6, 2.5, Hex(0x132218), 1, 0.5);
      }
    }
    archive.Add("front_ferns", ferns);
  }
  {
    // Fireflies for an additive blend.
    for (int f = 0; f < 4; ++f) {
      TCanvas c(128, 128);
      cairo_set_source_rgb(*c, 0, 0, 0);
      cairo_paint(*c);
      TArtRandom spots(99);
      for (int i = 0; i < 9; ++i) {
        const double x = spots.Range(10, 118), y = spots.Range(10, 118), phase = spots.Range(0, 4);
        const double on = 0.5 + 0.5 * std::cos((f - phase) * M_PI / 2);
        Glow(*c, x + std::sin(f + i) * 3, y + std::cos(f * 1.3 + i) * 3, 9, Hex(0xd8f07a), 0.9 * on);
      }
      archive.AddLoopFrame("firefly_%d", f, 4, 200, c, false).BlendCode = 0;  // additive
    }
  }
  Birds(archive);
  Lamp(archive);
  Sign(archive, font, "sign_lake", "Озеро", true);
  Props(archive, 77, Hex(0x355a3c));
}
