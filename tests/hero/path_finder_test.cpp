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

// Routes from the grid alone: a straight line along a row or a column, or a
// slanted one within 15 degrees of a walking direction; else one bend whose
// first leg cuts the corner; else none.
TEST(PathRoute, StraightLinesBendsAndNoRoute) {
  struct TCase {
    const char* Why;
    Points Blocked;
    TGridPoint From, To;
    Points Want;  // empty: no route
  };
  const TCase cases[] = {
      {"a row", {}, {2, 5}, {12, 5}, {{240, 100}}},
      {"a column", {}, {4, 20}, {4, 3}, {{80, 60}}},
      {"a blocked cell on the row, no way round it", {{8, 5}}, {2, 5}, {12, 5}, {}},
      {"11 degrees from a row", {}, {0, 0}, {10, 2}, {{200, 40}}},
      {"11 degrees from a column", {}, {0, 0}, {2, 10}, {{40, 200}}},
      {"22 degrees from a row: a bend", {}, {0, 0}, {10, 4}, {{200, 40}, {200, 80}}},
      {"17 degrees from a column: a bend", {}, {0, 0}, {3, 10}, {{60, 0}, {60, 200}}},
      // Slope 1/8: columns 4 and 12 fall on half rows, which go to the even row.
      {"cells beside a slanted line", {{4, 1}, {12, 1}}, {0, 0}, {16, 2}, {{320, 40}}},
      {"the same line backwards", {{4, 1}, {12, 1}}, {16, 2}, {0, 0}, {{0, 0}}},
      {"a cell on a slanted line", {{4, 0}}, {0, 0}, {16, 2}, {{0, 40}, {320, 40}}},
      // The diagonal blocked: horizontal first, then vertical first, then none.
      {"a corner cut", {{5, 5}}, {0, 0}, {10, 10}, {{200, 40}, {200, 200}}},
      {"the row blocked too", {{5, 5}, {5, 0}}, {0, 0}, {10, 10}, {{40, 200}, {200, 200}}},
      {"and the column", {{5, 5}, {5, 0}, {0, 5}}, {0, 0}, {10, 10}, {}},
  };
  for (const TCase& c : cases) {
    HeroWorld w;
    for (auto [x, y] : c.Blocked) w.Block(x, y);
    TRoute r;
    EXPECT_EQ(FindRoute(WalkMapOf(w.Scene), c.From, c.To, r), !c.Want.empty()) << c.Why;
    EXPECT_EQ(Route(r), c.Want) << c.Why;
  }
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
