#include "cabin_art.h"

#include <cmath>
#include <cstdio>

#include "art_common.h"

namespace {

const TRgb kInk = Hex(0x1c1a24);
const TRgb kAmber = Hex(0xf2b45a);
const TRgb kWarmLight = Hex(0xffd38a);
const TRgb kWoodDark = Hex(0x3a281c);
const TRgb kWood = Hex(0x6e4b30);

// Horizontal logs from y0 to y1, each with a lit top edge and a dark seam.
void LogWall(cairo_t* cr, TArtRandom& rnd, double x0, double x1, double y0, double y1, double logH) {
  for (double y = y0; y < y1; y += logH) {
    cairo_rectangle(cr, x0, y, x1 - x0, logH);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + logH);
    const double tint = rnd.Range(-0.03, 0.03);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.55 + tint, 0.38 + tint, 0.26);
    cairo_pattern_add_color_stop_rgb(g, 0.45, 0.45 + tint, 0.3 + tint, 0.2);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.24, 0.16, 0.12);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Knots and grain.
    for (int k = 0; k < 4; ++k) {
      const double kx = rnd.Range(x0, x1), ky = y + rnd.Range(logH * 0.3, logH * 0.7);
      SoftEllipse(cr, kx, ky, rnd.Range(3, 6), 2, kWoodDark, 0.5, 1);
    }
    cairo_move_to(cr, x0, y + logH - 0.5);
    cairo_line_to(cr, x1, y + logH - 0.5);
    SetColor(cr, Hex(0x1a100c), 0.8);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }
}

void Window(cairo_t* cr, TArtRandom& rnd, double x, double y, double w, double h) {
  // Deep frame, then the evening outside.
  cairo_rectangle(cr, x - 10, y - 10, w + 20, h + 20);
  SetColor(cr, kWoodDark);
  cairo_fill(cr);
  FillVerticalGradient(cr, x, y, w, y + h * 0.62, {Hex(0x2f3160), Hex(0x8a5a7e), Hex(0xf0a866)});
  FillVerticalGradient(cr, x, y + h * 0.62, w, y + h, {Hex(0x9a6a7c), Hex(0x3a3a64)});
  Glow(cr, x + w * 0.65, y + h * 0.6, 40, Hex(0xffd9a0), 0.6);
  // Far shore and a pine against the sky.
  cairo_move_to(cr, x, y + h * 0.62);
  for (double px = x; px <= x + w; px += 6) cairo_line_to(cr, px, y + h * 0.62 - rnd.Range(2, 10));
  cairo_line_to(cr, x + w, y + h * 0.62);
  cairo_close_path(cr);
  SetColor(cr, Hex(0x2b2f4c));
  cairo_fill(cr);
  for (int i = 0; i < 8; ++i)
    SoftEllipse(cr, x + rnd.Range(10, w - 10), y + rnd.Range(h * 0.68, h * 0.95), rnd.Range(6, 14), 0.8, Hex(0xffd2a0),
                0.35, 1);
  // Glazing bars and a sill.
  cairo_rectangle(cr, x, y, w, h);
  cairo_move_to(cr, x + w / 2, y);
  cairo_line_to(cr, x + w / 2, y + h);
  cairo_move_to(cr, x, y + h / 2);
  cairo_line_to(cr, x + w, y + h / 2);
  SetColor(cr, Hex(0x4a3427));
  cairo_set_line_width(cr, 5);
  cairo_stroke(cr);
  cairo_rectangle(cr, x - 16, y + h + 6, w + 32, 10);
  SetColor(cr, Hex(0x7a5436));
  cairo_fill(cr);
  // Curtains.
  for (int s = 0; s < 2; ++s) {
    const double cx = s == 0 ? x - 6 : x + w + 6, dir = s == 0 ? 1 : -1;
    cairo_move_to(cr, cx - 12 * dir, y - 14);
    cairo_line_to(cr, cx + 26 * dir, y - 14);
    cairo_curve_to(cr, cx + 8 * dir, y + h * 0.4, cx + 20 * dir, y + h * 0.8, cx + 6 * dir, y + h + 4);
    cairo_line_to(cr, cx - 12 * dir, y + h + 4);
    cairo_close_path(cr);
    SetColor(cr, Hex(0xa8443a));
    cairo_fill_preserve(cr);
    SetColor(cr, kInk, 0.6);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
}

void Door(cairo_t* cr, double x, double y, double w, double h) {
  cairo_rectangle(cr, x - 8, y - 8, w + 16, h + 8);
  SetColor(cr, kWoodDark);
  cairo_fill(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_pattern_t* g = cairo_pattern_create_linear(x, 0, x + w, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.42, 0.28, 0.2);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.3, 0.2, 0.15);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  for (int i = 1; i < 4; ++i) {
    cairo_move_to(cr, x + w * i / 4, y);
    cairo_line_to(cr, x + w * i / 4, y + h);
  }
  SetColor(cr, Hex(0x1e140e), 0.7);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  for (int i = 0; i < 2; ++i) {
    cairo_rectangle(cr, x + 4, y + h * (0.2 + 0.55 * i), w - 8, 8);
    SetColor(cr, Hex(0x2a1c14));
    cairo_fill(cr);
  }
  cairo_arc(cr, x + w - 14, y + h * 0.55, 4, 0, 2 * M_PI);
  SetColor(cr, kAmber);
  cairo_fill(cr);
}

void Bed(cairo_t* cr, double x, double y) {
  // Head board against the wall, then the blanket seen from the foot.
  cairo_rectangle(cr, x, y - 70, 16, 110);
  SetColor(cr, kWood);
  cairo_fill(cr);
  cairo_rectangle(cr, x + 4, y - 30, 200, 56);
  SetColor(cr, Hex(0x5a3a28));
  cairo_fill(cr);
  cairo_move_to(cr, x + 10, y - 30);
  cairo_curve_to(cr, x + 60, y - 42, x + 150, y - 38, x + 206, y - 30);
  cairo_line_to(cr, x + 210, y + 12);
  cairo_curve_to(cr, x + 150, y + 20, x + 60, y + 18, x + 10, y + 12);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y - 40, 0, y + 20);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.72, 0.32, 0.28);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.42, 0.18, 0.2);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Patchwork squares.
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 2; ++j) {
      cairo_rectangle(cr, x + 22 + i * 30, y - 26 + j * 18, 22, 12);
      SetColor(cr, (i + j) % 2 ? Hex(0xe0b070) : Hex(0x4f7f86), 0.45);
      cairo_fill(cr);
    }
  SoftEllipse(cr, x + 40, y - 40, 26, 10, Hex(0xf0e6d0), 0.95, 2);
  cairo_rectangle(cr, x + 200, y - 40, 14, 80);
  SetColor(cr, kWood);
  cairo_fill(cr);
}

void Table(cairo_t* cr, double x, double y) {
  SoftEllipse(cr, x + 80, y + 96, 96, 10, Hex(0x000000), 0.35, 6);
  for (int i = 0; i < 4; ++i) {
    const double lx = x + 10 + (i % 2) * 140, ly = y + 6 + (i / 2) * 10;
    cairo_rectangle(cr, lx, ly, 8, 88 - (i / 2) * 10 + 10);
    SetColor(cr, i / 2 ? kWood : kWoodDark);
    cairo_fill(cr);
  }
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x + 160, y);
  cairo_line_to(cr, x + 168, y + 18);
  cairo_line_to(cr, x - 8, y + 18);
  cairo_close_path(cr);
  SetColor(cr, Hex(0x8a6446));
  cairo_fill(cr);
  cairo_rectangle(cr, x - 8, y + 18, 176, 8);
  SetColor(cr, kWoodDark);
  cairo_fill(cr);
  // A cloth, a mug and a loaf.
  cairo_move_to(cr, x + 30, y + 2);
  cairo_line_to(cr, x + 130, y + 2);
  cairo_line_to(cr, x + 136, y + 18);
  cairo_line_to(cr, x + 24, y + 18);
  cairo_close_path(cr);
  SetColor(cr, Hex(0xe8dcc4), 0.85);
  cairo_fill(cr);
  cairo_rectangle(cr, x + 100, y - 14, 14, 16);
  SetColor(cr, Hex(0x4f7f86));
  cairo_fill(cr);
  SoftEllipse(cr, x + 60, y - 2, 18, 8, Hex(0xb87a40), 1, 1);
}

void Stove(cairo_t* cr, double x, double y) {
  // A whitewashed stove with a dark mouth where the fire burns.
  cairo_rectangle(cr, x, y - 230, 150, 230);
  cairo_pattern_t* g = cairo_pattern_create_linear(x, 0, x + 150, 0);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.9, 0.84, 0.74);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.6, 0.54, 0.5);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_rectangle(cr, x + 20, y - 330, 70, 100);
  SetColor(cr, Hex(0xc8bcaa));
  cairo_fill(cr);
  cairo_rectangle(cr, x - 6, y - 236, 162, 10);
  SetColor(cr, Hex(0xb0a490));
  cairo_fill(cr);
  cairo_move_to(cr, x + 40, y - 40);
  cairo_line_to(cr, x + 40, y - 100);
  cairo_curve_to(cr, x + 40, y - 130, x + 110, y - 130, x + 110, y - 100);
  cairo_line_to(cr, x + 110, y - 40);
  cairo_close_path(cr);
  SetColor(cr, Hex(0x1a100c));
  cairo_fill(cr);
  cairo_rectangle(cr, x, y - 230, 150, 230);
  SetColor(cr, kInk, 0.5);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // Firewood beside it.
  for (int i = 0; i < 5; ++i) {
    const double lx = x - 40 + (i % 3) * 12, ly = y - 8 - (i / 3) * 11;
    cairo_save(cr);
    cairo_translate(cr, lx, ly);
    cairo_scale(cr, 6, 5.5);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, Hex(0xc09a70));
    cairo_fill_preserve(cr);
    SetColor(cr, kWoodDark);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
  }
}

void Background(TArtArchive& a) {
  TArtRandom rnd(555);
  TCanvas c(800, 600);
  cairo_t* cr = *c;
  LogWall(cr, rnd, 0, 800, 0, 400, 26);
  // Floor planks in perspective, converging on a point above the room.
  cairo_rectangle(cr, 0, 396, 800, 204);
  cairo_pattern_t* floor = cairo_pattern_create_linear(0, 396, 0, 600);
  cairo_pattern_add_color_stop_rgb(floor, 0, 0.36, 0.25, 0.18);
  cairo_pattern_add_color_stop_rgb(floor, 1, 0.52, 0.36, 0.24);
  cairo_set_source(cr, floor);
  cairo_fill(cr);
  cairo_pattern_destroy(floor);
  for (int i = -12; i <= 12; ++i) {
    cairo_move_to(cr, 400 + i * 46, 396);
    cairo_line_to(cr, 400 + i * 90, 600);
  }
  SetColor(cr, Hex(0x24180f), 0.6);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  // Skirting where wall meets floor.
  cairo_rectangle(cr, 0, 390, 800, 8);
  SetColor(cr, kWoodDark);
  cairo_fill(cr);
  // Warm light from the stove and the window spilling over the room.
  Glow(cr, 700, 330, 360, kAmber, 0.25);
  Window(cr, rnd, 300, 130, 150, 120);
  Door(cr, 56, 220, 86, 172);
  // A shelf with jars.
  cairo_rectangle(cr, 480, 150, 130, 8);
  SetColor(cr, kWoodDark);
  cairo_fill(cr);
  const TRgb jars[4] = {Hex(0xb5462f), Hex(0xe0b070), Hex(0x4f7f86), Hex(0x6f8a48)};
  for (int i = 0; i < 4; ++i) {
    cairo_rectangle(cr, 490 + i * 30, 120, 20, 30);
    SetColor(cr, jars[i], 0.9);
    cairo_fill(cr);
    cairo_rectangle(cr, 488 + i * 30, 116, 24, 6);
    SetColor(cr, Hex(0xe8dcc4));
    cairo_fill(cr);
  }
  // The rug.
  cairo_save(cr);
  cairo_translate(cr, 390, 520);
  cairo_scale(cr, 190, 44);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  SetColor(cr, Hex(0x8a3a30));
  cairo_fill(cr);
  for (int r = 0; r < 3; ++r) {
    cairo_save(cr);
    cairo_translate(cr, 390, 520);
    cairo_scale(cr, 170 - r * 40, 38 - r * 10);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, r % 2 ? Hex(0x4f7f86) : Hex(0xe0b070), 0.8);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
  Bed(cr, 160, 430);
  Table(cr, 470, 372);
  Stove(cr, 640, 470);
  // Corners of the room darker.
  cairo_pattern_t* v = cairo_pattern_create_radial(420, 330, 200, 420, 330, 620);
  cairo_pattern_add_color_stop_rgba(v, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(v, 1, 0.05, 0.02, 0.02, 0.55);
  cairo_set_source(cr, v);
  cairo_paint(cr);
  cairo_pattern_destroy(v);
  AddGrain(c.Surface.get(), 33, 0.015);
  a.Add("cabin_bg", c, false);
}

void Fire(TArtArchive& a) {
  for (int f = 0; f < 4; ++f) {
    TCanvas c(64, 64);
    cairo_t* cr = *c;
    TArtRandom rnd(700 + static_cast<uint64_t>(f));
    Glow(cr, 32, 44, 30, kAmber, 0.6);
    for (int t = 0; t < 5; ++t) {
      const double x = 14 + t * 9 + rnd.Range(-2, 2), h = rnd.Range(18, 34) * (t == 2 ? 1.2 : 1);
      cairo_move_to(cr, x - 7, 58);
      cairo_curve_to(cr, x - 8, 50 - h * 0.4, x - 2, 56 - h, x + rnd.Range(-3, 3), 58 - h);
      cairo_curve_to(cr, x + 2, 56 - h * 0.6, x + 8, 50 - h * 0.3, x + 7, 58);
      cairo_close_path(cr);
      cairo_pattern_t* g = cairo_pattern_create_linear(0, 58 - h, 0, 58);
      cairo_pattern_add_color_stop_rgba(g, 0, 1, 0.55, 0.2, 0.2);
      cairo_pattern_add_color_stop_rgba(g, 0.5, 1, 0.7, 0.3, 0.9);
      cairo_pattern_add_color_stop_rgba(g, 1, 1, 0.95, 0.7, 1);
      cairo_set_source(cr, g);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
    }
    // Logs in the fire.
    cairo_rectangle(cr, 10, 56, 44, 6);
    SetColor(cr, Hex(0x2a1a12));
    cairo_fill(cr);
    a.AddLoopFrame("fire_%d", f, 4, 120, c);
  }
}

void Candle(TArtArchive& a) {
  for (int f = 0; f < 4; ++f) {
    const bool lit = f < 3;
    TCanvas c(32, 64);
    cairo_t* cr = *c;
    if (lit) Glow(cr, 16, 20, 16, kWarmLight, 0.55 - 0.1 * f);
    cairo_rectangle(cr, 11, 30, 10, 26);
    cairo_pattern_t* g = cairo_pattern_create_linear(11, 0, 21, 0);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.98, 0.94, 0.84);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.78, 0.72, 0.62);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    SoftEllipse(cr, 16, 57, 11, 3, Hex(0x8a6446), 1, 0.5);
    cairo_move_to(cr, 16, 30);
    cairo_line_to(cr, 16, 26);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (lit) {
      const double lean = (f - 1) * 1.2;
      cairo_move_to(cr, 16, 27);
      cairo_curve_to(cr, 12, 24, 14 + lean, 18, 16 + lean, 14 - f);
      cairo_curve_to(cr, 18 + lean, 18, 20, 24, 16, 27);
      SetColor(cr, Hex(0xffe6a0));
      cairo_fill(cr);
      Glow(cr, 16, 23, 4, Hex(0xffffff), 0.8);
    } else {
      // A wisp of smoke over the wick.
      for (int i = 0; i < 4; ++i) SoftEllipse(cr, 16 + std::sin(i) * 3, 22 - i * 5, 2 + i * 0.6, 2, Hex(0xb0a0b8), 0.25, 1);
    }
    char name[16];
    if (lit)
      std::snprintf(name, sizeof name, "candle_%d", f);
    else
      std::snprintf(name, sizeof name, "candle_off");
    TArtImage& img = a.Add(name, c);
    if (lit) {
      std::snprintf(name, sizeof name, "candle_%d", (f + 1) % 3);
      img.Next = name;
      img.FrameTime = 160;
    }
  }
}

void Cat(TArtArchive& a) {
  for (int f = 0; f < 2; ++f) {
    const bool awake = f == 1;
    TCanvas c(80, 48);
    cairo_t* cr = *c;
    SoftEllipse(cr, 40, 42, 30, 4, Hex(0x000000), 0.3, 3);
    // A curled body.
    cairo_save(cr);
    cairo_translate(cr, 42, 32);
    cairo_scale(cr, 26, 12);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 20, 0, 44);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.85, 0.58, 0.3);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.55, 0.34, 0.18);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    for (int s = 0; s < 3; ++s) {
      cairo_move_to(cr, 34 + s * 9, 22);
      cairo_curve_to(cr, 36 + s * 9, 28, 35 + s * 9, 34, 33 + s * 9, 40);
      SetColor(cr, Hex(0x8a4a1c), 0.6);
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
    }
    // Tail wrapped round the front.
    cairo_move_to(cr, 66, 34);
    cairo_curve_to(cr, 70, 44, 40, 46, 24, 42);
    SetColor(cr, Hex(0xa8622a));
    cairo_set_line_width(cr, 5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    // Head: tucked down asleep, raised when awake.
    const double hy = awake ? 18 : 28;
    cairo_move_to(cr, 8, hy);
    cairo_line_to(cr, 10, hy - 12);
    cairo_line_to(cr, 16, hy - 7);
    cairo_line_to(cr, 22, hy - 12);
    cairo_line_to(cr, 25, hy);
    cairo_curve_to(cr, 28, hy + 12, 4, hy + 12, 8, hy);
    cairo_close_path(cr);
    SetColor(cr, Hex(0xc8823c));
    cairo_fill_preserve(cr);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
    for (int e = 0; e < 2; ++e) {
      const double ex = 12 + e * 8, ey = hy + 2;
      if (awake) {
        cairo_arc(cr, ex, ey, 2, 0, 2 * M_PI);
        SetColor(cr, Hex(0xb8d84a));
        cairo_fill(cr);
        cairo_rectangle(cr, ex - 0.5, ey - 1.8, 1, 3.6);
        SetColor(cr, kInk);
        cairo_fill(cr);
      } else {
        cairo_move_to(cr, ex - 2, ey);
        cairo_curve_to(cr, ex - 1, ey + 1.5, ex + 1, ey + 1.5, ex + 2, ey);
        SetColor(cr, kInk);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
      }
    }
    TArtImage& img = a.Add(awake ? "cat_wake" : "cat", c);
    if (awake) {
      img.Next = "cat";
      img.FrameTime = 1600;
    }
  }
}

}  // namespace

void BuildCabinArt(TArtArchive& archive) {
  Background(archive);
  Fire(archive);
  Candle(archive);
  Cat(archive);
}
