// Degrees and radians. Headings and rotations are kept in degrees
// everywhere in the game; these convert at the trigonometry.
#pragma once

#include <numbers>

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;
