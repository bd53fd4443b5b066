// Pictures of the lake's sketch story (how the hero came to the lake, five
// drawn cards in the lake's archive), of the box in the cabin with its lock
// of three dials (the close-up in "system.wgw", where overlay screens take
// their pictures, and the small box standing in the cabin) and of the lake
// at night seen through the cabin's window.
#pragma once

#include <string>

class TArtArchive;

// The three digits of the box's lock, as the fourth card shows them.
constexpr const char* kBoxCode = "314";

// "story_1".."story_5", 420 x 280 each.
void BuildStoryArt(TArtArchive& lake, const std::string& boldFont);
// "closeup_dim", "box_shut", "box_open", "dial_0".."dial_9" and
// "window_view", the night outside the cabin's window on panel layer 0.
void BuildCloseUpArt(TArtArchive& system, const std::string& boldFont);
// "box_small", the box as it stands on the cabin's floor, and
// "cabin_bg_glass", the room with its window's panes cut out.
void BuildCabinProps(TArtArchive& cabin);
