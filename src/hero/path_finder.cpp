#include "hero/path_finder.h"
#include "hero/path_finder_internal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "hero/heading.h"

namespace {

// Costs and distances start from this "infinity"; anything dearer is never chosen.
constexpr int64_t kNoCost = 999999;

bool Same(TGridPoint a, TGridPoint b) { return a.X == b.X && a.Y == b.Y; }

int64_t Abs64(int64_t v) { return v < 0 ? -v : v; }

int64_t CellDistance(TGridPoint a, TGridPoint b) {
  return Abs64(static_cast<int64_t>(a.X) - b.X) + Abs64(static_cast<int64_t>(a.Y) - b.Y);
}

// Road points come straight from the location file and may lie anywhere;
// their pixel values saturate instead of overflowing.
int32_t CellToPixel(int32_t c) {
  const int64_t p = static_cast<int64_t>(c) * kGridCell;
  return static_cast<int32_t>(std::clamp<int64_t>(p, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

void AddCellWaypoint(TRoute& route, TGridPoint c) { AddWaypoint(route, CellToPixel(c.X), CellToPixel(c.Y)); }

int64_t RoadLength64(const TqvxRoad& road, int32_t i, int32_t j) {
  const int32_t n = road.Count();
  if (i < 0 || i >= n || j < 0 || j >= n || i == j) return 0;
  int64_t sum = 0;
  for (int32_t k = std::min(i, j) + 1; k <= std::max(i, j); ++k)
    sum += CellDistance(road.Points[static_cast<size_t>(k)], road.Points[static_cast<size_t>(k) - 1]);
  return sum;
}

// Step b of the corner cut: walks the row (or column) offset k = s, 2s, ...
// while the slanted first leg stays walkable, and returns the last offset
// that passed (or f unchanged when none failed).
template <typename LegTest>
float ScanCornerCut(float f, LegTest legWalkable) {
  const int32_t s = f >= 0 ? 1 : -1;
  const float limit = std::fabs(f);
  for (int32_t k = s; static_cast<float>(std::abs(k)) < limit; k += s) {
    if (!legWalkable(k)) {
      if (static_cast<float>(std::abs(k - s)) < limit - 1) f = static_cast<float>(k - s);
      break;
    }
  }
  return f;
}

int32_t RoundToPixel(double v) { return static_cast<int32_t>(std::nearbyint(v)); }

}  // namespace

bool CellInGrid(const TWalkMap& map, int32_t x, int32_t y) {
  return x >= 0 && static_cast<size_t>(x) < (*map.Grid).size() && y >= 0 && y < kGridRows;
}

int32_t GridCell(const TWalkMap& map, int32_t x, int32_t y) {
  if (!CellInGrid(map, x, y)) return 1;
  if (x == map.FreeCell.X && y == map.FreeCell.Y) return 0;
  return (*map.Grid)[static_cast<size_t>(x)][static_cast<size_t>(y)];
}

bool AxisLineClear(const TWalkMap& map, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  // An end off the grid is a blocked cell on the line; rejecting it first
  // also keeps the scans within the grid.
  if (!CellInGrid(map, x1, y1) || !CellInGrid(map, x2, y2)) return false;
  if (x1 == x2 && y1 != y2) {
    for (int32_t y = std::min(y1, y2); y <= std::max(y1, y2); ++y)
      if (GridCell(map, x1, y) == 1) return false;
    return true;
  }
  if (y1 == y2 && x1 != x2) {
    for (int32_t x = std::min(x1, x2); x <= std::max(x1, x2); ++x)
      if (GridCell(map, x, y1) == 1) return false;
    return true;
  }
  return false;
}

bool AngleAllowed(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const float a = HeadingBetween(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                                 static_cast<float>(y2));
  return a < 15 || (a > 30 && a < 60) || (a > 75 && a < 105) || (a > 120 && a < 150) || (a > 165 && a < 195) ||
         (a > 210 && a < 240) || (a > 255 && a < 285) || (a > 300 && a < 330) || a > 345;
}

bool LineWalkable(const TWalkMap& map, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (x1 == x2 || y1 == y2) return AxisLineClear(map, x1, y1, x2, y2);
  if (!CellInGrid(map, x1, y1) || !CellInGrid(map, x2, y2)) return false;
  if (!AngleAllowed(x1, y1, x2, y2)) return false;
  // Slope and intercept are kept in single precision on purpose: they decide
  // which cells the line touches.
  const float m = static_cast<float>(static_cast<double>(y2 - y1) / static_cast<double>(x2 - x1));
  const float b = static_cast<float>(static_cast<double>(y1) - static_cast<double>(x1) * m);
  for (int32_t y = std::min(y1, y2); y <= std::max(y1, y2); ++y) {
    const int32_t x = RoundToPixel((static_cast<double>(y) - b) / m);
    if (GridCell(map, x, y) == 1) return false;
  }
  for (int32_t x = std::min(x1, x2); x <= std::max(x1, x2); ++x) {
    const int32_t y = RoundToPixel(static_cast<double>(x) * m + b);
    if (GridCell(map, x, y) == 1) return false;
  }
  return true;
}

bool TwoLegClear(const TWalkMap& map, TGridPoint start, TGridPoint corner, TGridPoint end) {
  return (Same(corner, start) || AxisLineClear(map, start.X, start.Y, corner.X, corner.Y)) &&
         AxisLineClear(map, corner.X, corner.Y, end.X, end.Y);
}

bool LPathExists(const TWalkMap& map, TGridPoint a, TGridPoint b) {
  return TwoLegClear(map, a, TGridPoint{a.X, b.Y}, b) || TwoLegClear(map, a, TGridPoint{b.X, a.Y}, b);
}

int32_t RoadLength(const TqvxRoad& road, int32_t i, int32_t j) {
  return static_cast<int32_t>(std::min<int64_t>(RoadLength64(road, i, j), std::numeric_limits<int32_t>::max()));
}

void AddWaypoint(TRoute& route, int32_t x, int32_t y) {
  // The list holds kMaxWaypoints points; a longer route stops there and the
  // hero walks what fits.
  auto append = [&] {
    if (route.Count < kMaxWaypoints) route.Points[route.Count++] = TGridPoint{x, y};
  };
  route.Count = std::clamp(route.Count, 0, kMaxWaypoints);
  if (route.Count == 0) {
    append();
    return;
  }
  bool add = true;
  TGridPoint last = route.Points[route.Count - 1];
  if (x == last.X && y == last.Y) add = false;
  if (route.Count > 1) {
    // Three points on one vertical or horizontal line keep only the ends.
    const TGridPoint before = route.Points[route.Count - 2];
    if ((last.X == before.X && x == last.X) || (last.Y == before.Y && y == last.Y)) {
      --route.Count;
      add = true;
      last = route.Points[route.Count - 1];
    }
  }
  if (Abs64(static_cast<int64_t>(x) - last.X) < 10 && Abs64(static_cast<int64_t>(y) - last.Y) < 10) add = false;
  if (add) append();
}

bool RouteViaDiagonal(const TWalkMap& map, TRoute& route, TGridPoint start, TGridPoint end) {
  const int32_t x1 = start.X, y1 = start.Y, x2 = end.X, y2 = end.Y;
  if (TwoLegClear(map, start, TGridPoint{x2, y1}, end)) {
    // f: the row offset at which a 45-degree first leg reaches column x2,
    // not beyond the target row. The negated comparison also catches a
    // slope that is not a number.
    float f = static_cast<float>(std::abs(x2 - x1)) * map.DiagonalSlope;
    if (y1 > y2) f = -f;
    if (!(std::fabs(f) <= static_cast<float>(std::abs(y2 - y1)))) f = static_cast<float>(y2 - y1);
    f = ScanCornerCut(f, [&](int32_t k) { return LineWalkable(map, x1, y1, x2, y1 + k); });
    AddWaypoint(route, CellToPixel(x2), RoundToPixel(static_cast<double>(y1) * kGridCell + f * kGridCell));
    AddWaypoint(route, CellToPixel(x2), CellToPixel(y2));
    return true;
  }
  if (TwoLegClear(map, start, TGridPoint{x1, y2}, end)) {
    float f = static_cast<float>(std::abs(y2 - y1)) * map.DiagonalSlope;
    if (x1 > x2) f = -f;
    if (!(std::fabs(f) <= static_cast<float>(std::abs(x2 - x1)))) f = static_cast<float>(x2 - x1);
    f = ScanCornerCut(f, [&](int32_t k) { return LineWalkable(map, x1, y1, x1 + k, y2); });
    AddWaypoint(route, RoundToPixel(static_cast<double>(x1) * kGridCell + f * kGridCell), CellToPixel(y2));
    AddWaypoint(route, CellToPixel(x2), CellToPixel(y2));
    return true;
  }
  return false;
}

std::pair<int32_t, int32_t> RoadEntryExit(const TWalkMap& map, TGridPoint start, TGridPoint end,
                                          const TqvxRoad& road) {
  int32_t entry = -1;
  int64_t d1 = kNoCost;
  for (int32_t i = 0; i < road.Count(); ++i) {
    const TGridPoint p = road.Points[static_cast<size_t>(i)];
    if (!LPathExists(map, start, p)) continue;
    const int64_t d = CellDistance(start, p);
    if (d < d1) {
      entry = i;
      d1 = d;
    }
  }
  if (entry < 0) return {-1, -1};
  int32_t exit = -1;
  int64_t best = kNoCost;
  for (int32_t j = 0; j < road.Count(); ++j) {
    const TGridPoint p = road.Points[static_cast<size_t>(j)];
    if (!LPathExists(map, end, p)) continue;
    const int64_t cost = RoadLength64(road, entry, j) + d1 + CellDistance(end, p);
    if (cost < best) {
      exit = j;
      best = cost;
    }
  }
  return {entry, exit};
}

TWalkMap WalkMapOf(const TqvxScene& scene) {
  return TWalkMap{&scene.WalkGrid, &scene.Roads, scene.DiagonalSlope, TGridPoint{-1, -1}};
}

bool CellInGrid(const TqvxScene& scene, int32_t x, int32_t y) { return CellInGrid(WalkMapOf(scene), x, y); }

int32_t GridCell(const TqvxScene& scene, int32_t x, int32_t y) { return GridCell(WalkMapOf(scene), x, y); }

bool FindRoute(const TWalkMap& map, TGridPoint from, TGridPoint to, TRoute& route) {
  route.Count = 0;
  if (Same(from, to) || GridCell(map, to.X, to.Y) == 1) return false;
  if (LineWalkable(map, from.X, from.Y, to.X, to.Y)) {
    route.Points[0] = TGridPoint{CellToPixel(to.X), CellToPixel(to.Y)};
    route.Count = 1;
    return true;
  }
  if (RouteViaDiagonal(map, route, from, to)) return true;

  const TqvxRoad* bestRoad = nullptr;
  std::pair<int32_t, int32_t> bestEnds{-1, -1};
  int64_t bestCost = 0;
  for (const TqvxRoad& road : *map.Roads) {
    const auto ends = RoadEntryExit(map, from, to, road);
    if (ends.first < 0 || ends.second < 0) continue;
    const TGridPoint& in = road.Points[static_cast<size_t>(ends.first)];
    const TGridPoint& out = road.Points[static_cast<size_t>(ends.second)];
    const int64_t cost =
        RoadLength64(road, ends.first, ends.second) + CellDistance(from, in) + CellDistance(to, out);
    if (!bestRoad || cost < bestCost) {
      bestRoad = &road;
      bestEnds = ends;
      bestCost = cost;
    }
  }
  if (!bestRoad) {
    route.Count = 0;
    return false;
  }

  const auto& points = bestRoad->Points;
  const int32_t i = bestEnds.first, j = bestEnds.second;
  const TGridPoint entry = points[static_cast<size_t>(i)];
  if (entry.X != from.X && entry.Y != from.Y)
    RouteViaDiagonal(map, route, from, entry);
  else if (!Same(entry, from))
    AddCellWaypoint(route, entry);
  // The legs between road points are walked straight without a test.
  const int32_t step = j > i ? 1 : -1;
  for (int32_t k = i; k != j;) {
    k += step;
    const TGridPoint p = points[static_cast<size_t>(k)];
    if (!Same(p, from)) AddCellWaypoint(route, p);
  }
  RouteViaDiagonal(map, route, points[static_cast<size_t>(j)], to);
  return true;
}
