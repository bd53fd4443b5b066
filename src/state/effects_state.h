// Records of the location effects kept in the scene state: time of day,
// the two panel layer groups, sketches and additional locations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "state/instruction.h"

struct TDayTime {
  float Phase = 0;  // 0..1
};

struct TLayerGroup {};

struct TqvxSketchManager {};

struct TqvxAddLoc {
  std::vector<TqvxFunction> Functions;  // at most 16, run by zone clicks
};
