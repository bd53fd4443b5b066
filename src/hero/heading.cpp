#include "hero/heading.h"

#include <cmath>

#include "platform/angles.h"

float HeadingBetween(float x1, float y1, float x2, float y2) {
  if (x2 == x1) return y2 < y1 ? 90.0f : 270.0f;
  if (y2 == y1) return x2 > x1 ? 0.0f : 180.0f;
  const double a = std::atan((static_cast<double>(y1) - y2) / (static_cast<double>(x1) - x2)) * kRadToDeg;
  if (x2 > x1 && y2 < y1) return static_cast<float>(std::fabs(a));
  if (x2 < x1 && y2 < y1) return static_cast<float>(180.0 - a);
  if (x2 < x1 && y2 > y1) return static_cast<float>(std::fabs(a) + 180.0);
  return static_cast<float>(360.0 - a);
}
