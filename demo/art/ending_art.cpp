#include "ending_art.h"

#include <cairo.h>

#include "sign_font.h"

namespace {

void Line(cairo_t* cr, const TSignFont& font, double size, const char* text, double cy, TRgb color) {
  cairo_set_font_face(cr, font.Cairo);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text, &ext);
  const double x = 280 - ext.width / 2 - ext.x_bearing;
  cairo_move_to(cr, x + 1.5, cy + 2);
  SetColor(cr, Hex(0x000000), 0.5);
  cairo_show_text(cr, text);
  cairo_move_to(cr, x, cy);
  SetColor(cr, color);
  cairo_show_text(cr, text);
}

}  // namespace

void BuildEndingArt(TArtArchive& archive, const std::string& boldFont) {
  TSignFont font(boldFont);
  TCanvas c(560, 200);
  cairo_t* cr = *c;
  // Moonlit haze behind the lettering, and a silver rule under the title.
  SoftEllipse(cr, 280, 100, 250, 70, Hex(0x0c1020), 0.55, 30);
  Line(cr, font, 56, "Конец", 92, Hex(0xf4f0ff));
  cairo_move_to(cr, 170, 112);
  cairo_line_to(cr, 390, 112);
  SetColor(cr, Hex(0xc8d4f0), 0.8);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  Line(cr, font, 20, "Рыба поймана, и бабушка будет довольна.", 142, Hex(0xe0e4f4));
  Line(cr, font, 17, "Спасибо за игру!", 172, Hex(0xc8d0e8));
  archive.Add("end_title", c);
}
