// Private to the path finder and its tests: the steps FindRoute is made of.
#pragma once

#include <cstdint>
#include <utility>

#include "hero/path_finder.h"

bool CellInGrid(const TWalkMap& map, int32_t x, int32_t y);
int32_t GridCell(const TWalkMap& map, int32_t x, int32_t y);

// Appends a waypoint in pixels, dropping points that add nothing.
void AddWaypoint(TRoute& route, int32_t x, int32_t y);

bool LineWalkable(const TWalkMap& map, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
bool AxisLineClear(const TWalkMap& map, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
bool AngleAllowed(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
bool TwoLegClear(const TWalkMap& map, TGridPoint start, TGridPoint corner, TGridPoint end);
bool LPathExists(const TWalkMap& map, TGridPoint a, TGridPoint b);
// Adds the waypoints of a one-bend route whose first leg cuts the corner of
// an axis-parallel route; false (and no waypoints) when neither corner route
// is clear.
bool RouteViaDiagonal(const TWalkMap& map, TRoute& route, TGridPoint start, TGridPoint end);
// Length in cells along the road between points i and j; 0 for bad indices.
int32_t RoadLength(const TqvxRoad& road, int32_t i, int32_t j);
// The best point to join the road from start and the best to leave it for
// end; (-1, -1) without an entry, exit -1 without an exit.
std::pair<int32_t, int32_t> RoadEntryExit(const TWalkMap& map, TGridPoint start, TGridPoint end,
                                          const TqvxRoad& road);
