// The hero's path finder: the route from one grid cell to another as
// waypoints, computed from the walk grid and the roads. It starts nothing;
// the hero's movement (WalkTo) takes the route and walks it.
//
// The walk grid has 20-pixel cells, WalkGrid[column][row] with 30 rows; the
// value 1 blocks a cell, anything else is walkable, and cell (x, y) stands
// for the pixel point (x*20, y*20). Roads are polylines of grid cells the
// hero may be routed along. This is not a graph search: FindRoute tries a
// straight line, then a route with one bend, then a route that joins one
// road, and keeps the first that works. Slanted straight legs must lie within
// 15 degrees of one of the eight walking directions.
//
// Arithmetic that decides which cells a slanted line touches is done on
// single-precision slopes and rounds halves to even, so that the same clicks
// give the same routes as the data was made for.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "state/scene_state.h"

// What a route is computed from. The hero may stand on a blocked cell:
// FreeCell counts as walkable whatever the grid says.
struct TWalkMap {
  const std::vector<std::array<int32_t, kGridRows>>* Grid = nullptr;
  const std::vector<TqvxRoad>* Roads = nullptr;
  float DiagonalSlope = 1;  // rows per column of a corner cut's first leg
  TGridPoint FreeCell{-1, -1};
};

// Waypoints in location pixels; a longer route stops at kMaxWaypoints.
struct TRoute {
  TGridPoint Points[kMaxWaypoints] = {};
  int32_t Count = 0;
};

// The scene's grid, roads and slope, with no free cell.
TWalkMap WalkMapOf(const TqvxScene& scene);

// The route from cell `from` to cell `to`; false, with an empty route, when
// there is none (the same cell, a blocked target, no way round).
bool FindRoute(const TWalkMap& map, TGridPoint from, TGridPoint to, TRoute& route);

// Whether (x, y) is a cell of the scene's walk grid.
bool CellInGrid(const TqvxScene& scene, int32_t x, int32_t y);
// The cell's value; cells off the grid read as blocked (1).
int32_t GridCell(const TqvxScene& scene, int32_t x, int32_t y);
