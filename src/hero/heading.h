// The heading from one point to another, shared by the hero's movement, the
// path finder's angle test and the object commands.
#pragma once

// Heading in degrees [0, 360] from point 1 to point 2, counter-clockwise from
// +x with screen-up at 90 (screen y grows downwards); two equal points give 270.
float HeadingBetween(float x1, float y1, float x2, float y2);
