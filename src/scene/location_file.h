// The location file: header strings, objects, the walk grid, regions, roads
// and the location's script functions, read front to back with no signature.
// The same reader serves the game and qvxtool; the writer serves qvxtool and
// tests. Fields a short file lacks keep their defaults.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/stream.h"
#include "state/scene_state.h"
#include "state/instruction.h"

// Counts above these are refused instead of read: no real location comes near
// them, and a damaged file must not make the game allocate without end.
constexpr int32_t kMaxLocationCount = 1000000;
constexpr int32_t kMaxGridWidth = 100000;

struct TLocationObject {
  int32_t Layer = 0;          // 0, 1 or 2
  std::string Name = "Default";  // str20
  float X = 0;
  float Parallax = 0;
  float Y = 0;
  float Width = 0;
  float Height = 0;
  std::string Picture;          // str30, a material of the location archive
  std::vector<THotSpot> HotSpots;  // stored x, y, radius; radius as in the file
};

struct TLocationRegion {
  float Width = 0, Height = 0;
  float X = 0, Y = 0;  // centre, location pixels
  int32_t Function = 0;
  int32_t CursorNumber = 0;
};

struct TLocationData {
  std::string HeaderName = "Default";  // str30
  std::string HeaderText;             // str150
  std::vector<TLocationObject> Objects;
  // Grid[column][row]; the column count is the location's width in cells.
  std::vector<std::array<int32_t, kGridRows>> Grid;
  std::vector<TLocationRegion> Regions;
  std::vector<TqvxRoad> Roads;
  std::vector<TqvxFunction> Functions;
};

// Reads a location file. Throws EGameError naming `in.Name()` for a count
// above the limits, a negative grid width or a layer outside 0..2. A count
// is met only as far as the data holds records: those the file ends before
// are not made, so a few bytes cannot claim a million objects. `data`
// comes in with the values that fields the file lacks keep (the grid of the
// location before, as the game's reader resizes it in place).
void ReadLocationData(TBinaryReader& in, TLocationData& data);
std::vector<uint8_t> WriteLocationData(const TLocationData& data);
