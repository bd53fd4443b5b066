// demo_intro_frames: paints the pictures of the demo's intro video, an
// evening falling over the lake while a boat drifts home and the title comes
// up, as numbered PNGs (frame_000.png ...) that the ffmpeg command encodes
// with the music.
//
//   demo_intro_frames OUTDIR FRAMES FONT
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "art_common.h"
#include "sign_font.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
constexpr double kHorizon = 380;

double Smooth(double from, double to, double t) {
  const double x = std::clamp((t - from) / (to - from), 0.0, 1.0);
  return x * x * (3 - 2 * x);
}

void PaintSky(cairo_t* cr, double t, TRgb& low) {
  // The sky darkens from gold to dusk as the sun goes down.
  const TRgb top = Mix(Hex(0x3B5C9A), Hex(0x141A3A), t);
  const TRgb middle = Mix(Hex(0xF0A050), Hex(0x8A4A6A), t);
  low = Mix(Hex(0xFFD890), Hex(0xD0705A), t);
  FillVerticalGradient(cr, 0, 0, kWidth, kHorizon, {top, middle, low});
  // Stars come out in the last third; the same stars on every picture.
  TArtRandom stars(3);
  const double starAlpha = Smooth(0.6, 1.0, t);
  for (int i = 0; i < 40 && starAlpha > 0; ++i) {
    const double x = stars.Range(0, kWidth), y = stars.Range(0, kHorizon * 0.45);
    SetColor(cr, Hex(0xFFF8E8), starAlpha * stars.Range(0.3, 0.9));
    cairo_arc(cr, x, y, 1.2, 0, 2 * M_PI);
    cairo_fill(cr);
  }
  const double sunY = 200 + 210 * t;
  Glow(cr, 520, sunY, 140, Hex(0xFFE0A0), 0.6 * (1 - 0.5 * t));
  SetColor(cr, Mix(Hex(0xFFF2C0), Hex(0xFF9050), t));
  cairo_arc(cr, 520, sunY, 34, 0, 2 * M_PI);
  cairo_fill(cr);
}

void PaintLake(cairo_t* cr, double t, TRgb low) {
  // The far hills, the same on every picture.
  TArtRandom hills(7);
  SetColor(cr, Mix(Hex(0x4A4060), Hex(0x241C34), t));
  RidgePath(cr, hills, -10, kWidth + 10, kHorizon - 30, 40, 24, kHorizon + 1);
  cairo_fill(cr);

  // The water: the sky's colours darker, and the sun's glitter on it.
  FillVerticalGradient(cr, 0, kHorizon, kWidth, kHeight,
                       {Mix(low, Hex(0x203050), 0.5), Mix(Hex(0x203050), Hex(0x0A0E20), t)});
  TArtRandom glitter(11);
  for (int i = 0; i < 60; ++i) {
    const double y = kHorizon + 8 + glitter.Range(0, 200);
    const double x = 520 + glitter.Range(-1, 1) * (30 + (y - kHorizon) * 0.6) + 6 * std::sin(t * 30 + i);
    SetColor(cr, Hex(0xFFE8B0), 0.5 * (1 - t) * (1 - (y - kHorizon) / 240));
    cairo_rectangle(cr, x, y, glitter.Range(8, 30), 2);
    cairo_fill(cr);
  }
}

// A rowing boat drifting from the right towards the near shore, rocking.
void PaintBoat(cairo_t* cr, double t) {
  const double x = 700 - 420 * t, y = 440 + 3 * std::sin(t * 40);
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, 0.03 * std::sin(t * 40 + 1));
  const TRgb hull = Mix(Hex(0x5A3A22), Hex(0x1E1410), t);
  SetColor(cr, hull);
  cairo_move_to(cr, -60, -10);
  cairo_line_to(cr, 60, -10);
  cairo_curve_to(cr, 50, 8, 30, 14, 0, 14);
  cairo_curve_to(cr, -30, 14, -50, 8, -60, -10);
  cairo_fill(cr);
  // Its reflection, broken by the ripples.
  for (int i = 0; i < 5; ++i) {
    SetColor(cr, hull, 0.35 - 0.06 * i);
    cairo_rectangle(cr, -50 + 4 * std::sin(t * 20 + i), 18 + 6 * i, 100 - 12 * i, 3);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void PaintTitle(cairo_t* cr, const TSignFont& font, double t) {
  const double alpha = Smooth(0.3, 0.65, t);
  if (alpha <= 0) return;
  cairo_set_font_face(cr, font.Cairo);
  cairo_set_font_size(cr, 64);
  cairo_text_extents_t ext;
  const char* text = "Evening at the Lake";
  cairo_text_extents(cr, text, &ext);
  const double x = (kWidth - ext.width) / 2 - ext.x_bearing, y = 150 + 20 * (1 - alpha);
  SetColor(cr, Hex(0x101020), 0.5 * alpha);
  cairo_move_to(cr, x + 3, y + 3);
  cairo_show_text(cr, text);
  SetColor(cr, Hex(0xFFF4DC), alpha);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text);
}

void PaintFrame(cairo_t* cr, const TSignFont& font, double t) {
  TRgb low;
  PaintSky(cr, t, low);
  PaintLake(cr, t, low);
  PaintBoat(cr, t);
  PaintTitle(cr, font, t);
  // Fades from and to black so the cut into the game is soft.
  const double black = std::max(1 - Smooth(0.0, 0.08, t), Smooth(0.92, 1.0, t));
  if (black > 0) {
    SetColor(cr, Hex(0x000000), black);
    cairo_paint(cr);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: demo_intro_frames OUTDIR FRAMES FONT\n", stderr);
    return 2;
  }
  const std::string out = argv[1];
  const int frames = std::atoi(argv[2]);
  MakeDirs(out);
  const TSignFont font(argv[3]);
  for (int f = 0; f < frames; ++f) {
    TCanvas canvas(kWidth, kHeight);
    PaintFrame(*canvas, font, frames > 1 ? static_cast<double>(f) / (frames - 1) : 0.0);
    char name[32];
    std::snprintf(name, sizeof name, "frame_%03d.png", f);
    if (cairo_surface_write_to_png(canvas.Surface.get(), JoinPath(out, name).c_str()) != CAIRO_STATUS_SUCCESS) {
      std::fprintf(stderr, "demo_intro_frames: cannot write %s\n", name);
      return 1;
    }
  }
  return 0;
}
