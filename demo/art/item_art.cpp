#include "item_art.h"

#include <cmath>
#include <string>

#include "art_common.h"
#include "system_art.h"

namespace {

const TRgb kInk = Hex(0x1c1a24);

void FishingLine(cairo_t* cr) {
  // A coil of line with the hook hanging from it.
  for (int r = 0; r < 3; ++r) {
    cairo_arc(cr, 20, 20, 9 - r * 2.5, 0, 2 * M_PI);
    SetColor(cr, Hex(0xe8e0d0), 0.9);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  cairo_move_to(cr, 28, 24);
  cairo_curve_to(cr, 34, 28, 34, 32, 33, 36);
  cairo_arc_negative(cr, 30, 36, 3, 0, M_PI * 0.9);
  SetColor(cr, Hex(0x9aa3ad));
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  cairo_arc(cr, 20, 20, 10.5, 0, 2 * M_PI);
  SetColor(cr, kInk, 0.6);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void HazelPole(cairo_t* cr) {
  cairo_move_to(cr, 7, 42);
  cairo_line_to(cr, 42, 6);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 4.5);
  cairo_stroke(cr);
  cairo_move_to(cr, 7, 42);
  cairo_line_to(cr, 42, 6);
  SetColor(cr, Hex(0x9c7448));
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  // A knot and a leaf left on it.
  cairo_arc(cr, 24, 24, 2, 0, 2 * M_PI);
  SetColor(cr, Hex(0x5e4028));
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, 33, 12);
  cairo_rotate(cr, 0.6);
  cairo_scale(cr, 6, 3);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  SetColor(cr, Hex(0x6f9a45));
  cairo_fill(cr);
}

// A tin seen from above and a little from the side, worms in the earth.
void BaitTin(cairo_t* cr) {
  cairo_rectangle(cr, 9, 22, 30, 14);
  SetColor(cr, Hex(0x8a949e));
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, 24, 36);
  cairo_scale(cr, 15, 5);
  cairo_arc(cr, 0, 0, 1, 0, M_PI);
  cairo_restore(cr);
  SetColor(cr, Hex(0x8a949e));
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, 24, 22);
  cairo_scale(cr, 15, 5);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  SetColor(cr, Hex(0x5e4028));
  cairo_fill_preserve(cr);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  for (int i = 0; i < 3; ++i) {
    cairo_move_to(cr, 17 + i * 7, 23);
    cairo_rel_curve_to(cr, 2, -6, 6, -2, 5, -8);
    SetColor(cr, Hex(0xd88080));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  }
}

// A round wooden button with a question mark: brighter under the mouse,
// pushed in while pressed.
void HintButton(cairo_t* cr, int state) {
  const double sink = state == 2 ? 2 : 0;
  SoftEllipse(cr, 24, 27, 20, 20, Hex(0x000000), 0.35, 3);
  cairo_arc(cr, 24, 24 + sink, 19, 0, 2 * M_PI);
  SetColor(cr, state == 1 ? Hex(0xc99a5e) : state == 2 ? Hex(0x8a6238) : Hex(0xa87b48));
  cairo_fill_preserve(cr);
  SetColor(cr, kInk);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
  if (state == 1) Glow(cr, 24, 24, 22, Hex(0xfff0c8), 0.25);
  // The question mark, drawn as a hook and a dot.
  cairo_arc(cr, 24, 18 + sink, 6.5, M_PI, 2.3 * M_PI);
  cairo_line_to(cr, 24, 28 + sink);
  SetColor(cr, Hex(0xfff0c8));
  cairo_set_line_width(cr, 3.5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  cairo_arc(cr, 24, 34.5 + sink, 2.2, 0, 2 * M_PI);
  cairo_fill(cr);
}

}  // namespace

void BuildItemArt(TArtArchive& archive) {
  for (int id = kCombinedItemFirst; id <= kCombinedItemLast; ++id) {
    TCanvas c(48, 48);
    cairo_set_line_join(*c, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(*c, CAIRO_LINE_CAP_ROUND);
    SoftEllipse(*c, 24, 40, 16, 4, Hex(0x000000), 0.3, 2);
    if (id == 7)
      FishingLine(*c);
    else
      HazelPole(*c);
    archive.Add(ItemPictureName(id), c);
  }
  {
    TCanvas c(48, 48);
    cairo_set_line_cap(*c, CAIRO_LINE_CAP_ROUND);
    SoftEllipse(*c, 24, 40, 16, 4, Hex(0x000000), 0.3, 2);
    BaitTin(*c);
    archive.Add(ItemPictureName(kBaitItem), c);
  }
  const char* const names[] = {"btn_hint_n", "btn_hint_h", "btn_hint_p"};
  for (int state = 0; state < 3; ++state) {
    TCanvas c(48, 48);
    HintButton(*c, state);
    archive.Add(names[state], c);
  }
}
