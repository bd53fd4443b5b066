// The inventory record kept in the scene state; it lives across locations.
#pragma once

#include <cstdint>
#include <vector>

class TDummyCube;

struct TInventory {
  TDummyCube* Root = nullptr;
  int32_t PairLow = -1;
  int32_t PairHigh = -1;
  std::vector<int32_t> Items;
  int32_t ItemInHand = -1;
};
