// One game frame of SceneUpdate on a 60-column location with N objects in
// layer 1, each animated through a four-picture chain, moving inside bounds
// and spinning. The frame must grow linearly with N (the depth sort of
// layer 1 is an insertion pass over a nearly sorted layer) and allocate
// nothing once the scene runs.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>

#include "platform/stream.h"
#include "render/nodes.h"
#include "resources/archive_writer.h"
#include "scene/location.h"
#include "scene/scene_create.h"
#include "scene/scene_update.h"

namespace {

std::atomic<int64_t> gAllocations{0};

TArchiveImage Picture(const std::string& name, const std::string& next) {
  TArchiveImage img;
  img.Record.Name = name;
  img.Record.NextName = next;
  img.Record.FrameTime = 40;
  img.Record.ScaleX = img.Record.ScaleY = 1000;
  img.Record.ColorR = img.Record.ColorG = img.Record.ColorB = img.Record.ColorA = 1000;
  img.Picture.Width = img.Picture.Height = 16;
  img.Picture.Bits = 32;
  img.Picture.Pixels.assign(16 * 16 * 4, 0x80);
  return img;
}

struct Location {
  TGLScene Gl;
  TqvxScene Scene;

  explicit Location(int objects) {
    // The furniture reads the font widths from the game directory.
    const auto dir = std::filesystem::temp_directory_path() / "qvx_scene_bench";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "fnt1.dat", std::ios::binary) << std::string(256, '\x08');
    std::filesystem::current_path(dir);
    SceneCreate(Scene, *Gl.Root().AddNewChild<TDummyCube>());
    TArchiveSource src;
    for (int k = 0; k < 4; ++k)
      src.Targas.push_back(Picture("bird" + std::to_string(k), "bird" + std::to_string((k + 1) % 4)));
    const std::vector<uint8_t> bytes = WriteArchive(src);
    TBinaryReader in(bytes, "GFX\\bench.wgw");
    MatLibRead(Scene.LocationArchive, in);
    MatLibFill(Scene.LocationArchive, *Scene.LocationLibrary);

    Scene.GridWidth = 60;
    Scene.WalkGrid.assign(60, {});
    Scene.FadeLevel = -1;
    Scene.LocationTimer = -1;
    Scene.WaitTime = -1;
    SeedRandom(Scene, 12345);
    for (int i = 0; i < objects; ++i) {
      const int32_t o = AddObject(Scene, "bird" + std::to_string(i), 1);
      TqvxObject& b = Scene.Objects[size_t(o)];
      b.Width = b.Height = 16;
      b.Visible = true;
      b.Sprite->Visible = true;
      SetObjectPicture(Scene, o, "bird" + std::to_string(i % 4), true);
      b.Animated = true;
      b.Speed = 40 + static_cast<float>(Random(Scene, 80));
      b.Heading = static_cast<float>(Random(Scene, 360));
      b.BoundsOn = true;
      b.MinX = 0, b.MaxX = 1200, b.MinY = 0, b.MaxY = 600;
      b.Spinning = i % 3 == 0;
      b.SpinSpeed = 30;
      SetObjectPosition(Scene, o, static_cast<float>(Random(Scene, 1200)), static_cast<float>(Random(Scene, 600)));
    }
    // Warm up: the first frames may grow buffers once.
    for (int k = 0; k < 10; ++k) SceneUpdate(Scene, 0.02f);
  }
};

void BM_SceneUpdate(benchmark::State& state) {
  Location loc(static_cast<int>(state.range(0)));
  const int64_t before = gAllocations.load();
  for (auto _ : state) {
    SceneUpdate(loc.Scene, 0.02f);
    benchmark::ClobberMemory();
  }
  const double frames = static_cast<double>(state.iterations());
  state.counters["allocs_per_frame"] = static_cast<double>(gAllocations.load() - before) / frames;
  state.counters["objects"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_SceneUpdate)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The depth sort of layer 1 alone, on the order the moving objects leave.
void BM_SortLayer(benchmark::State& state) {
  Location loc(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    SortLayer(loc.Scene);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_SortLayer)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

// Counts every allocation; kept out of line so the pairing stays visible.
[[gnu::noinline]] void* operator new(std::size_t size) {
  gAllocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }
