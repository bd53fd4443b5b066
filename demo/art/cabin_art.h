// "loc_cabin": the inside of the lakeside cabin, one screen (800 x 600).
//
// "cabin_bg": log walls, a window onto the evening lake, the door back out
// on the left, a bed, a table and a stove, a rug on the plank floor. The
// animated pieces sit on top of it: the stove's fire ("fire_0".."fire_3"),
// a candle on the table ("candle_0".."candle_2", put out: "candle_off") and
// a cat asleep on the bed ("cat", looking up: "cat_wake", then asleep
// again).
#pragma once

#include <string>

class TArtArchive;

void BuildCabinArt(TArtArchive& archive);
