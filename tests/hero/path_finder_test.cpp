#include "hero/path_finder.h"
#include "hero/path_finder_internal.h"

#include <gtest/gtest.h>

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

TEST(PathLines, AxisLinesRowsAndColumns) {
  HeroWorld w;
  const TqvxScene& s = w.Scene;
  EXPECT_TRUE(AxisLineClear(WalkMapOf(s), 2, 5, 12, 5));
  EXPECT_TRUE(AxisLineClear(WalkMapOf(s), 4, 20, 4, 3));
  EXPECT_FALSE(AxisLineClear(WalkMapOf(s), 4, 4, 4, 4)) << "one cell is no line";
  EXPECT_FALSE(AxisLineClear(WalkMapOf(s), 0, 0, 3, 3)) << "slanted";
  EXPECT_FALSE(AxisLineClear(WalkMapOf(s), 2, 5, 40, 5)) << "end off the grid";
  EXPECT_FALSE(AxisLineClear(WalkMapOf(s), 4, -1, 4, 29));
  w.Block(12, 5);
  EXPECT_FALSE(AxisLineClear(WalkMapOf(w.Scene), 2, 5, 12, 5)) << "both ends count";
  EXPECT_TRUE(AxisLineClear(WalkMapOf(w.Scene), 2, 5, 11, 5));
}

TEST(PathLines, AngleRule) {
  EXPECT_TRUE(AngleAllowed(0, 0, 10, 2));   // about 11 degrees below the row
  EXPECT_FALSE(AngleAllowed(0, 0, 10, 4));  // about 22 degrees
  EXPECT_TRUE(AngleAllowed(0, 0, 10, 10));
  EXPECT_TRUE(AngleAllowed(0, 0, 2, 10));   // about 79 degrees from the row
  EXPECT_FALSE(AngleAllowed(0, 0, 3, 10));  // about 73 degrees
  EXPECT_TRUE(AngleAllowed(5, 5, 0, 4));
  EXPECT_FALSE(AngleAllowed(5, 5, 3, 4));
}

TEST(PathLines, SlantedLineTouchesRoundedCells) {
  // Slope 1/8: columns 4 and 12 fall on half rows, which go to the even row.
  HeroWorld w;
  EXPECT_TRUE(LineWalkable(WalkMapOf(w.Scene), 0, 0, 16, 2));
  w.Block(4, 1);
  w.Block(12, 1);
  EXPECT_TRUE(LineWalkable(WalkMapOf(w.Scene), 0, 0, 16, 2));
  EXPECT_TRUE(LineWalkable(WalkMapOf(w.Scene), 16, 2, 0, 0));
  w.Block(4, 0);
  EXPECT_FALSE(LineWalkable(WalkMapOf(w.Scene), 0, 0, 16, 2));
  EXPECT_FALSE(LineWalkable(WalkMapOf(w.Scene), 0, 0, 10, 4)) << "angle";
  EXPECT_FALSE(LineWalkable(WalkMapOf(w.Scene), 0, 0, 45, 2)) << "off the grid";
}

TEST(PathLines, CornerRoutes) {
  HeroWorld w;
  const TGridPoint a{2, 2}, b{8, 6};
  EXPECT_TRUE(LPathExists(WalkMapOf(w.Scene), a, b));
  EXPECT_FALSE(LPathExists(WalkMapOf(w.Scene), a, a));
  EXPECT_FALSE(TwoLegClear(WalkMapOf(w.Scene), a, b, b)) << "corner on the end";
  w.Block(8, 2);  // spoils horizontal-first
  EXPECT_TRUE(LPathExists(WalkMapOf(w.Scene), a, b));
  w.Block(2, 5);  // spoils vertical-first too
  EXPECT_FALSE(LPathExists(WalkMapOf(w.Scene), a, b));
}

TEST(PathRoute, DiagonalCutsTheCorner) {
  HeroWorld w;
  TqvxScene& s = w.Scene;
  TRoute r;
  ASSERT_TRUE(RouteViaDiagonal(WalkMapOf(s), r, {0, 0}, {10, 10}));
  EXPECT_EQ(Route(r), (Points{{200, 40}, {200, 200}}));

  r.Count = 0;
  ASSERT_TRUE(RouteViaDiagonal(WalkMapOf(s), r, {0, 0}, {3, 10}));
  EXPECT_EQ(Route(r), (Points{{60, 0}, {60, 200}}));

  // Vertical first when the row is blocked: the cut runs along the columns.
  r.Count = 0;
  w.Block(5, 0);
  ASSERT_TRUE(RouteViaDiagonal(WalkMapOf(s), r, {0, 0}, {10, 10}));
  EXPECT_EQ(Route(r), (Points{{40, 200}, {200, 200}}));

  r.Count = 0;
  w.Block(0, 5);
  EXPECT_FALSE(RouteViaDiagonal(WalkMapOf(s), r, {0, 0}, {10, 10}));
  EXPECT_EQ(r.Count, 0);
}

TEST(PathWaypoints, CompactionCloseness) {
  HeroWorld w;
  TqvxScene& s = w.Scene;
  TRoute r;
  AddWaypoint(r, 100, 100);
  AddWaypoint(r, 100, 140);
  AddWaypoint(r, 100, 180);
  EXPECT_EQ(Route(r), (Points{{100, 100}, {100, 180}}));
  AddWaypoint(r, 104, 183);
  EXPECT_EQ(r.Count, 2);
  AddWaypoint(r, 100, 180);
  EXPECT_EQ(r.Count, 2);
  AddWaypoint(r, 160, 180);
  AddWaypoint(r, 260, 180);
  EXPECT_EQ(Route(r), (Points{{100, 100}, {100, 180}, {260, 180}}));
}

TEST(PathWaypoints, ListStopsAtItsCapacity) {
  HeroWorld w;
  TqvxScene& s = w.Scene;
  TRoute r;
  for (int i = 0; i < 100; ++i) AddWaypoint(r, i * 50, (i % 2) * 50 + i * 3);
  EXPECT_EQ(r.Count, kMaxWaypoints);
  EXPECT_EQ(r.Points[kMaxWaypoints - 1].X, (kMaxWaypoints - 1) * 50);
}

TEST(PathRoads, LengthAndEntryExit) {
  HeroWorld w;
  const TqvxRoad road = MakeRoad({{5, 5}, {5, 10}, {9, 10}, {9, 12}});
  EXPECT_EQ(RoadLength(road, 0, 3), 11);
  EXPECT_EQ(RoadLength(road, 3, 1), 6);
  EXPECT_EQ(RoadLength(road, 2, 2), 0);
  EXPECT_EQ(RoadLength(road, -1, 2), 0);
  EXPECT_EQ(RoadLength(road, 0, 4), 0);

  // A point on the start's own cell is never the entry.
  const auto [entry, exit] = RoadEntryExit(WalkMapOf(w.Scene), {5, 5}, {20, 12}, road);
  EXPECT_EQ(entry, 1);
  EXPECT_EQ(exit, 1) << "equal costs keep the earlier point";

  // Unreachable ends.
  for (int y = 0; y < kGridRows; ++y) w.Block(15, y);
  EXPECT_EQ(RoadEntryExit(WalkMapOf(w.Scene), {20, 5}, {1, 1}, road), (std::pair<int32_t, int32_t>{-1, -1}));
  EXPECT_EQ(RoadEntryExit(WalkMapOf(w.Scene), {1, 1}, {20, 5}, road).second, -1);
}

TEST(PathWalk, StraightAndRefusedRequests) {
  HeroWorld w;
  TqvxScene& s = w.Scene;
  w.PutHero(100, 100);  // cell (5, 5)
  WalkTo(s, 15, 5);
  EXPECT_EQ(Route(s), (Points{{300, 100}}));
  EXPECT_TRUE(s.HeroWalking);

  StopWalk(s);
  WalkTo(s, 5, 25);
  EXPECT_EQ(Route(s), (Points{{100, 500}}));

  StopWalk(s);
  WalkTo(s, 15, 7);  // 10 right, 2 down
  EXPECT_EQ(Route(s), (Points{{300, 140}}));

  StopWalk(s);
  WalkTo(s, 15, 9);  // 10 right, 4 down: refused as a line, cut as a corner
  EXPECT_EQ(Route(s), (Points{{300, 140}, {300, 180}}));

  StopWalk(s);
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
