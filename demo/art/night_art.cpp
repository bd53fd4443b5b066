#include "night_art.h"

#include <cmath>
#include <stdexcept>

namespace {

// An additive picture starts black: black adds nothing.
TCanvas Additive(int width, int height) {
  TCanvas c(width, height);
  cairo_set_source_rgb(*c, 0, 0, 0);
  cairo_paint(*c);
  return c;
}

const TRgb kNight = Hex(0x0a1030);
const TRgb kStar = Hex(0xfff6dc);
const TRgb kMoon = Hex(0xf4efd8);
const TRgb kWarm = Hex(0xffc46a);

// The evening sky as the background has it, down to the far shore, for a
// colour channel to darken: its own alpha leaves a trace of the dusk when
// the channel has made it black.
void DuskSky(TArtArchive& archive) {
  std::string file;
  for (const TArtImage& image : archive.Images())
    if (image.Name == "lake_bg") file = JoinPath(archive.Dir(), image.File);
  TSurface bg(cairo_image_surface_create_from_png(file.c_str()));
  if (file.empty() || cairo_surface_status(bg.get()) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("the night sky needs the lake's background painted first");
  TCanvas c(800, 272);
  cairo_set_source_surface(*c, bg.get(), 0, 0);
  cairo_pattern_t* mask = cairo_pattern_create_linear(0, 0, 0, 272);
  cairo_pattern_add_color_stop_rgba(mask, 0, 0, 0, 0, 0.85);
  cairo_pattern_add_color_stop_rgba(mask, 0.88, 0, 0, 0, 0.8);
  cairo_pattern_add_color_stop_rgba(mask, 1, 0, 0, 0, 0);
  cairo_mask(*c, mask);
  cairo_pattern_destroy(mask);
  archive.Add("night_sky", c);
}

// The tint is drawn over everything, the hero included; its own alpha caps
// how dark the night gets, darker in the sky than on the grass at his feet.
void Tint(TArtArchive& archive) {
  TCanvas c(800, 600);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 600);
  cairo_pattern_add_color_stop_rgba(p, 0, kNight.R, kNight.G, kNight.B, 0.8);
  cairo_pattern_add_color_stop_rgba(p, 0.45, kNight.R, kNight.G, kNight.B, 0.66);
  cairo_pattern_add_color_stop_rgba(p, 1, kNight.R, kNight.G, kNight.B, 0.52);
  cairo_set_source(*c, p);
  cairo_paint(*c);
  cairo_pattern_destroy(p);
  archive.Add("night_tint", c);
}

// The lights are added to the picture rather than laid over it, so a star
// never darkens the sky behind it.
void Stars(TArtArchive& archive) {
  TCanvas c = Additive(kStarsWidth, kStarsHeight);
  TArtRandom rnd(1807);
  for (int i = 0; i < 150; ++i) {
    const double x = rnd.Range(4, kStarsWidth - 4), y = rnd.Range(4, kStarsHeight - 4);
    // Fewer and fainter stars low over the hills, where the haze is.
    const double fade = 1.0 - 0.7 * y / kStarsHeight;
    const double r = rnd.Range(0.6, 1.8);
    Glow(*c, x, y, r * 3, kStar, rnd.Range(0.4, 1.0) * fade);
  }
  archive.Add("night_stars", c, false).BlendCode = 0;
}

void Moon(TArtArchive& archive) {
  TCanvas c(64, 64);
  Glow(*c, 32, 32, 31, kMoon, 0.4);
  cairo_arc(*c, 32, 32, 14, 0, 2 * M_PI);
  SetColor(*c, kMoon);
  cairo_fill(*c);
  SoftEllipse(*c, 27, 28, 4, 3, Hex(0xd6cfb0), 0.7, 1.5);
  SoftEllipse(*c, 37, 36, 3, 3, Hex(0xd6cfb0), 0.6, 1.5);
  SoftEllipse(*c, 30, 39, 2, 2, Hex(0xd6cfb0), 0.5, 1);
  archive.Add("night_moon", c);
}

// The two windows of the cabin as they glow through the dark, placed where
// the evening picture has them (the picture is 180 x 80 around 695, 351).
void Windows(TArtArchive& archive) {
  TCanvas c = Additive(180, 80);
  for (int i = 0; i < 2; ++i) {
    const double wx = 39 + i * 76, wy = 29;
    Glow(*c, wx + 13, wy + 11, 36, kWarm, 0.4);
    cairo_rectangle(*c, wx, wy, 26, 22);
    SetColor(*c, kWarm, 0.8);
    cairo_fill(*c);
  }
  archive.Add("night_windows", c, false).BlendCode = 0;
}

void LampLight(TArtArchive& archive) {
  TCanvas c = Additive(160, 160);
  Glow(*c, 80, 80, 78, kWarm, 0.45);
  Glow(*c, 80, 80, 12, Hex(0xfff0c8), 0.7);
  archive.Add("night_lamp", c, false).BlendCode = 0;
}

}  // namespace

void BuildNightSky(TArtArchive& archive) {
  DuskSky(archive);
  Tint(archive);
  Stars(archive);
  Moon(archive);
  Windows(archive);
  LampLight(archive);
}
