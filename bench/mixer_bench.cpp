// One second of 44.1 kHz stereo output from eight looping effects decoded in
// memory and two music voices decoded from their files as they play, at
// uneven volumes and pans. "share_of_second" is the CPU time of that second
// as a fraction of it, which the library prints as a time: "2.5ms" is 0.25% of
// one core. It must stay below 10ms (1%).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "sound/sound_library.h"
#include "support/sound_files.h"

namespace {

namespace fs = std::filesystem;

void MixOneSecond(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "qvx_mixer_bench";
  fs::create_directories(dir);
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return (dir / name).string();
  };
  SoundInit(TAudioOutput::FrameClock);
  std::vector<int32_t> channels;
  for (int i = 0; i < 8; ++i) {
    const double step = 0.02 + 0.01 * i;
    const TWave tone = [step](int64_t f, int) { return static_cast<int16_t>(6000 * std::sin(f * step)); };
    const int32_t sample =
        SampleLoadFile(write("effect" + std::to_string(i) + ".ogg", OggBytes(22050, 1, 30000 + 5000 * i, tone)));
    channels.push_back(SamplePlay(sample, true, true));
  }
  for (int i = 0; i < 2; ++i) {
    const TWave chord = [i](int64_t f, int c) {
      return static_cast<int16_t>(5000 * std::sin(f * (0.031 + 0.004 * i + 0.002 * c)) + 3000 * std::sin(f * 0.0071));
    };
    const int32_t track =
        SampleLoadFile(write("music" + std::to_string(i) + ".ogg", OggBytes(44100, 2, 44100 * 12, chord)));
    channels.push_back(SamplePlay(track, true, true));
  }
  for (size_t i = 0; i < channels.size(); ++i) {
    ChannelSetVolume(channels[i], 40 + 6 * static_cast<int32_t>(i));
    ChannelSetPan(channels[i], 10 * static_cast<int32_t>(i));
  }
  std::vector<int16_t> out(2 * kMixRate);
  for (auto _ : state) {
    SoundMix(out.data(), kMixRate);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["share_of_second"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  SoundShutdown();
  fs::remove_all(dir);
}
BENCHMARK(MixOneSecond)->Unit(benchmark::kMillisecond);

}  // namespace
