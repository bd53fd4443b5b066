#include "ending_art.h"

#include <cairo.h>

#include "prop_art.h"
#include "sign_font.h"

void BuildEndingArt(TArtArchive& archive, const std::string& boldFont) {
  TSignFont font(boldFont);
  TCanvas c(560, 200);
  cairo_t* cr = *c;
  // Moonlit haze behind the lettering, and a silver rule under the title.
  SoftEllipse(cr, 280, 100, 250, 70, Hex(0x0c1020), 0.55, 30);
  CentredText(cr, font, 56, {"Конец"}, 280, 72, Hex(0xf4f0ff), true);
  cairo_move_to(cr, 170, 112);
  cairo_line_to(cr, 390, 112);
  SetColor(cr, Hex(0xc8d4f0), 0.8);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  CentredText(cr, font, 20, {"Рыба поймана, и бабушка будет довольна."}, 280, 136, Hex(0xe0e4f4), true);
  CentredText(cr, font, 17, {"Спасибо за игру!"}, 280, 166, Hex(0xc8d0e8), true);
  archive.Add("end_title", c);
}
