// Pictures of the demo's interactive props and speech.
//
// Speech bubbles ("say_*", 256 x 96) carry one line of the hero's, the tail
// at the bottom middle (128, 92): an object placed 172 above the hero's feet
// points the tail at his cap. Every location archive gets the
// whole set, since the hero's own remarks are the same everywhere.
//
// Lake props: the title card of the opening ("title"), a hint board
// ("hint_keys"), a rowing boat ("boat"), a swimming duck facing left and
// right ("duck_l_0/1", "duck_r_0/1"), a fish leaping out of the water
// ("fish_0".."fish_5", ending on the empty "fish_end"), a pebble ("stone")
// with its splash ("splash_0".."splash_3", ending on "splash_end"), a
// fishing float lying ("float") and bobbing ("float_bob_0/1"), and the
// cabin's door standing open ("door_open").
//
// Forest props: an old key glinting in the grass ("key_0", "key_1") and an
// owl on a branch that blinks ("owl", "owl_blink").
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "art_common.h"

class TArtArchive;
class TSignFont;

// Lines of text centred around (cx, cy), with a soft shadow when `shadow`.
void CentredText(cairo_t* cr, const TSignFont& font, double size, const std::vector<std::string>& lines, double cx,
                 double cy, TRgb color, bool shadow);

// The bubble texts, by picture name.
struct TSpeechLine {
  const char* Name;
  const char* Text;  // '\n' breaks the line
};
extern const TSpeechLine kSpeechLines[];
extern const int kSpeechLineCount;

void BuildSpeechBubbles(TArtArchive& archive, const std::string& boldFont);
void BuildLakeProps(TArtArchive& archive, const std::string& boldFont);
void BuildForestProps(TArtArchive& archive);
