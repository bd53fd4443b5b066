// One walk request on a 200-column location: walls that only roads lead
// around, four roads of 60 points each. A request runs once per click and
// must stay far below a frame's time.
#include <benchmark/benchmark.h>

#include "hero/hero_movement.h"
#include "state/scene_state.h"

namespace {

constexpr int kColumns = 200;

struct Location {
  TqvxScene Scene;

  Location() {
    Scene.WalkGrid.assign(kColumns, {});
    Scene.GridWidth = kColumns;
    // Walls down from the top; the way round is through the bottom rows.
    for (int x : {50, 100, 150})
      for (int y = 0; y <= 24; ++y) Scene.WalkGrid[x][static_cast<size_t>(y)] = 1;
    // A box around cell (120, 10) that nothing reaches.
    for (int x = 117; x <= 123; ++x) Scene.WalkGrid[x][7] = Scene.WalkGrid[x][13] = 1;
    for (int y = 7; y <= 13; ++y) Scene.WalkGrid[117][static_cast<size_t>(y)] = Scene.WalkGrid[123][static_cast<size_t>(y)] = 1;
    for (int r = 0; r < 4; ++r) {
      TqvxRoad road;
      for (int k = 0; k < 60; ++k) road.Points.push_back(TGridPoint{3 * k + r + 5, 26 + (k + r) % 3});
      Scene.Roads.push_back(road);
    }
    Scene.Objects.resize(1);
    Scene.HeroIndex = 0;
  }

  void Request(int hx, int hy, int tx, int ty) {
    Scene.WaypointCount = 0;
    Scene.WaypointIndex = -1;
    Scene.HeroWalking = false;
    SetObjectPosition(Scene, 0, static_cast<float>(hx * kGridCell), static_cast<float>(hy * kGridCell));
    WalkTo(Scene, tx, ty);
  }
};

void BM_WalkStraight(benchmark::State& state) {
  Location loc;
  for (auto _ : state) {
    loc.Request(10, 5, 45, 12);
    benchmark::DoNotOptimize(loc.Scene.WaypointCount);
  }
}
BENCHMARK(BM_WalkStraight);

void BM_WalkViaRoad(benchmark::State& state) {
  Location loc;
  loc.Request(20, 5, 180, 5);
  if (!loc.Scene.HeroWalking) state.SkipWithError("no route found");
  for (auto _ : state) {
    loc.Request(20, 5, 180, 5);
    benchmark::DoNotOptimize(loc.Scene.WaypointCount);
  }
  state.counters["waypoints"] = loc.Scene.WaypointCount;
}
BENCHMARK(BM_WalkViaRoad);

// Every road is tried and none leads there: the dearest request.
void BM_WalkNoRoute(benchmark::State& state) {
  Location loc;
  for (auto _ : state) {
    loc.Request(20, 5, 120, 10);
    benchmark::DoNotOptimize(loc.Scene.WaypointCount);
  }
}
BENCHMARK(BM_WalkNoRoute);

}  // namespace
