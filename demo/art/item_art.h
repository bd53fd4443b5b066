// Pictures of the two items that combine into the fishing rod, and of the
// inventory's script button, in "system.wgw" beside the bar: item 7 (a
// fishing line with its hook), item 8 (a hazel pole), item 9 (a tin of
// bait) and the hint button
// "btn_hint" in its three states (_n normal, _h under the mouse, _p pressed),
// 48 x 48 each.
#pragma once

class TArtArchive;

// Items 7 and 8; their captions are in captions.txt.
constexpr int kCombinedItemFirst = 7, kCombinedItemLast = 8;
// Item 9, the tin of bait from the box in the cabin.
constexpr int kBaitItem = 9;

void BuildItemArt(TArtArchive& archive);
