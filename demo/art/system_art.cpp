#include "system_art.h"

#include <cmath>
#include <cstdio>

#include "art_common.h"

namespace {

const TRgb kInk = Hex(0x1c1a24);
const TRgb kCream = Hex(0xf6ead0);
const TRgb kAmber = Hex(0xf2b45a);
const TRgb kWoodDark = Hex(0x3a281c);
const TRgb kWood = Hex(0x6e4b30);
const TRgb kWoodLight = Hex(0x9a6e46);
const TRgb kIndigo = Hex(0x1f2742);

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

// The pointer's arrow, tip at (10, 10).
void ArrowPath(cairo_t* cr, double scale) {
  cairo_save(cr);
  cairo_translate(cr, 10, 10);
  cairo_scale(cr, scale, scale);
  cairo_move_to(cr, 0, 0);
  cairo_line_to(cr, 0, 24);
  cairo_line_to(cr, 6, 18.5);
  cairo_line_to(cr, 10.5, 28);
  cairo_line_to(cr, 15, 26);
  cairo_line_to(cr, 10.5, 16.8);
  cairo_line_to(cr, 18, 16.5);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void DrawArrow(cairo_t* cr, double scale, TRgb top, TRgb bottom) {
  // Shadow first, offset down-right and blurred by a wider translucent stroke.
  cairo_save(cr);
  cairo_translate(cr, 2, 3);
  ArrowPath(cr, scale);
  SetColor(cr, Hex(0x000000), 0.25);
  cairo_set_line_width(cr, 3);
  cairo_stroke_preserve(cr);
  cairo_fill(cr);
  cairo_restore(cr);
  ArrowPath(cr, scale);
  cairo_pattern_t* p = cairo_pattern_create_linear(10, 10, 24, 38);
  cairo_pattern_add_color_stop_rgb(p, 0, top.R, top.G, top.B);
  cairo_pattern_add_color_stop_rgb(p, 1, bottom.R, bottom.G, bottom.B);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1.6);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
}

// The round badge that carries a pointer's symbol, lower right of the tip.
void Badge(cairo_t* cr, double x, double y, double r, TRgb c) {
  SoftEllipse(cr, x + 1.5, y + 2.5, r, r, Hex(0x000000), 0.3, 2);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.4, y - r * 0.5, 1, x, y, r);
  const TRgb hi = Mix(c, Hex(0xffffff), 0.45);
  cairo_pattern_add_color_stop_rgb(p, 0, hi.R, hi.G, hi.B);
  cairo_pattern_add_color_stop_rgb(p, 1, c.R, c.G, c.B);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
}

void SmallTip(cairo_t* cr) {
  // A short arrow tip so the hot point stays visible on symbol pointers.
  cairo_move_to(cr, 10, 10);
  cairo_line_to(cr, 10, 21);
  cairo_line_to(cr, 21, 10);
  cairo_close_path(cr);
  SetColor(cr, kCream);
  cairo_fill_preserve(cr);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
}

void BuildCursors(TArtArchive& a) {
  {
    // Over the hero: the arrow with a warm glow.
    TCanvas c(64, 64);
    Glow(*c, 16, 18, 16, kAmber, 0.55);
    DrawArrow(*c, 1.0, Hex(0xfff3d6), kAmber);
    a.Add("cursor00", c);
  }
  {
    TCanvas c(64, 64);
    DrawArrow(*c, 1.0, Hex(0xfffaf0), Hex(0xd9c9a6));
    a.Add("cursor01", c);
  }
  {
    // Use: a pointing hand, fingertip on the hot point.
    TCanvas c(64, 64);
    cairo_t* cr = *c;
    auto handPath = [&] {
      cairo_save(cr);
      cairo_translate(cr, 10, 10);
      cairo_rotate(cr, -M_PI / 4);
      // index finger along -y from the palm
      RoundRect(cr, -3.5, -1, 7, 20, 3.5);
      cairo_restore(cr);
      cairo_save(cr);
      cairo_translate(cr, 22, 24);
      cairo_rotate(cr, -M_PI / 4);
      RoundRect(cr, -9, -6, 18, 18, 6);
      cairo_restore(cr);
    };
    cairo_save(cr);
    cairo_translate(cr, 2, 3);
    handPath();
    SetColor(cr, Hex(0x000000), 0.25);
    cairo_fill(cr);
    cairo_restore(cr);
    handPath();
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    SetColor(cr, Hex(0xf4d6b0));
    cairo_fill_preserve(cr);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    // Knuckle lines and a cuff.
    cairo_set_line_width(cr, 1.2);
    for (int i = 0; i < 3; ++i) {
      const double ox = 21 + i * 3.2, oy = 29 + i * 1.2 - i * 2.8;
      cairo_move_to(cr, ox, oy);
      cairo_line_to(cr, ox + 4, oy - 4);
    }
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 30, 32);
    cairo_rotate(cr, -M_PI / 4);
    RoundRect(cr, -8, 3, 16, 6, 2);
    cairo_restore(cr);
    SetColor(cr, Hex(0x4f7f86));
    cairo_fill_preserve(cr);
    SetColor(cr, kInk);
    cairo_stroke(cr);
    a.Add("cursor02", c);
  }
  {
    // Walk on / leave: a green badge with an outward arrow.
    TCanvas c(64, 64);
    cairo_t* cr = *c;
    Badge(cr, 30, 30, 13, Hex(0x5e9b6a));
    cairo_set_line_width(cr, 3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColor(cr, kCream);
    cairo_move_to(cr, 23, 30);
    cairo_line_to(cr, 37, 30);
    cairo_move_to(cr, 32, 24.5);
    cairo_line_to(cr, 37.5, 30);
    cairo_line_to(cr, 32, 35.5);
    cairo_stroke(cr);
    SmallTip(cr);
    a.Add("cursor03", c);
  }
  {
    // Look: an eye.
    TCanvas c(64, 64);
    cairo_t* cr = *c;
    Badge(cr, 30, 30, 13, Hex(0x5876a8));
    cairo_move_to(cr, 20, 30);
    cairo_curve_to(cr, 25, 23, 35, 23, 40, 30);
    cairo_curve_to(cr, 35, 37, 25, 37, 20, 30);
    SetColor(cr, kCream);
    cairo_fill_preserve(cr);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    cairo_arc(cr, 30, 30, 3.6, 0, 2 * M_PI);
    SetColor(cr, Hex(0x2c3b5e));
    cairo_fill(cr);
    cairo_arc(cr, 28.8, 28.8, 1.1, 0, 2 * M_PI);
    SetColor(cr, Hex(0xffffff));
    cairo_fill(cr);
    SmallTip(cr);
    a.Add("cursor04", c);
  }
  {
    // Talk: a speech bubble.
    TCanvas c(64, 64);
    cairo_t* cr = *c;
    auto bubble = [&] {
      cairo_save(cr);
      cairo_translate(cr, 33, 28);
      cairo_scale(cr, 15, 11);
      cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
      cairo_restore(cr);
      cairo_move_to(cr, 26, 36);
      cairo_line_to(cr, 22, 45);
      cairo_line_to(cr, 33, 37);
      cairo_close_path(cr);
    };
    cairo_save(cr);
    cairo_translate(cr, 1.5, 2.5);
    bubble();
    SetColor(cr, Hex(0x000000), 0.3);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    bubble();
    SetColor(cr, kCream);
    cairo_fill_preserve(cr);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    for (int i = 0; i < 3; ++i) {
      cairo_arc(cr, 27 + i * 6, 28, 1.8, 0, 2 * M_PI);
      SetColor(cr, Hex(0x7a5a3c));
      cairo_fill(cr);
    }
    SmallTip(cr);
    a.Add("cursor05", c);
  }
}

void MenuButton(TArtArchive& a, const std::string& name, bool hover) {
  TCanvas c(64, 64);
  cairo_t* cr = *c;
  if (hover) Glow(cr, 32, 32, 31, kAmber, 0.5);
  SoftEllipse(cr, 33, 35, 22, 22, Hex(0x000000), 0.35, 3);
  cairo_arc(cr, 32, 32, 22, 0, 2 * M_PI);
  cairo_pattern_t* p = cairo_pattern_create_radial(26, 24, 2, 32, 32, 22);
  const TRgb hi = hover ? Hex(0xc99a60) : Hex(0x8d6a48), lo = hover ? Hex(0x6e4b30) : Hex(0x4a3323);
  cairo_pattern_add_color_stop_rgb(p, 0, hi.R, hi.G, hi.B);
  cairo_pattern_add_color_stop_rgb(p, 1, lo.R, lo.G, lo.B);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_arc(cr, 32, 32, 18.5, 0, 2 * M_PI);
  SetColor(cr, hover ? kCream : Hex(0xc8b48e), 0.6);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // Three lines: the menu.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = -1; i <= 1; ++i) {
    cairo_move_to(cr, 23, 32 + i * 7 + 1);
    cairo_line_to(cr, 41, 32 + i * 7 + 1);
    SetColor(cr, Hex(0x000000), 0.4);
    cairo_set_line_width(cr, 3.6);
    cairo_stroke(cr);
    cairo_move_to(cr, 23, 32 + i * 7);
    cairo_line_to(cr, 41, 32 + i * 7);
    SetColor(cr, hover ? Hex(0xfff4dc) : kCream);
    cairo_set_line_width(cr, 3.2);
    cairo_stroke(cr);
  }
  a.Add(name, c);
}

void WoodBand(cairo_t* cr, TArtRandom& rnd, double x, double y, double w, double h) {
  FillVerticalGradient(cr, x, y, w, y + h, {kWoodLight, kWood, kWoodDark});
  // Grain: long thin wavy lines.
  cairo_set_line_width(cr, 1);
  for (int i = 0; i < 14; ++i) {
    const double gy = y + rnd.Range(3, h - 3);
    cairo_move_to(cr, x, gy);
    for (double gx = x; gx <= x + w; gx += 32) cairo_line_to(cr, gx, gy + rnd.Range(-1.2, 1.2));
    SetColor(cr, rnd.Unit() < 0.5 ? kWoodDark : kWoodLight, 0.35);
    cairo_stroke(cr);
  }
}

void BuildPanels(TArtArchive& a) {
  {
    TCanvas c(1024, 128);
    cairo_t* cr = *c;
    // Translucent in the middle, fading at every edge.
    for (int i = 0; i < 24; ++i) {
      const double inset = i * 2.2;
      RoundRect(cr, inset, inset * 0.55 + 4, 1024 - 2 * inset, 120 - inset * 1.1, 40);
      SetColor(cr, kIndigo, 0.04);
      cairo_fill(cr);
    }
    a.Add("subpanel", c);
  }
  {
    // The sketch frame: warm paper with a vignette and a painted border.
    TCanvas c(800, 512);
    cairo_t* cr = *c;
    FillVerticalGradient(cr, 0, 0, 800, 512, {Hex(0xeadbb8), Hex(0xf3e7c9), Hex(0xe2cfa6)});
    TArtRandom rnd(71);
    // Blotches are painted strongly on their own layer and laid on faintly:
    // many near-transparent layers drift in colour through 8-bit rounding.
    TCanvas blotches(800, 512);
    for (int i = 0; i < 60; ++i) {
      cairo_save(*blotches);
      cairo_translate(*blotches, rnd.Range(0, 800), rnd.Range(0, 512));
      cairo_scale(*blotches, rnd.Range(20, 90), rnd.Range(10, 50));
      cairo_arc(*blotches, 0, 0, 1, 0, 2 * M_PI);
      cairo_restore(*blotches);
      SetColor(*blotches, Hex(0xc9ad7c), 0.5);
      cairo_fill(*blotches);
    }
    BlurSurface(blotches.Surface.get(), 10);
    Paste(cr, blotches.Surface.get(), 0, 0, 0.35);
    cairo_pattern_t* v = cairo_pattern_create_radial(400, 256, 180, 400, 256, 520);
    cairo_pattern_add_color_stop_rgba(v, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(v, 1, 0.25, 0.15, 0.05, 0.45);
    cairo_set_source(cr, v);
    cairo_paint(cr);
    cairo_pattern_destroy(v);
    RoundRect(cr, 14, 14, 772, 484, 10);
    SetColor(cr, Hex(0x6e4b30), 0.7);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    RoundRect(cr, 22, 22, 756, 468, 7);
    SetColor(cr, Hex(0x6e4b30), 0.35);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    AddGrain(c.Surface.get(), 5, 0.025);
    a.Add("mbl_bgr1", c, false);
  }
  for (int band = 2; band <= 3; ++band) {
    TCanvas c(1024, 64);
    TArtRandom rnd(static_cast<uint64_t>(band));
    WoodBand(*c, rnd, 0, 0, 1024, 64);
    cairo_t* cr = *c;
    // The edge that meets the picture gets a bright bevel.
    const double edge = band == 2 ? 62 : 1;
    cairo_move_to(cr, 0, edge);
    cairo_line_to(cr, 1024, edge);
    SetColor(cr, Hex(0xd9b380), 0.7);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    AddGrain(c.Surface.get(), 10 + static_cast<uint64_t>(band), 0.06);
    a.Add("mbl_bgr" + std::to_string(band), c, false);
  }
  for (int s = 1; s <= 2; ++s) {
    // Shadows that travel with the sliding edge: clear on their left end,
    // dark from 40 pixels on.
    TCanvas c(836, 52);
    cairo_t* cr = *c;
    cairo_pattern_t* h = cairo_pattern_create_linear(0, 0, 44, 0);
    cairo_pattern_add_color_stop_rgba(h, 0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(h, 1, 0.03, 0.02, 0.05, 0.6);
    cairo_rectangle(cr, 0, 4, 836, 44);
    cairo_set_source(cr, h);
    cairo_fill(cr);
    cairo_pattern_destroy(h);
    BlurSurface(c.Surface.get(), 3);
    a.Add("mbl_shad_0" + std::to_string(s), c);
  }
  for (int n = 1; n <= 10; ++n) {
    // The edge of the opening panel: a carved rod with n of ten lights lit.
    TCanvas c(152, 608);
    cairo_t* cr = *c;
    SoftEllipse(cr, 80, 304, 20, 296, Hex(0x000000), 0.3, 8);
    cairo_pattern_t* g = cairo_pattern_create_linear(58, 0, 96, 0);
    cairo_pattern_add_color_stop_rgb(g, 0, kWoodDark.R, kWoodDark.G, kWoodDark.B);
    cairo_pattern_add_color_stop_rgb(g, 0.4, kWoodLight.R, kWoodLight.G, kWoodLight.B);
    cairo_pattern_add_color_stop_rgb(g, 1, kWoodDark.R, kWoodDark.G, kWoodDark.B);
    RoundRect(cr, 60, 8, 32, 592, 14);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (int i = 0; i < 10; ++i) {
      const double y = 50 + i * 56;
      const bool lit = i < n;
      if (lit) Glow(cr, 76, y, 26, kAmber, 0.55);
      cairo_arc(cr, 76, y, 8, 0, 2 * M_PI);
      SetColor(cr, lit ? Hex(0xffd88a) : Hex(0x2e2620));
      cairo_fill_preserve(cr);
      SetColor(cr, kInk);
      cairo_set_line_width(cr, 1.5);
      cairo_stroke(cr);
    }
    char name[16];
    std::snprintf(name, sizeof name, "locpa_%02d", n);
    a.Add(name, c);
  }
}

void BuildFeetMarker(TArtArchive& a) {
  for (int f = 0; f < 8; ++f) {
    TCanvas c(32, 32);
    cairo_t* cr = *c;
    const double phase = f / 8.0;
    // A ring that widens and fades, with a steady inner ring.
    const double r = 5 + 9 * phase;
    cairo_save(cr);
    cairo_translate(cr, 16, 18);
    cairo_scale(cr, 1, 0.55);
    cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, Hex(0xfff0c8), 0.9 * (1 - phase));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 16, 18);
    cairo_scale(cr, 1, 0.55);
    cairo_arc(cr, 0, 0, 6, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, kAmber, 0.8);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    // Two little footprints.
    for (int s = 0; s < 2; ++s) {
      const double fx = 13 + 6 * s, fy = 12 - 3 * s + (f % 4 == s * 2 ? -1 : 0);
      SoftEllipse(cr, fx, fy, 1.8, 3, Hex(0xfff0c8), 0.85, 0.6);
    }
    a.AddLoopFrame("p_feet_%04d", f, 8, 50, c);
  }
}

void BuildInventoryBar(TArtArchive& a) {
  TCanvas c(1024, 64);
  cairo_t* cr = *c;
  TArtRandom rnd(9);
  // Soft top edge: the bar rises from the bottom of the screen.
  cairo_push_group(cr);
  WoodBand(cr, rnd, 0, 6, 1024, 58);
  cairo_pattern_t* mask = cairo_pattern_create_linear(0, 0, 0, 16);
  cairo_pattern_add_color_stop_rgba(mask, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(mask, 1, 0, 0, 0, 0.92);
  cairo_pop_group_to_source(cr);
  cairo_mask(cr, mask);
  cairo_pattern_destroy(mask);
  cairo_move_to(cr, 0, 11);
  cairo_line_to(cr, 1024, 11);
  SetColor(cr, Hex(0xd9b380), 0.5);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // Sockets under the item slots (screen x = picture x, slot centre y 573).
  for (int i = 0; i < 12; ++i) {
    const double x = 94 + i * 200.0 / 3.0, y = 37;
    cairo_arc(cr, x, y, 23, 0, 2 * M_PI);
    cairo_pattern_t* p = cairo_pattern_create_radial(x, y - 6, 4, x, y, 23);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.12, 0.08, 0.05, 0.75);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.2, 0.13, 0.08, 0.55);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColor(cr, Hex(0xd9b380), 0.35);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  a.Add("inv_tb", c);
}

// Item pictures, 48 x 48: 1 letter, 2 key, 3 fishing rod, 4 fish, 5 matches,
// 6 basket of mushrooms.
void BuildItems(TArtArchive& a) {
  for (int id = 1; id <= kItemCount; ++id) {
    TCanvas c(48, 48);
    cairo_t* cr = *c;
    SoftEllipse(cr, 24, 40, 16, 4, Hex(0x000000), 0.3, 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch (id) {
      case 1: {
        cairo_save(cr);
        cairo_translate(cr, 24, 24);
        cairo_rotate(cr, -0.15);
        RoundRect(cr, -17, -11, 34, 23, 2);
        SetColor(cr, Hex(0xf3e3bf));
        cairo_fill_preserve(cr);
        SetColor(cr, kInk);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        cairo_move_to(cr, -17, -11);
        cairo_line_to(cr, 0, 3);
        cairo_line_to(cr, 17, -11);
        SetColor(cr, Hex(0x8a6a48));
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        cairo_arc(cr, 0, 3, 4, 0, 2 * M_PI);
        SetColor(cr, Hex(0xb3322c));
        cairo_fill(cr);
        cairo_restore(cr);
        break;
      }
      case 2: {
        cairo_save(cr);
        cairo_translate(cr, 24, 24);
        cairo_rotate(cr, -0.7);
        cairo_arc(cr, -10, 0, 7, 0, 2 * M_PI);
        cairo_arc_negative(cr, -10, 0, 3.2, 2 * M_PI, 0);
        RoundRect(cr, -4, -2.2, 22, 4.4, 1.5);
        cairo_rectangle(cr, 10, 2, 3, 5);
        cairo_rectangle(cr, 15, 2, 3, 6);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_pattern_t* g = cairo_pattern_create_linear(-16, -6, 18, 6);
        cairo_pattern_add_color_stop_rgb(g, 0, 0.95, 0.8, 0.45);
        cairo_pattern_add_color_stop_rgb(g, 1, 0.6, 0.42, 0.18);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        SetColor(cr, kInk);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_restore(cr);
        break;
      }
      case 3: {
        cairo_move_to(cr, 8, 42);
        cairo_curve_to(cr, 18, 30, 30, 14, 42, 5);
        SetColor(cr, Hex(0x6e4b30));
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        cairo_move_to(cr, 42, 5);
        cairo_curve_to(cr, 44, 18, 40, 30, 36, 36);
        SetColor(cr, Hex(0xe8e0d0), 0.8);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
        cairo_arc(cr, 15, 35, 4, 0, 2 * M_PI);
        SetColor(cr, Hex(0x9aa3ad));
        cairo_fill_preserve(cr);
        SetColor(cr, kInk);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        cairo_arc(cr, 36, 37, 2.4, 0, 2 * M_PI);
        SetColor(cr, Hex(0xd8453a));
        cairo_fill(cr);
        break;
      }
      case 4: {
        cairo_move_to(cr, 6, 24);
        cairo_curve_to(cr, 14, 12, 30, 12, 37, 24);
        cairo_curve_to(cr, 30, 36, 14, 36, 6, 24);
        cairo_close_path(cr);
        cairo_move_to(cr, 36, 24);
        cairo_line_to(cr, 45, 16);
        cairo_line_to(cr, 44, 32);
        cairo_close_path(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 14, 0, 34);
        cairo_pattern_add_color_stop_rgb(g, 0, 0.35, 0.48, 0.55);
        cairo_pattern_add_color_stop_rgb(g, 0.6, 0.75, 0.82, 0.82);
        cairo_pattern_add_color_stop_rgb(g, 1, 0.92, 0.9, 0.82);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        SetColor(cr, kInk);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
        cairo_arc(cr, 13, 22, 1.8, 0, 2 * M_PI);
        SetColor(cr, kInk);
        cairo_fill(cr);
        cairo_move_to(cr, 19, 17);
        cairo_curve_to(cr, 21, 21, 21, 27, 19, 31);
        SetColor(cr, kInk, 0.5);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        break;
      }
      case 5: {
        cairo_save(cr);
        cairo_translate(cr, 24, 26);
        cairo_rotate(cr, 0.2);
        RoundRect(cr, -15, -9, 30, 18, 2);
        SetColor(cr, Hex(0x3f6f8c));
        cairo_fill_preserve(cr);
        SetColor(cr, kInk);
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
        RoundRect(cr, -11, -5, 22, 10, 1);
        SetColor(cr, Hex(0xf0dca8));
        cairo_fill(cr);
        cairo_restore(cr);
        for (int m = 0; m < 2; ++m) {
          const double x0 = 14 + m * 9, y0 = 18 - m * 2;
          cairo_move_to(cr, x0, y0);
          cairo_line_to(cr, x0 + 8, y0 - 13);
          SetColor(cr, Hex(0xe6cfa0));
          cairo_set_line_width(cr, 2);
          cairo_stroke(cr);
          cairo_arc(cr, x0 + 8.5, y0 - 14, 2.4, 0, 2 * M_PI);
          SetColor(cr, Hex(0xb83a2c));
          cairo_fill(cr);
        }
        break;
      }
      case 6: {
        for (int m = 0; m < 3; ++m) {
          const double mx = 15 + m * 9, my = 17 - (m == 1 ? 4 : 0);
          cairo_rectangle(cr, mx - 2, my, 4, 8);
          SetColor(cr, Hex(0xf2e6cc));
          cairo_fill(cr);
          cairo_save(cr);
          cairo_translate(cr, mx, my + 1);
          cairo_scale(cr, 6.5, 4.5);
          cairo_arc_negative(cr, 0, 0, 1, 0, M_PI);
          cairo_restore(cr);
          cairo_close_path(cr);
          SetColor(cr, m == 1 ? Hex(0xb5462f) : Hex(0x8b5a33));
          cairo_fill_preserve(cr);
          SetColor(cr, kInk);
          cairo_set_line_width(cr, 1);
          cairo_stroke(cr);
        }
        cairo_move_to(cr, 7, 24);
        cairo_line_to(cr, 41, 24);
        cairo_line_to(cr, 36, 40);
        cairo_line_to(cr, 12, 40);
        cairo_close_path(cr);
        SetColor(cr, Hex(0xb8874f));
        cairo_fill_preserve(cr);
        SetColor(cr, kInk);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
        for (int l = 0; l < 3; ++l) {
          cairo_move_to(cr, 9 + l * 1.5, 29 + l * 4);
          cairo_line_to(cr, 39 - l * 1.5, 29 + l * 4);
        }
        SetColor(cr, Hex(0x6e4b30), 0.8);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        cairo_move_to(cr, 10, 24);
        cairo_curve_to(cr, 12, 4, 36, 4, 38, 24);
        SetColor(cr, Hex(0x8a6238));
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        break;
      }
    }
    a.Add(ItemPictureName(id), c);
  }
}

}  // namespace

std::string ItemPictureName(int id) {
  char name[16];
  std::snprintf(name, sizeof name, "inv_%03d", id);
  return name;
}

void BuildSystemArt(TArtArchive& archive) {
  {
    TCanvas c(64, 64);
    cairo_set_source_rgb(*c, 0, 0, 0);
    cairo_paint(*c);
    // Opaque picture, but drawn with the transparency blend so the fader's
    // material alpha takes effect.
    archive.Add("absblack", c, false).BlendCode = 2;
  }
  BuildCursors(archive);
  MenuButton(archive, "menubo", false);
  MenuButton(archive, "menubm", true);
  BuildPanels(archive);
  BuildFeetMarker(archive);
  BuildInventoryBar(archive);
  BuildItems(archive);
}
