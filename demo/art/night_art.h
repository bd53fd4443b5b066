// The lake by night, laid over the evening picture on its foreground layer:
// a dark tint, the stars, the moon and the warm lights of the cabin's
// windows and of the lamp. The time of day fades each of them in, so their
// materials are where its channels act.
#pragma once

#include "art_common.h"

// Where the stars may shine: the open sky above the far hills, clear of the
// pines on both sides of the lake picture (screen pixels).
constexpr int kStarsX = 130, kStarsY = 0, kStarsWidth = 620, kStarsHeight = 168;

void BuildNightSky(TArtArchive& archive);
