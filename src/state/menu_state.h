// The main menu's record kept in the scene state.
#pragma once

#include <cstdint>

struct TMenuPage {
  int32_t Page = 0;
};
