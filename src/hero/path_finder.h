// The hero's path finder: turns "walk to grid cell (tx, ty)" into waypoints
// and starts the walk.
//
// The walk grid has 20-pixel cells, WalkGrid[column][row] with 30 rows; the
// value 1 blocks a cell, anything else is walkable, and cell (x, y) stands
// for the pixel point (x*20, y*20). Roads are polylines of grid cells the
// hero may be routed along. This is not a graph search: WalkTo tries a
// straight line, then a route with one bend, then a route that joins one
// road, and keeps the first that works. Slanted straight legs must lie within
// 15 degrees of one of the eight walking directions.
//
// Arithmetic that decides which cells a slanted line touches is done on
// single-precision slopes and rounds halves to even, so that the same clicks
// give the same routes as the data was made for.
#pragma once

#include <cstdint>
#include <utility>

#include "state/scene_state.h"

// Whether (x, y) is a cell of the walk grid.
bool CellInGrid(const TqvxScene& scene, int32_t x, int32_t y);
// The cell's value; cells off the grid read as blocked (1).
int32_t GridCell(const TqvxScene& scene, int32_t x, int32_t y);

void WalkTo(TqvxScene& scene, int32_t tx, int32_t ty);
// Appends a waypoint in pixels, dropping points that add nothing.
void AddWaypoint(TqvxScene& scene, int32_t x, int32_t y);

bool LineWalkable(const TqvxScene& scene, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
bool AxisLineClear(const TqvxScene& scene, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
bool AngleAllowed(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
bool TwoLegClear(const TqvxScene& scene, TGridPoint start, TGridPoint corner, TGridPoint end);
bool LPathExists(const TqvxScene& scene, TGridPoint a, TGridPoint b);
// Adds the waypoints of a one-bend route whose first leg cuts the corner of
// an axis-parallel route; false (and no waypoints) when neither corner route
// is clear.
bool RouteViaDiagonal(TqvxScene& scene, TGridPoint start, TGridPoint end);
// Length in cells along the road between points i and j; 0 for bad indices.
int32_t RoadLength(const TqvxRoad& road, int32_t i, int32_t j);
// The best point to join the road from start and the best to leave it for
// end; (-1, -1) without an entry, exit -1 without an exit.
std::pair<int32_t, int32_t> RoadEntryExit(const TqvxScene& scene, TGridPoint start, TGridPoint end,
                                          const TqvxRoad& road);
