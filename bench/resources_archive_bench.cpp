// Reading a 100 MB archive of 32-bit pictures, against one plain sequential
// read of the same file, and the peak memory of opening and filling it.
// The archive is generated once in /tmp by a child process, and the memory
// is measured in another child, so neither the generator's buffers nor the
// benchmark's own allocations count.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/stream.h"
#include "render/materials.h"
#include "resources/archive_writer.h"
#include "resources/matlib.h"

namespace {

constexpr int kSide = 1024;
constexpr int kBitmaps = 20, kTargas = 5;
constexpr uint64_t kPixelBytes = uint64_t{kBitmaps + kTargas} * kSide * kSide * 4;
// Relative: archives are opened by game path from the current directory.
const char* const kFile = "qvx_bench_resources_100mb.wgw";

TArchiveImage Picture(int seed) {
  TArchiveImage img;
  img.Record.Name = "img" + std::to_string(seed);
  img.Rle = 0;
  img.Picture.Width = img.Picture.Height = kSide;
  img.Picture.Bits = 32;
  img.Picture.Pixels.resize(size_t{kSide} * kSide * 4);
  uint32_t x = 2463534242u + static_cast<uint32_t>(seed);
  for (uint8_t& b : img.Picture.Pixels) {
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    b = static_cast<uint8_t>(x);
  }
  return img;
}

void EnsureArchive() {
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::error_code ec;
  const auto size = std::filesystem::file_size(kFile, ec);
  if (!ec && size > kPixelBytes) return;
  const pid_t child = fork();
  if (child == 0) {
    TArchiveSource src;
    for (int i = 0; i < kBitmaps; ++i) src.Bitmaps.push_back(Picture(i));
    for (int i = 0; i < kTargas; ++i) src.Targas.push_back(Picture(100 + i));
    WriteFileBytes(kFile, WriteArchive(src));
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
}

long MaxRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

void BM_PlainRead(benchmark::State& state) {
  EnsureArchive();
  for (auto _ : state) {
    std::vector<uint8_t> bytes = ReadFileBytes(kFile);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(kFile)));
}

void BM_MatLibOpen(benchmark::State& state) {
  EnsureArchive();
  for (auto _ : state) {
    TqvxMatLib lib;
    MatLibOpen(lib, kFile);
    benchmark::DoNotOptimize(lib.BitmapImages.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * std::filesystem::file_size(kFile)));
}

// Peak resident memory of opening and filling, over the archive's pixel bytes.
void BM_PeakMemory(benchmark::State& state) {
  EnsureArchive();
  double ratio = 0;
  for (auto _ : state) {
    int fds[2];
    if (pipe(fds) != 0) state.SkipWithError("pipe");
    const pid_t child = fork();
    if (child == 0) {
      const long before = MaxRssKb();
      TqvxMatLib lib;
      TGLMaterialLibrary library;
      MatLibOpen(lib, kFile);
      MatLibFill(lib, library);
      const long grown = MaxRssKb() - before;
      ssize_t ignored = write(fds[1], &grown, sizeof grown);
      (void)ignored;
      _exit(0);
    }
    long grownKb = 0;
    if (read(fds[0], &grownKb, sizeof grownKb) != sizeof grownKb) state.SkipWithError("child failed");
    close(fds[0]), close(fds[1]);
    waitpid(child, nullptr, 0);
    ratio = static_cast<double>(grownKb) * 1024.0 / static_cast<double>(kPixelBytes);
  }
  state.counters["peak_over_pixels"] = ratio;
}

}  // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatLibOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();
