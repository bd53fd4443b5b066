// One picture of an 800x600 video through the game's player: decode the
// packets it needs, convert it to RGBA and draw it (the texture upload
// included), ending with glFinish so software GL's work is counted. The
// counter "period_share" is the CPU time of one picture against the time the
// picture stays on screen; it must stay below 0.25.
//
// Run: xvfb-run -a -s "-screen 0 1024x768x24" env LIBGL_ALWAYS_SOFTWARE=1 build/bench/video_bench
// with QVX_BENCH_VIDEO=FILE to time a given clip (the demo's intro video).
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/window.h"
#include "render/gl_renderer.h"
#include "shell/video.h"

namespace {

std::string gClip;

void BM_VideoPicture(benchmark::State& state) {
  TGLRenderer renderer;
  auto scene = std::make_unique<TqvxScene>();
  std::unique_ptr<TVideoPlayer> holder;
  TVideoPlayer& player = EnsureVideoPlayer(holder);
  double periodMs = 40;
  int64_t pictures = 0;
  for (auto _ : state) {
    if (scene->VideoPlayState != kPlayPlaying) {
      state.PauseTiming();
      VideoPlayerOpen(player, *scene, gClip, gClip);
      if (!player.Decoder) {
        state.SkipWithError("the clip does not open");
        return;
      }
      periodMs = player.Decoder->FrameDurationMs();
      state.ResumeTiming();
    }
    VideoPlayerAdvance(player, *scene, periodMs / 1000.0);
    renderer.Render(player.Picture, TViewportRect{}, 800, 600);
    glFinish();
    ++pictures;
  }
  state.counters["period_ms"] = periodMs;
  state.counters["period_share"] =
      benchmark::Counter(static_cast<double>(pictures) * periodMs / 1000.0,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_VideoPicture)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  bool glFailed = false;
  auto window = TPlatformWindow::Create({.Windowed = true, .Hidden = true, .VSync = false}, error, glFailed);
  if (!window) {
    std::fprintf(stderr, "video_bench: no GL window (%s); run under xvfb-run\n", error.c_str());
    return 1;
  }
  const char* given = std::getenv("QVX_BENCH_VIDEO");
  if (given) {
    gClip = given;
  } else {
    gClip = (std::filesystem::temp_directory_path() / ("video_bench_" + std::to_string(getpid()) + ".ogv")).string();
    const std::string cmd = "ffmpeg -v error -y -f lavfi -i testsrc2=s=800x600:r=25:d=4 -f lavfi -i "
                            "sine=frequency=440:duration=4 -c:v libtheora -q:v 7 -c:a libvorbis '" + gClip + "'";
    if (std::system(cmd.c_str()) != 0) {
      std::fprintf(stderr, "video_bench: cannot make a clip with the ffmpeg command\n");
      return 1;
    }
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!given) std::filesystem::remove(gClip);
  return 0;
}
