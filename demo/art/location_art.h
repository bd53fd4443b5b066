// The two demo locations' archives.
//
// "loc_lake": one screen (800 x 600): an evening lake with a village house,
// a pier and a path along the shore.
// "loc_forest": 1200 x 600, in three depths: a far sky and mountain layer
// (1024 wide, for a parallax below 1), the forest itself (1200 wide, its sky
// transparent) and front pieces for a parallax above 1.
//
// Both carry animated objects (water shimmer, birds, a lamp lit and put out,
// an exit sign) and props (rock, bush, tree). Animations are chained by next-frame names.
#pragma once

#include <string>

class TArtArchive;

void BuildLakeArt(TArtArchive& archive, const std::string& boldFont);
void BuildForestArt(TArtArchive& archive, const std::string& boldFont);
