// The screen furniture of "system.wgw": fader, pointers, menu button,
// subtitle panel, sketch panel pieces, walk marker, inventory bar, item
// pictures and the font.
//
// The fader "absblack" must be the archive's first image: the engine fades by
// changing the alpha of material 0 of the system library. Pointer pictures
// are drawn with the hot point at (10, 10), because the engine centres the
// 64 x 64 pointer 22 pixels right of and below the mouse.
#pragma once

#include <string>

class TArtArchive;

constexpr int kItemCount = 6;

// "inv_" and the item id with at least three digits.
std::string ItemPictureName(int id);

// Paints every picture of the system archive; the font comes from `fontPath`.
// Returns nothing: the width table is written by the caller from BuildFont.
void BuildSystemArt(TArtArchive& archive);
