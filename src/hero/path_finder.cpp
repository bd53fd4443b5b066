#include "hero/path_finder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>

#include "hero/hero_movement.h"

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

void AddCellWaypoint(TqvxScene& scene, TGridPoint c) { AddWaypoint(scene, CellToPixel(c.X), CellToPixel(c.Y)); }

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

bool CellInGrid(const TqvxScene& scene, int32_t x, int32_t y) {
  return x >= 0 && static_cast<size_t>(x) < scene.WalkGrid.size() && y >= 0 && y < kGridRows;
}

int32_t GridCell(const TqvxScene& scene, int32_t x, int32_t y) {
  if (!CellInGrid(scene, x, y)) return 1;
  return scene.WalkGrid[static_cast<size_t>(x)][static_cast<size_t>(y)];
}

bool AxisLineClear(const TqvxScene& scene, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  // An end off the grid is a blocked cell on the line; rejecting it first
  // also keeps the scans within the grid.
  if (!CellInGrid(scene, x1, y1) || !CellInGrid(scene, x2, y2)) return false;
  if (x1 == x2 && y1 != y2) {
    for (int32_t y = std::min(y1, y2); y <= std::max(y1, y2); ++y)
      if (GridCell(scene, x1, y) == 1) return false;
    return true;
  }
  if (y1 == y2 && x1 != x2) {
    for (int32_t x = std::min(x1, x2); x <= std::max(x1, x2); ++x)
      if (GridCell(scene, x, y1) == 1) return false;
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

bool LineWalkable(const TqvxScene& scene, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (x1 == x2 || y1 == y2) return AxisLineClear(scene, x1, y1, x2, y2);
  if (!CellInGrid(scene, x1, y1) || !CellInGrid(scene, x2, y2)) return false;
  if (!AngleAllowed(x1, y1, x2, y2)) return false;
  // Slope and intercept are kept in single precision on purpose: they decide
  // which cells the line touches.
  const float m = static_cast<float>(static_cast<double>(y2 - y1) / static_cast<double>(x2 - x1));
  const float b = static_cast<float>(static_cast<double>(y1) - static_cast<double>(x1) * m);
  for (int32_t y = std::min(y1, y2); y <= std::max(y1, y2); ++y) {
    const int32_t x = RoundToPixel((static_cast<double>(y) - b) / m);
    if (GridCell(scene, x, y) == 1) return false;
  }
  for (int32_t x = std::min(x1, x2); x <= std::max(x1, x2); ++x) {
    const int32_t y = RoundToPixel(static_cast<double>(x) * m + b);
    if (GridCell(scene, x, y) == 1) return false;
  }
  return true;
}

bool TwoLegClear(const TqvxScene& scene, TGridPoint start, TGridPoint corner, TGridPoint end) {
  return (Same(corner, start) || AxisLineClear(scene, start.X, start.Y, corner.X, corner.Y)) &&
         AxisLineClear(scene, corner.X, corner.Y, end.X, end.Y);
}

bool LPathExists(const TqvxScene& scene, TGridPoint a, TGridPoint b) {
  return TwoLegClear(scene, a, TGridPoint{a.X, b.Y}, b) || TwoLegClear(scene, a, TGridPoint{b.X, a.Y}, b);
}

int32_t RoadLength(const TqvxRoad& road, int32_t i, int32_t j) {
  return static_cast<int32_t>(std::min<int64_t>(RoadLength64(road, i, j), std::numeric_limits<int32_t>::max()));
}

void AddWaypoint(TqvxScene& scene, int32_t x, int32_t y) {
  // The list holds kMaxWaypoints points; a longer route stops there and the
  // hero walks what fits.
  auto append = [&] {
    if (scene.WaypointCount < kMaxWaypoints) scene.Waypoints[scene.WaypointCount++] = TGridPoint{x, y};
  };
  scene.WaypointCount = std::clamp(scene.WaypointCount, 0, kMaxWaypoints);
  if (scene.WaypointCount == 0) {
    append();
    return;
  }
  bool add = true;
  TGridPoint last = scene.Waypoints[scene.WaypointCount - 1];
  if (x == last.X && y == last.Y) add = false;
  if (scene.WaypointCount > 1) {
    // Three points on one vertical or horizontal line keep only the ends.
    const TGridPoint before = scene.Waypoints[scene.WaypointCount - 2];
    if ((last.X == before.X && x == last.X) || (last.Y == before.Y && y == last.Y)) {
      --scene.WaypointCount;
      add = true;
      last = scene.Waypoints[scene.WaypointCount - 1];
    }
  }
  if (Abs64(static_cast<int64_t>(x) - last.X) < 10 && Abs64(static_cast<int64_t>(y) - last.Y) < 10) add = false;
  if (add) append();
}

bool RouteViaDiagonal(TqvxScene& scene, TGridPoint start, TGridPoint end) {
  const int32_t x1 = start.X, y1 = start.Y, x2 = end.X, y2 = end.Y;
  if (TwoLegClear(scene, start, TGridPoint{x2, y1}, end)) {
    // f: the row offset at which a 45-degree first leg reaches column x2,
    // not beyond the target row. The negated comparison also catches a
    // slope that is not a number.
    float f = static_cast<float>(std::abs(x2 - x1)) * scene.DiagonalSlope;
    if (y1 > y2) f = -f;
    if (!(std::fabs(f) <= static_cast<float>(std::abs(y2 - y1)))) f = static_cast<float>(y2 - y1);
    f = ScanCornerCut(f, [&](int32_t k) { return LineWalkable(scene, x1, y1, x2, y1 + k); });
    AddWaypoint(scene, CellToPixel(x2), RoundToPixel(static_cast<double>(y1) * kGridCell + f * kGridCell));
    AddWaypoint(scene, CellToPixel(x2), CellToPixel(y2));
    return true;
  }
  if (TwoLegClear(scene, start, TGridPoint{x1, y2}, end)) {
    float f = static_cast<float>(std::abs(y2 - y1)) * scene.DiagonalSlope;
    if (x1 > x2) f = -f;
    if (!(std::fabs(f) <= static_cast<float>(std::abs(x2 - x1)))) f = static_cast<float>(x2 - x1);
    f = ScanCornerCut(f, [&](int32_t k) { return LineWalkable(scene, x1, y1, x1 + k, y2); });
    AddWaypoint(scene, RoundToPixel(static_cast<double>(x1) * kGridCell + f * kGridCell), CellToPixel(y2));
    AddWaypoint(scene, CellToPixel(x2), CellToPixel(y2));
    return true;
  }
  return false;
}

std::pair<int32_t, int32_t> RoadEntryExit(const TqvxScene& scene, TGridPoint start, TGridPoint end,
                                          const TqvxRoad& road) {
  int32_t entry = -1;
  int64_t d1 = kNoCost;
  for (int32_t i = 0; i < road.Count(); ++i) {
    const TGridPoint p = road.Points[static_cast<size_t>(i)];
    if (!LPathExists(scene, start, p)) continue;
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
    if (!LPathExists(scene, end, p)) continue;
    const int64_t cost = RoadLength64(road, entry, j) + d1 + CellDistance(end, p);
    if (cost < best) {
      exit = j;
      best = cost;
    }
  }
  return {entry, exit};
}

namespace {

// Builds the waypoints from the hero's cell to the target and starts the
// walk; leaves the earlier route alone when none is found.
void FindRoute(TqvxScene& scene, TGridPoint hero, TGridPoint target) {
  if (Same(hero, target) || GridCell(scene, target.X, target.Y) == 1) return;
  const int32_t earlierCount = scene.WaypointCount;
  scene.WaypointCount = 0;
  if (LineWalkable(scene, hero.X, hero.Y, target.X, target.Y)) {
    scene.Waypoints[0] = TGridPoint{CellToPixel(target.X), CellToPixel(target.Y)};
    scene.WaypointCount = 1;
    StartWalk(scene);
    return;
  }
  if (RouteViaDiagonal(scene, hero, target)) {
    StartWalk(scene);
    return;
  }

  const TqvxRoad* bestRoad = nullptr;
  std::pair<int32_t, int32_t> bestEnds{-1, -1};
  int64_t bestCost = 0;
  for (const TqvxRoad& road : scene.Roads) {
    const auto ends = RoadEntryExit(scene, hero, target, road);
    if (ends.first < 0 || ends.second < 0) continue;
    const TGridPoint& in = road.Points[static_cast<size_t>(ends.first)];
    const TGridPoint& out = road.Points[static_cast<size_t>(ends.second)];
    const int64_t cost =
        RoadLength64(road, ends.first, ends.second) + CellDistance(hero, in) + CellDistance(target, out);
    if (!bestRoad || cost < bestCost) {
      bestRoad = &road;
      bestEnds = ends;
      bestCost = cost;
    }
  }
  if (!bestRoad) {
    // No route: a walk under way goes on as it was.
    scene.WaypointCount = earlierCount;
    return;
  }

  const auto& points = bestRoad->Points;
  const int32_t i = bestEnds.first, j = bestEnds.second;
  const TGridPoint entry = points[static_cast<size_t>(i)];
  if (entry.X != hero.X && entry.Y != hero.Y)
    RouteViaDiagonal(scene, hero, entry);
  else if (!Same(entry, hero))
    AddCellWaypoint(scene, entry);
  // The legs between road points are walked straight without a test.
  const int32_t step = j > i ? 1 : -1;
  for (int32_t k = i; k != j;) {
    k += step;
    const TGridPoint p = points[static_cast<size_t>(k)];
    if (!Same(p, hero)) AddCellWaypoint(scene, p);
  }
  RouteViaDiagonal(scene, points[static_cast<size_t>(j)], target);
  StartWalk(scene);
}

}  // namespace

void WalkTo(TqvxScene& scene, int32_t tx, int32_t ty) {
  TqvxObject* hero = HeroObject(scene);
  if (!hero) return;
  // Only scripts can ask for a cell off the grid; such a request is ignored
  // like any other that has no route.
  if (!CellInGrid(scene, tx, ty)) return;
  const double dx = static_cast<double>(hero->X) - static_cast<double>(tx) * kGridCell;
  const double dy = static_cast<double>(hero->Y) - static_cast<double>(ty) * kGridCell;
  if (std::sqrt(dx * dx + dy * dy) < 50) return;

  // A hero placed off the grid (by a script moving the object) has no cell to
  // start from: ignored too.
  const double rx = std::nearbyint(static_cast<double>(hero->X));
  const double ry = std::nearbyint(static_cast<double>(hero->Y));
  if (!(std::fabs(rx) < 1e9 && std::fabs(ry) < 1e9)) return;
  const TGridPoint cell{static_cast<int32_t>(rx) / kGridCell, static_cast<int32_t>(ry) / kGridCell};
  if (!CellInGrid(scene, cell.X, cell.Y)) return;

  // The hero may stand on a blocked cell; it counts as free for this request.
  int32_t& heroCell = scene.WalkGrid[static_cast<size_t>(cell.X)][static_cast<size_t>(cell.Y)];
  const int32_t saved = heroCell;
  heroCell = 0;
  FindRoute(scene, cell, TGridPoint{tx, ty});
  heroCell = saved;

  // A hero already within one nominal frame step of the waypoint it heads
  // for moves on to the next.
  if (scene.WaypointIndex >= 0 && scene.WaypointIndex < scene.WaypointCount) {
    const TGridPoint w = scene.Waypoints[scene.WaypointIndex];
    const double rad = hero->Heading * std::numbers::pi / 180.0;
    const double reach = 0.05 * scene.HeroWalkSpeed * 2.0;
    if (std::fabs(static_cast<double>(hero->X) - w.X) <= std::fabs(std::cos(rad) * reach) &&
        std::fabs(static_cast<double>(hero->Y) - w.Y) <= std::fabs(std::sin(rad) * reach))
      ++scene.WaypointIndex;
  }
}
