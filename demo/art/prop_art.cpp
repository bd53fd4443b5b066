#include "prop_art.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "art_common.h"
#include "sign_font.h"

const TSpeechLine kSpeechLines[] = {
    {"say_hi_1", "Хороший вечер!"},
    {"say_hi_2", "Пахнет соснами\nи дымком."},
    {"say_hi_3", "Интересно, что\nтам, в лесу?"},
    {"say_locked", "Заперто.\nНужен ключ."},
    {"say_key", "Старый ключ!\nНе от домика ли?"},
    {"say_open", "Ключ подошёл!"},
    {"say_water", "Вода холодная.\nКупаться не буду."},
    {"say_float", "Поплавок! Брошу\nего в воду."},
    {"say_hint", "Кто-то оставил\nподсказку."},
    {"say_owl", "Добрый вечер,\nсова!"},
    {"say_cat", "Привет, Мурка!"},
    {"say_window", "Озеро видно\nпрямо из окна."},
    {"say_home", "Как тепло\nв доме!"},
};
const int kSpeechLineCount = sizeof(kSpeechLines) / sizeof(kSpeechLines[0]);

void CentredText(cairo_t* cr, const TSignFont& font, double size, const std::vector<std::string>& lines, double cx,
                 double cy, TRgb color, bool shadow) {
  cairo_set_font_face(cr, font.Cairo);
  cairo_set_font_size(cr, size);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  const double lineH = size * 1.2;
  double y = cy - lineH * (static_cast<double>(lines.size()) - 1) / 2 + (fe.ascent - fe.descent) / 2;
  for (const std::string& line : lines) {
    cairo_text_extents_t ext;
    cairo_text_extents(cr, line.c_str(), &ext);
    const double x = cx - ext.width / 2 - ext.x_bearing;
    if (shadow) {
      cairo_move_to(cr, x + 1.5, y + 2);
      SetColor(cr, Hex(0x000000), 0.45);
      cairo_show_text(cr, line.c_str());
    }
    cairo_move_to(cr, x, y);
    SetColor(cr, color);
    cairo_show_text(cr, line.c_str());
    y += lineH;
  }
}

namespace {

const TRgb kInk = Hex(0x1c1a24);
const TRgb kCream = Hex(0xf6ead0);
const TRgb kAmber = Hex(0xf2b45a);
const TRgb kWoodDark = Hex(0x3a281c);
const TRgb kWood = Hex(0x6e4b30);
const TRgb kWoodLight = Hex(0x9a6e46);

std::vector<std::string> SplitLines(const char* text) {
  std::vector<std::string> lines(1);
  for (const char* p = text; *p; ++p) {
    if (*p == '\n')
      lines.emplace_back();
    else
      lines.back() += *p;
  }
  return lines;
}

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void Bubble(TArtArchive& a, const TSignFont& font, const TSpeechLine& line) {
  TCanvas c(256, 96);
  cairo_t* cr = *c;
  auto shape = [&] {
    RoundRect(cr, 8, 6, 240, 66, 22);
    cairo_move_to(cr, 114, 70);
    cairo_line_to(cr, 128, 92);
    cairo_line_to(cr, 142, 70);
    cairo_close_path(cr);
  };
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_save(cr);
  cairo_translate(cr, 2, 3);
  shape();
  SetColor(cr, Hex(0x000000), 0.3);
  cairo_fill(cr);
  cairo_restore(cr);
  shape();
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 6, 0, 72);
  cairo_pattern_add_color_stop_rgb(g, 0, 1, 0.98, 0.93);
  cairo_pattern_add_color_stop_rgb(g, 1, kCream.R, kCream.G, kCream.B);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(cr);
  // Cover the seam between the box and the tail.
  cairo_rectangle(cr, 116, 66, 24, 4);
  SetColor(cr, kCream);
  cairo_fill(cr);
  const auto lines = SplitLines(line.Text);
  CentredText(cr, font, lines.size() > 1 ? 17 : 19, lines, 128, 39, Hex(0x3a2a20), false);
  a.Add(line.Name, c);
}

void Title(TArtArchive& a, const TSignFont& font) {
  TCanvas c(560, 200);
  cairo_t* cr = *c;
  // A dark haze behind the lettering so it reads against the sky.
  SoftEllipse(cr, 280, 92, 230, 58, Hex(0x141024), 0.45, 30);
  CentredText(cr, font, 54, {"Вечер у озера"}, 280, 82, Hex(0xfff0d0), true);
  cairo_move_to(cr, 150, 126);
  cairo_line_to(cr, 410, 126);
  SetColor(cr, kAmber, 0.7);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  CentredText(cr, font, 17, {"Esc — пропустить"}, 280, 152, Hex(0xe8d8c0), true);
  a.Add("title", c);
}

// A small board on a stake with the keys written on it.
void HintBoard(TArtArchive& a, const TSignFont& font) {
  TCanvas c(128, 128);
  cairo_t* cr = *c;
  SoftEllipse(cr, 64, 122, 18, 4, Hex(0x000000), 0.4, 3);
  cairo_rectangle(cr, 60, 70, 8, 54);
  SetColor(cr, kWoodDark);
  cairo_fill(cr);
  cairo_rectangle(cr, 60, 70, 3, 54);
  SetColor(cr, kWood);
  cairo_fill(cr);
  RoundRect(cr, 8, 10, 112, 68, 5);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 10, 0, 78);
  cairo_pattern_add_color_stop_rgb(g, 0, kWoodLight.R, kWoodLight.G, kWoodLight.B);
  cairo_pattern_add_color_stop_rgb(g, 1, kWood.R, kWood.G, kWood.B);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  for (int i = 0; i < 2; ++i) {
    cairo_arc(cr, 16 + i * 96, 18, 2, 0, 2 * M_PI);
    SetColor(cr, Hex(0x2a2a30));
    cairo_fill(cr);
  }
  CentredText(cr, font, 14, {"Пробел —", "фонарь", "← → — лодка"}, 64, 44, Hex(0xfbeed0), true);
  a.Add("hint_keys", c);
}

void Boat(TArtArchive& a) {
  TCanvas c(160, 64);
  cairo_t* cr = *c;
  // Reflection first, under the hull.
  SoftEllipse(cr, 80, 46, 66, 7, Hex(0x1a1830), 0.45, 5);
  auto hull = [&] {
    cairo_move_to(cr, 10, 26);
    cairo_curve_to(cr, 40, 30, 120, 30, 152, 22);
    cairo_curve_to(cr, 146, 34, 130, 44, 110, 46);
    cairo_line_to(cr, 44, 46);
    cairo_curve_to(cr, 28, 44, 16, 36, 10, 26);
    cairo_close_path(cr);
  };
  hull();
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 24, 0, 46);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.62, 0.44, 0.3);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.3, 0.2, 0.16);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  // Planks and a painted stripe under the rim.
  for (int i = 1; i < 3; ++i) {
    cairo_move_to(cr, 16 + i * 4, 28 + i * 6);
    cairo_curve_to(cr, 50, 32 + i * 6, 110, 32 + i * 6, 146 - i * 6, 26 + i * 6);
    SetColor(cr, kWoodDark, 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  cairo_move_to(cr, 12, 27);
  cairo_curve_to(cr, 40, 31, 120, 31, 150, 24);
  SetColor(cr, Hex(0x4f7f86));
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  // The inside of the boat, a seat and an oar resting across it.
  cairo_move_to(cr, 20, 26);
  cairo_curve_to(cr, 50, 22, 110, 22, 144, 22);
  cairo_curve_to(cr, 110, 26, 50, 28, 20, 26);
  SetColor(cr, Hex(0x2a1c14));
  cairo_fill(cr);
  cairo_rectangle(cr, 70, 21, 8, 5);
  SetColor(cr, kWoodLight);
  cairo_fill(cr);
  cairo_move_to(cr, 40, 14);
  cairo_line_to(cr, 126, 30);
  SetColor(cr, Hex(0x8a6446));
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  SoftEllipse(cr, 128, 31, 7, 3, Hex(0x8a6446), 1, 0.5);
  // Water lapping at the waterline.
  for (int i = 0; i < 3; ++i) SoftEllipse(cr, 50 + i * 30, 47, 14, 1.2, Hex(0xffd2a0), 0.35, 1);
  a.Add("boat", c);
}

// A mallard paddling; `left` faces left, frame f bobs it.
void Duck(TArtArchive& a, bool left, int f) {
  TCanvas c(48, 40);
  cairo_t* cr = *c;
  if (!left) {
    cairo_translate(cr, 48, 0);
    cairo_scale(cr, -1, 1);
  }
  const double bob = f == 0 ? 0 : 1.5;
  SoftEllipse(cr, 26, 33, 18, 2.5, Hex(0xffd2a0), 0.35, 1.5);
  SoftEllipse(cr, 26, 34 + (f == 0 ? 2 : 0), 20, 1.2, Hex(0xc7a3c0), 0.3, 1);
  // Body and tail.
  cairo_move_to(cr, 10, 26 + bob);
  cairo_curve_to(cr, 12, 18 + bob, 30, 16 + bob, 42, 20 + bob);
  cairo_line_to(cr, 45, 17 + bob);
  cairo_curve_to(cr, 44, 26 + bob, 38, 32 + bob, 24, 32 + bob);
  cairo_curve_to(cr, 16, 32 + bob, 10, 30 + bob, 10, 26 + bob);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 16 + bob, 0, 32 + bob);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.62, 0.52, 0.42);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.36, 0.28, 0.24);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  // Wing.
  cairo_move_to(cr, 20, 23 + bob);
  cairo_curve_to(cr, 26, 20 + bob, 36, 21 + bob, 38, 25 + bob);
  cairo_curve_to(cr, 32, 28 + bob, 24, 28 + bob, 20, 23 + bob);
  SetColor(cr, Hex(0x5a4a40));
  cairo_fill(cr);
  cairo_move_to(cr, 28, 25 + bob);
  cairo_line_to(cr, 35, 25 + bob);
  SetColor(cr, Hex(0x4a66a8));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  // Green head, white collar, yellow bill.
  cairo_arc(cr, 13, 14 + bob, 6, 0, 2 * M_PI);
  SetColor(cr, Hex(0x2f6a4a));
  cairo_fill_preserve(cr);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
  cairo_move_to(cr, 11, 19.5 + bob);
  cairo_line_to(cr, 17, 20.5 + bob);
  SetColor(cr, Hex(0xf4efe0));
  cairo_set_line_width(cr, 1.4);
  cairo_stroke(cr);
  cairo_move_to(cr, 8, 13 + bob);
  cairo_curve_to(cr, 4, 13 + bob, 1, 15 + bob, 2, 16 + bob);
  cairo_line_to(cr, 8, 16 + bob);
  cairo_close_path(cr);
  SetColor(cr, Hex(0xe8b43a));
  cairo_fill(cr);
  cairo_arc(cr, 11.5, 12.5 + bob, 1, 0, 2 * M_PI);
  SetColor(cr, kInk);
  cairo_fill(cr);
  a.AddLoopFrame(left ? "duck_l_%d" : "duck_r_%d", f, 2, 420, c);
}

// Expanding rings on the water at (x, y), `t` from 0 (small, strong) to 1.
void Rings(cairo_t* cr, double x, double y, double t, double size) {
  for (int k = 0; k < 2; ++k) {
    const double r = size * (0.3 + 0.7 * t) * (1 - 0.4 * k);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, 1, 0.3);
    cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
    cairo_restore(cr);
    SetColor(cr, Hex(0xffe6c0), 0.7 * (1 - t) * (1 - 0.3 * k));
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
  }
}

void FishShape(cairo_t* cr, double x, double y, double angle) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  cairo_move_to(cr, -13, 0);
  cairo_curve_to(cr, -8, -6, 6, -6, 12, 0);
  cairo_curve_to(cr, 6, 6, -8, 6, -13, 0);
  cairo_close_path(cr);
  cairo_move_to(cr, -12, 0);
  cairo_line_to(cr, -19, -5);
  cairo_line_to(cr, -18, 5);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, -6, 0, 6);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.35, 0.45, 0.52);
  cairo_pattern_add_color_stop_rgb(g, 0.6, 0.85, 0.8, 0.72);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.98, 0.86, 0.66);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_arc(cr, 7, -1.2, 1, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_restore(cr);
}

// A fish leaps from the left ring along an arc and dives at the right ring.
void FishJump(TArtArchive& a) {
  const int frames = 6;
  for (int f = 0; f <= frames; ++f) {
    TCanvas c(128, 96);
    cairo_t* cr = *c;
    const char* name = nullptr;
    char buf[32];
    if (f < frames) {
      const double t = (f + 0.5) / frames;  // along the arc
      const double x = 26 + 76 * t, y = 80 - 62 * std::sin(t * M_PI);
      const double slope = std::atan2(-62 * M_PI * std::cos(t * M_PI), 76);
      Rings(cr, 26, 82, std::min(1.0, f / 3.0), 16);
      if (f >= 4) Rings(cr, 102, 82, (f - 4) / 2.0, 16);
      if (f <= 4) FishShape(cr, x, y, slope);
      // Drops shaken off at the top of the leap.
      if (f >= 1 && f <= 3)
        for (int d = 0; d < 4; ++d) SoftEllipse(cr, x - 10 - d * 5, y + 6 + d * 3, 1.2, 1.6, Hex(0xffe6c0), 0.8, 0.5);
      if (f == 5)
        for (int d = 0; d < 6; ++d)
          SoftEllipse(cr, 96 + d * 2.5, 72 - (d % 3) * 5, 1.3, 2, Hex(0xffe6c0), 0.8, 0.5);
      std::snprintf(buf, sizeof buf, "fish_%d", f);
      name = buf;
    } else {
      name = "fish_end";
    }
    TArtImage& img = a.Add(name, c);
    if (f < frames) {
      char next[32];
      if (f + 1 < frames)
        std::snprintf(next, sizeof next, "fish_%d", f + 1);
      else
        std::snprintf(next, sizeof next, "fish_end");
      img.Next = next;
      img.FrameTime = 90;
    }
  }
}

void Stone(TArtArchive& a) {
  TCanvas c(20, 16);
  cairo_t* cr = *c;
  cairo_save(cr);
  cairo_translate(cr, 10, 8);
  cairo_scale(cr, 7, 5);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_pattern_t* g = cairo_pattern_create_radial(7, 6, 1, 10, 8, 8);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.78, 0.76, 0.76);
  cairo_pattern_add_color_stop_rgb(g, 1, 0.36, 0.36, 0.42);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  a.Add("stone", c);
}

void Splash(TArtArchive& a) {
  for (int f = 0; f <= 4; ++f) {
    TCanvas c(64, 48);
    cairo_t* cr = *c;
    if (f < 4) {
      Rings(cr, 32, 38, f / 3.0, 26);
      if (f < 2) {
        // A crown of drops thrown up.
        for (int d = 0; d < 7; ++d) {
          const double ang = M_PI * (0.15 + 0.7 * d / 6.0);
          const double r = 8 + 10 * f;
          SoftEllipse(cr, 32 + std::cos(ang) * r, 36 - std::sin(ang) * r * 1.2, 1.4, 2, Hex(0xfff0d8), 0.9, 0.5);
        }
        cairo_move_to(cr, 28, 38);
        cairo_curve_to(cr, 29, 30 - 6 * f, 35, 30 - 6 * f, 36, 38);
        SetColor(cr, Hex(0xfff0d8), 0.7);
        cairo_fill(cr);
      }
    }
    char name[32];
    if (f < 4)
      std::snprintf(name, sizeof name, "splash_%d", f);
    else
      std::snprintf(name, sizeof name, "splash_end");
    TArtImage& img = a.Add(name, c);
    if (f < 4) {
      char next[32];
      if (f < 3)
        std::snprintf(next, sizeof next, "splash_%d", f + 1);
      else
        std::snprintf(next, sizeof next, "splash_end");
      img.Next = next;
      img.FrameTime = 110;
    }
  }
}

void FloatBody(cairo_t* cr, double x, double y) {
  // Quill below, white body, red cap, a thin antenna.
  cairo_move_to(cr, x, y + 10);
  cairo_line_to(cr, x, y + 16);
  SetColor(cr, Hex(0x6e4b30));
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_translate(cr, x, y + 4);
  cairo_scale(cr, 4.5, 7);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  SetColor(cr, Hex(0xf4efe4));
  cairo_fill_preserve(cr);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_translate(cr, x, y + 4);
  cairo_scale(cr, 4.5, 7);
  cairo_arc(cr, 0, 0, 1, M_PI, 2 * M_PI);
  cairo_restore(cr);
  cairo_close_path(cr);
  SetColor(cr, Hex(0xd8453a));
  cairo_fill(cr);
  cairo_move_to(cr, x, y - 3);
  cairo_line_to(cr, x, y - 10);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void FishingFloat(TArtArchive& a) {
  {
    TCanvas c(24, 40);
    Glow(*c, 12, 18, 12, Hex(0xfff0c8), 0.35);
    FloatBody(*c, 12, 18);
    a.Add("float", c);
  }
  for (int f = 0; f < 2; ++f) {
    TCanvas c(40, 32);
    cairo_t* cr = *c;
    Rings(cr, 20, 25, f == 0 ? 0.2 : 0.7, 16);
    // Only the upper half shows above the water.
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, 40, 24 + f);
    cairo_clip(cr);
    FloatBody(cr, 20, 16 + f * 1.5);
    cairo_restore(cr);
    a.AddLoopFrame("float_bob_%d", f, 2, 500, c);
  }
}

// The cabin's door swung inwards: a warm lit opening, 32 x 48, centred on
// the painted door.
void OpenDoor(TArtArchive& a) {
  TCanvas c(32, 48);
  cairo_t* cr = *c;
  Glow(cr, 16, 30, 22, kAmber, 0.5);
  cairo_rectangle(cr, 5, 4, 22, 40);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 4, 0, 44);
  cairo_pattern_add_color_stop_rgb(g, 0, 0.95, 0.7, 0.38);
  cairo_pattern_add_color_stop_rgb(g, 1, 1.0, 0.86, 0.55);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // The door leaf, seen edge-on against the frame.
  cairo_move_to(cr, 5, 4);
  cairo_line_to(cr, 11, 8);
  cairo_line_to(cr, 11, 42);
  cairo_line_to(cr, 5, 44);
  cairo_close_path(cr);
  SetColor(cr, Hex(0x2a1a12));
  cairo_fill(cr);
  cairo_rectangle(cr, 5, 4, 22, 40);
  SetColor(cr, Hex(0x2c1d15));
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  a.Add("door_open", c);
}

void Key(TArtArchive& a) {
  for (int f = 0; f < 2; ++f) {
    TCanvas c(48, 32);
    cairo_t* cr = *c;
    SoftEllipse(cr, 24, 22, 18, 4, Hex(0x000000), 0.35, 2);
    cairo_save(cr);
    cairo_translate(cr, 24, 18);
    cairo_scale(cr, 1, 0.6);  // lying flat in the grass
    cairo_rotate(cr, 0.25);
    cairo_arc(cr, -11, 0, 7, 0, 2 * M_PI);
    cairo_arc_negative(cr, -11, 0, 3.2, 2 * M_PI, 0);
    RoundRect(cr, -5, -2.4, 24, 4.8, 1.5);
    cairo_rectangle(cr, 11, 2, 3, 6);
    cairo_rectangle(cr, 16, 2, 3, 7);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_pattern_t* g = cairo_pattern_create_linear(-18, -6, 20, 6);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.98, 0.84, 0.5);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.62, 0.44, 0.18);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    cairo_restore(cr);
    // A few grass blades over it, so it lies in the grass.
    for (int b = 0; b < 5; ++b) {
      const double x = 10 + b * 7;
      cairo_move_to(cr, x, 28);
      cairo_curve_to(cr, x, 22, x + 2, 18, x + 4 - b, 14 + (b % 2) * 4);
      SetColor(cr, Hex(0x2f4634), 0.9);
      cairo_set_line_width(cr, 1.3);
      cairo_stroke(cr);
    }
    if (f == 1) {
      // The glint that catches the eye.
      Glow(cr, 14, 14, 10, Hex(0xfff6d0), 0.9);
      cairo_move_to(cr, 14, 5);
      cairo_line_to(cr, 14, 23);
      cairo_move_to(cr, 5, 14);
      cairo_line_to(cr, 23, 14);
      SetColor(cr, Hex(0xffffff), 0.9);
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
    }
    TArtImage& img = a.Add(f == 0 ? "key_0" : "key_1", c);
    img.Next = f == 0 ? "key_1" : "key_0";
    img.FrameTime = f == 0 ? 1400 : 180;
  }
}

void Owl(TArtArchive& a) {
  for (int f = 0; f < 2; ++f) {
    TCanvas c(64, 80);
    cairo_t* cr = *c;
    // The branch it sits on, growing from the right.
    cairo_move_to(cr, 64, 60);
    cairo_curve_to(cr, 44, 62, 20, 66, 4, 64);
    cairo_line_to(cr, 4, 69);
    cairo_curve_to(cr, 20, 71, 44, 68, 64, 68);
    cairo_close_path(cr);
    SetColor(cr, Hex(0x2e2224));
    cairo_fill(cr);
    // Body.
    cairo_save(cr);
    cairo_translate(cr, 30, 44);
    cairo_scale(cr, 14, 19);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(16, 26, 44, 62);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.58, 0.46, 0.36);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.26, 0.2, 0.18);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetColor(cr, kInk);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    // Breast feathers.
    for (int r = 0; r < 3; ++r)
      for (int k = 0; k < 3; ++k) {
        cairo_arc(cr, 24 + k * 6 + (r % 2) * 3, 44 + r * 5, 2.2, 0, M_PI);
        SetColor(cr, Hex(0xd8c4a0), 0.55);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
      }
    // Head with ear tufts.
    cairo_move_to(cr, 16, 20);
    cairo_line_to(cr, 19, 10);
    cairo_line_to(cr, 24, 17);
    cairo_line_to(cr, 36, 17);
    cairo_line_to(cr, 41, 10);
    cairo_line_to(cr, 44, 20);
    cairo_curve_to(cr, 46, 34, 14, 34, 16, 20);
    cairo_close_path(cr);
    SetColor(cr, Hex(0x6a5444));
    cairo_fill_preserve(cr);
    SetColor(cr, kInk);
    cairo_stroke(cr);
    for (int e = 0; e < 2; ++e) {
      const double ex = 24 + e * 12;
      cairo_arc(cr, ex, 23, 5, 0, 2 * M_PI);
      SetColor(cr, Hex(0xe8d8b8));
      cairo_fill(cr);
      if (f == 0) {
        cairo_arc(cr, ex, 23, 3.4, 0, 2 * M_PI);
        SetColor(cr, Hex(0xf2b43a));
        cairo_fill(cr);
        cairo_arc(cr, ex, 23, 1.7, 0, 2 * M_PI);
        SetColor(cr, kInk);
        cairo_fill(cr);
      } else {
        cairo_move_to(cr, ex - 4, 23);
        cairo_curve_to(cr, ex - 2, 25, ex + 2, 25, ex + 4, 23);
        SetColor(cr, kInk);
        cairo_set_line_width(cr, 1.4);
        cairo_stroke(cr);
      }
    }
    cairo_move_to(cr, 28, 27);
    cairo_line_to(cr, 32, 27);
    cairo_line_to(cr, 30, 31);
    cairo_close_path(cr);
    SetColor(cr, Hex(0xc89a3a));
    cairo_fill(cr);
    // Talons on the branch.
    for (int t = 0; t < 2; ++t) {
      cairo_move_to(cr, 25 + t * 8, 62);
      cairo_line_to(cr, 25 + t * 8, 65);
      SetColor(cr, Hex(0xc89a3a));
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
    }
    TArtImage& img = a.Add(f == 0 ? "owl" : "owl_blink", c);
    img.Next = f == 0 ? "owl_blink" : "owl";
    img.FrameTime = f == 0 ? 3200 : 160;
  }
}

}  // namespace

void BuildSpeechBubbles(TArtArchive& archive, const std::string& boldFont) {
  TSignFont font(boldFont);
  for (int i = 0; i < kSpeechLineCount; ++i) Bubble(archive, font, kSpeechLines[i]);
}

void BuildLakeProps(TArtArchive& archive, const std::string& boldFont) {
  TSignFont font(boldFont);
  Title(archive, font);
  HintBoard(archive, font);
  Boat(archive);
  for (int left = 0; left < 2; ++left)
    for (int f = 0; f < 2; ++f) Duck(archive, left == 1, f);
  FishJump(archive);
  Stone(archive);
  Splash(archive);
  FishingFloat(archive);
  OpenDoor(archive);
}

void BuildForestProps(TArtArchive& archive) {
  Key(archive);
  Owl(archive);
}
