#include "hero/path_finder.h"
#include "hero/path_finder_internal.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "hero/hero_movement.h"
#include "hero/hero_world.h"

namespace {

std::vector<std::pair<int, int>> Route(const TGridPoint* points, int count) {
  std::vector<std::pair<int, int>> r;
  for (int i = 0; i < count; ++i) r.emplace_back(points[i].X, points[i].Y);
  return r;
}
std::vector<std::pair<int, int>> Route(const TqvxScene& s) { return Route(s.Waypoints, s.WaypointCount); }
std::vector<std::pair<int, int>> Route(const TRoute& r) { return Route(r.Points, r.Count); }

using Points = std::vector<std::pair<int, int>>;

TqvxRoad MakeRoad(const Points& points) {
  TqvxRoad road;
  for (auto [x, y] : points) road.Points.push_back(TGridPoint{x, y});
  return road;
}

}  // namespace

TEST(PathLines, AxisLinesAndTheAngleRule) {
  HeroWorld w;
  auto clear = [&](int x1, int y1, int x2, int y2) { return AxisLineClear(WalkMapOf(w.Scene), x1, y1, x2, y2); };
  EXPECT_TRUE(clear(2, 5, 12, 5) && clear(4, 20, 4, 3));
  EXPECT_FALSE(clear(4, 4, 4, 4)) << "one cell is no line";
  EXPECT_FALSE(clear(0, 0, 3, 3)) << "slanted";
  EXPECT_FALSE(clear(2, 5, 40, 5) || clear(4, -1, 4, 29)) << "end off the grid";
  w.Block(12, 5);
  EXPECT_FALSE(clear(2, 5, 12, 5)) << "both ends count";
  EXPECT_TRUE(clear(2, 5, 11, 5));

  // Up to about 11 degrees from a row or a column (22 and 73 are refused),
  // and the diagonal.
  EXPECT_TRUE(AngleAllowed(0, 0, 10, 2) && AngleAllowed(0, 0, 10, 10) && AngleAllowed(0, 0, 2, 10) &&
              AngleAllowed(5, 5, 0, 4));
  EXPECT_FALSE(AngleAllowed(0, 0, 10, 4) || AngleAllowed(0, 0, 3, 10) || AngleAllowed(5, 5, 3, 4));
}

TEST(PathLines, SlantedLinesAndCorners) {
  // Slope 1/8: columns 4 and 12 fall on half rows, which go to the even row.
  HeroWorld w;
  auto walkable = [&](int x1, int y1, int x2, int y2) { return LineWalkable(WalkMapOf(w.Scene), x1, y1, x2, y2); };
  EXPECT_TRUE(walkable(0, 0, 16, 2));
  w.Block(4, 1);
  w.Block(12, 1);
  EXPECT_TRUE(walkable(0, 0, 16, 2) && walkable(16, 2, 0, 0));
  w.Block(4, 0);
  EXPECT_FALSE(walkable(0, 0, 16, 2));
  EXPECT_FALSE(walkable(0, 0, 10, 4)) << "angle";
  EXPECT_FALSE(walkable(0, 0, 45, 2)) << "off the grid";

  HeroWorld open;
  const TGridPoint a{2, 2}, b{8, 6};
  EXPECT_TRUE(LPathExists(WalkMapOf(open.Scene), a, b));
  EXPECT_FALSE(LPathExists(WalkMapOf(open.Scene), a, a));
  EXPECT_FALSE(TwoLegClear(WalkMapOf(open.Scene), a, b, b)) << "corner on the end";
  open.Block(8, 2);  // spoils horizontal-first
  EXPECT_TRUE(LPathExists(WalkMapOf(open.Scene), a, b));
  open.Block(2, 5);  // spoils vertical-first too
  EXPECT_FALSE(LPathExists(WalkMapOf(open.Scene), a, b));
}

TEST(PathRoute, DiagonalCutsTheCorner) {
  HeroWorld w;
  const TqvxScene& s = w.Scene;
  // Horizontal first; vertical first when the row is blocked, the cut then
  // running along the columns; nothing when both are blocked.
  const std::tuple<TGridPoint, TGridPoint, Points> cases[] = {
      {{0, 0}, {10, 10}, {{200, 40}, {200, 200}}}, {{0, 0}, {3, 10}, {{60, 0}, {60, 200}}}};
  for (const auto& [from, to, points] : cases) {
    TRoute r;
    ASSERT_TRUE(RouteViaDiagonal(WalkMapOf(s), r, from, to));
    EXPECT_EQ(Route(r), points);
  }
  TRoute r;
  w.Block(5, 0);
  ASSERT_TRUE(RouteViaDiagonal(WalkMapOf(s), r, {0, 0}, {10, 10}));
  EXPECT_EQ(Route(r), (Points{{40, 200}, {200, 200}}));
  r.Count = 0;
  w.Block(0, 5);
  EXPECT_FALSE(RouteViaDiagonal(WalkMapOf(s), r, {0, 0}, {10, 10}));
  EXPECT_EQ(r.Count, 0);
}

TEST(PathWaypoints, CompactionClosenessAndCapacity) {
  TRoute r;
  for (auto [x, y] : Points{{100, 100}, {100, 140}, {100, 180}}) AddWaypoint(r, x, y);
  EXPECT_EQ(Route(r), (Points{{100, 100}, {100, 180}})) << "a point on the line from the one before replaces it";
  AddWaypoint(r, 104, 183);
  AddWaypoint(r, 100, 180);
  EXPECT_EQ(r.Count, 2) << "points close to the last are dropped";
  AddWaypoint(r, 160, 180);
  AddWaypoint(r, 260, 180);
  EXPECT_EQ(Route(r), (Points{{100, 100}, {100, 180}, {260, 180}}));

  TRoute full;
  for (int i = 0; i < 100; ++i) AddWaypoint(full, i * 50, (i % 2) * 50 + i * 3);
  EXPECT_EQ(full.Count, kMaxWaypoints);
  EXPECT_EQ(full.Points[kMaxWaypoints - 1].X, (kMaxWaypoints - 1) * 50);
}

TEST(PathRoads, LengthAndEntryExit) {
  HeroWorld w;
  const TqvxRoad road = MakeRoad({{5, 5}, {5, 10}, {9, 10}, {9, 12}});
  EXPECT_EQ(RoadLength(road, 0, 3), 11);
  EXPECT_EQ(RoadLength(road, 3, 1), 6);
  EXPECT_EQ(RoadLength(road, 2, 2) + RoadLength(road, -1, 2) + RoadLength(road, 0, 4), 0) << "one point, off the road";

  // A point on the start's own cell is never the entry; equal costs keep the
  // earlier point.
  EXPECT_EQ(RoadEntryExit(WalkMapOf(w.Scene), {5, 5}, {20, 12}, road), (std::pair<int32_t, int32_t>{1, 1}));
  // Unreachable ends.
  for (int y = 0; y < kGridRows; ++y) w.Block(15, y);
  EXPECT_EQ(RoadEntryExit(WalkMapOf(w.Scene), {20, 5}, {1, 1}, road), (std::pair<int32_t, int32_t>{-1, -1}));
  EXPECT_EQ(RoadEntryExit(WalkMapOf(w.Scene), {1, 1}, {20, 5}, road).second, -1);
}

TEST(PathWalk, StraightAndRefusedRequests) {
  HeroWorld w;
  TqvxScene& s = w.Scene;
  w.PutHero(100, 100);  // cell (5, 5)
  // Along a row or a column; 10 right and 2 down as a line; 10 right and 4
  // down refused as a line, cut as a corner.
  const std::pair<TGridPoint, Points> walks[] = {{{15, 5}, {{300, 100}}},
                                                 {{5, 25}, {{100, 500}}},
                                                 {{15, 7}, {{300, 140}}},
                                                 {{15, 9}, {{300, 140}, {300, 180}}}};
  for (const auto& [to, route] : walks) {
    WalkTo(s, to.X, to.Y);
    EXPECT_TRUE(s.HeroWalking);
    EXPECT_EQ(Route(s), route);
    StopWalk(s);
  }
  for (auto [x, y] : Points{{6, 6}, {5, 5}, {-1, 5}, {40, 5}, {5, 30}}) {
    WalkTo(s, x, y);
    EXPECT_FALSE(s.HeroWalking) << x << "," << y;
  }
  w.Block(15, 5);
  WalkTo(s, 15, 5);
  EXPECT_FALSE(s.HeroWalking) << "blocked target";
}

TEST(PathWalk, HeroOnABlockedCellWalksAway) {
  HeroWorld w;
  TqvxScene& s = w.Scene;
  w.PutHero(100, 100);
  w.Block(5, 5);
  WalkTo(s, 15, 5);
  EXPECT_EQ(Route(s), (Points{{300, 100}}));
  EXPECT_EQ(s.WalkGrid[5][5], 1) << "the cell is put back";
}

TEST(PathWalk, RoadAroundAWall) {
  HeroWorld w;
  TqvxScene& s = w.Scene;
  for (int y = 0; y <= 25; ++y) w.Block(10, y);
  s.Roads.push_back(MakeRoad({{0, 0}, {1, 1}}));  // no way onto it across the wall
  s.Roads.push_back(MakeRoad({{5, 5}, {5, 27}, {15, 27}}));
  w.PutHero(100, 100);
  WalkTo(s, 15, 5);
  EXPECT_EQ(Route(s), (Points{{100, 540}, {300, 500}, {300, 100}}));
  EXPECT_TRUE(s.HeroWalking);
  ASSERT_TRUE(w.RunUntilIdle());
  EXPECT_EQ(w.Hero().X, 300);
  EXPECT_EQ(w.Hero().Y, 100);
}

TEST(PathWalk, NoRouteLeavesARunningWalkAlone) {
  HeroWorld w;
  TqvxScene& s = w.Scene;
  for (int y = 0; y < kGridRows; ++y) w.Block(20, y);
  w.PutHero(100, 100);
  WalkTo(s, 5, 20);
  ASSERT_EQ(s.WaypointCount, 1);
  WalkTo(s, 25, 5);
  EXPECT_EQ(Route(s), (Points{{100, 400}}));
  EXPECT_TRUE(s.HeroWalking);
}
