// The sound library mixed into a buffer: gains, the life of a channel,
// positions across file kinds, bad files and handles, pushed streams and the
// frame clock; end to end, the driver's audio capture.
#include "sound/sound_library.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <vector>

#include "support/game_dir.h"
#include "support/scratch_dir.h"
#include "support/sound_files.h"

// SDL's audio start-up talks to the session bus, whose library keeps a
// buffer until exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

const TWave kConstant = [](int64_t, int) { return int16_t{10000}; };
const TWave kRamp = [](int64_t f, int) { return static_cast<int16_t>(f % 30000); };
const TWave kSine = [](int64_t f, int) { return static_cast<int16_t>(12000 * std::sin(f * 0.05)); };

class SoundLibrary : public testing::Test {
 protected:
  void SetUp() override { SoundInit(TAudioOutput::FrameClock); }
  void TearDown() override { SoundShutdown(); }

  int32_t Load(const std::string& name, const std::string& bytes) { return SampleLoadFile(dir_.Write(name, bytes)); }
  std::vector<int16_t> Mix(int32_t frames) {
    std::vector<int16_t> out(2 * static_cast<size_t>(frames));
    SoundMix(out.data(), frames);
    return out;
  }

  TScratchDir dir_{"sound_library"};
};

TEST_F(SoundLibrary, VolumeAndPanScaleEachSide) {
  struct Case {
    int volume, pan;
    int left, right;
  };
  const Case cases[] = {{100, 50, 10000, 10000}, {100, 0, 10000, 0},     {100, 100, 0, 10000},
                        {100, 25, 10000, 5000},  {100, 80, 4000, 10000}, {50, 50, 5000, 5000},
                        {35, 50, 3500, 3500},    {0, 50, 0, 0},          {250, -7, 10000, 0}};
  const int32_t sample = Load("c.wav", WavBytes(44100, 1, 1000, kConstant));
  for (const Case& c : cases) {
    const int32_t channel = SamplePlay(sample, false, true);
    ChannelSetVolume(channel, c.volume);
    ChannelSetPan(channel, c.pan);
    const std::vector<int16_t> out = Mix(10);
    EXPECT_EQ(out[8], c.left) << "volume " << c.volume << " pan " << c.pan;
    EXPECT_EQ(out[9], c.right) << "volume " << c.volume << " pan " << c.pan;
    EXPECT_EQ(ChannelGetVolume(channel), std::clamp(c.volume, 0, 100));
    ChannelStop(channel);
  }
  // Two loud channels clip instead of wrapping round.
  for (int i = 0; i < 4; ++i) SamplePlay(sample, false, true);
  EXPECT_EQ(Mix(1)[0], 32767);
}

TEST_F(SoundLibrary, ChannelLifeEndsLoopsPausesAndStops) {
  const int32_t sample = Load("c.wav", WavBytes(44100, 1, 1000, kConstant));
  const int32_t once = SamplePlay(sample, false, true);
  const int32_t looped = SamplePlay(sample, true, true);
  const int32_t waiting = SamplePlay(sample, false, false);
  const int32_t paused = SamplePlay(sample, false, true);
  ChannelPause(paused, true);
  EXPECT_EQ(ChannelStatus(waiting), 2);
  EXPECT_EQ(ChannelStatus(paused), 2);
  EXPECT_EQ(SampleLengthMs(sample), 22);  // 1000 frames at 44.1 kHz

  std::vector<int16_t> out = Mix(1500);
  EXPECT_EQ(ChannelStatus(once), 0);
  EXPECT_EQ(out[2 * 999], 20000) << "both playing channels up to the end of the file";
  EXPECT_EQ(out[2 * 1000], 10000) << "the looped one alone after it";
  EXPECT_EQ(ChannelStatus(looped), 1);
  EXPECT_EQ(ChannelGetPlayPosition(looped), 500);
  EXPECT_EQ(ChannelGetPlayPosition(paused), 0) << "a paused channel keeps its place";

  ChannelStart(waiting);
  ChannelPause(paused, false);
  ChannelSetLoop(looped, false);
  EXPECT_FALSE(ChannelGetLoop(looped));
  out = Mix(600);
  EXPECT_EQ(out[2 * 499], 30000);
  EXPECT_EQ(out[2 * 500], 20000);
  EXPECT_EQ(ChannelStatus(looped), 0);
  EXPECT_EQ(ChannelGetPlayPosition(waiting), 600);

  SampleStop(sample);
  EXPECT_EQ(ChannelStatus(waiting) + ChannelStatus(paused), 0);
  EXPECT_EQ(Mix(10)[0], 0);
}

TEST_F(SoundLibrary, PositionsReadBackAcrossFileKinds) {
  struct Case {
    const char* name;
    std::string bytes;
    int rate;
    int lengthMs;
  };
  std::vector<Case> cases = {
      {"ramp.wav", WavBytes(44100, 1, 44100, kRamp), 44100, 1000},
      {"half.wav", WavBytes(22050, 2, 11025, kSine), 22050, 500},
      {"fast.wav", WavBytes(48000, 1, 24000, kSine), 48000, 500},
  };
#ifdef QVX_HAVE_VORBISENC
  cases.push_back({"short.ogg", OggBytes(22050, 1, 22050, kSine), 22050, 1000});
  cases.push_back({"long.ogg", OggBytes(11025, 2, 11025 * 11, kSine), 11025, 11000});  // streamed
#endif
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int32_t sample = Load(c.name, c.bytes);
    const int32_t channel = SamplePlay(sample, false, true);
    EXPECT_EQ(SampleLengthMs(sample), c.lengthMs);
    EXPECT_EQ(ChannelGetLengthMs(channel), c.lengthMs);
    ChannelSetPlayPosition(channel, c.rate / 4 + 1);
    EXPECT_EQ(ChannelGetPlayPosition(channel), c.rate / 4 + 1);
    EXPECT_EQ(ChannelGetPlayPositionMs(channel), 250);
    const std::vector<int16_t> out = Mix(4410);
    EXPECT_EQ(ChannelGetPlayPositionMs(channel), 350);
    const int16_t peak = *std::max_element(out.begin(), out.end());
    EXPECT_GT(peak, 8000) << "heard after the jump";
    ChannelSetPlayPosition(channel, c.rate * 100);  // past the end: plays out at once
    Mix(1);
    EXPECT_EQ(ChannelStatus(channel), 0);
  }
  // The ramp shows the jump lands on the frame asked for.
  const int32_t channel = SamplePlay(Load("ramp2.wav", cases[0].bytes), false, true);
  ChannelSetPlayPosition(channel, 1234);
  EXPECT_EQ(Mix(1)[0], 1234);
}

TEST_F(SoundLibrary, BadFilesAndHandlesAreHarmless) {
  const std::string wav = WavBytes(44100, 1, 100, kConstant);
  struct Case {
    const char* name;
    std::string bytes;  // empty: no file at all
  };
  const Case files[] = {{"missing.ogg", ""},
                        {"garbage.ogg", "OggS and then nothing a decoder wants"},
                        {"text.wav", "hello"},
                        {"cut.wav", wav.substr(0, 30)},
                        {"slow.wav", WavBytes(10, 1, 100, kConstant)}};
  for (const Case& f : files) {
    testing::internal::CaptureStderr();
    const int32_t sample = f.bytes.empty() ? SampleLoadFile((dir_ / f.name).string()) : Load(f.name, f.bytes);
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_NE(warning.find(f.name), std::string::npos) << warning;
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
    EXPECT_NE(sample, 0) << f.name;
    EXPECT_EQ(SampleLengthMs(sample), 0) << f.name;
    const int32_t channel = SamplePlay(sample, true, true);
    EXPECT_EQ(Mix(10)[0], 0) << f.name;
    EXPECT_EQ(ChannelStatus(channel), 0) << f.name;
  }

  const int32_t sample = Load("ok.wav", wav);
  const int32_t stopped = SamplePlay(sample, false, true);
  ChannelStop(stopped);
  const int32_t unloaded = Load("gone.wav", wav);
  const int32_t orphan = SamplePlay(unloaded, true, true);
  SampleUnload(unloaded);
  const int32_t live = SamplePlay(sample, true, true);
  for (int32_t h : {0, -5, stopped, orphan, unloaded, sample}) {
    ChannelStart(h);
    ChannelPause(h, false);
    ChannelSetVolume(h, 50);
    ChannelSetPan(h, 0);
    ChannelSetLoop(h, true);
    ChannelSetPlayPosition(h, 10);
    EXPECT_EQ(ChannelStatus(h) + ChannelGetVolume(h) + ChannelGetPlayPosition(h) + ChannelGetPlayPositionMs(h) +
                  ChannelGetLengthMs(h) + ChannelGetLoop(h) + StreamQueuedMs(h) + StreamPlayedMs(h),
              0)
        << "handle " << h;
    StreamPush(h, nullptr, 10);
    ChannelStop(h);
  }
  for (int32_t h : {0, unloaded, live}) {
    EXPECT_EQ(SamplePlay(h, false, true), 0) << h;
    EXPECT_EQ(SampleLengthMs(h), 0) << h;
    SampleStop(h);
    SampleUnload(h);
  }
  EXPECT_EQ(ChannelStatus(live), 1) << "a channel handle is no sample handle";
  EXPECT_EQ(Mix(1)[0], 10000);
}

TEST_F(SoundLibrary, PushedStreamPlaysWhatIsQueued) {
  const int32_t stream = StreamOpen(22050, 1);
  std::vector<int16_t> second(22050, 6000);
  StreamPush(stream, second.data(), 22050);
  EXPECT_NEAR(StreamQueuedMs(stream), 1000, 30) << "less what the resampler holds back";
  EXPECT_EQ(ChannelStatus(stream), 1);
  std::vector<int16_t> out = Mix(22050);
  EXPECT_NEAR(out[20000], 6000, 30);
  EXPECT_EQ(StreamPlayedMs(stream), 500);
  EXPECT_NEAR(StreamQueuedMs(stream), 500, 30);
  out = Mix(44100);
  EXPECT_EQ(out.back(), 0) << "starved: silence, and the stream stays open";
  EXPECT_NEAR(StreamPlayedMs(stream), 1000, 5) << "all of it, the held-back end too";
  EXPECT_EQ(ChannelStatus(stream), 1);
  ChannelStop(stream);
  EXPECT_EQ(StreamOpen(22050, 3) + StreamOpen(0, 1), 0);
}

TEST_F(SoundLibrary, FrameClockMixesExactlyItsTime) {
  const int32_t sample = Load("long.wav", WavBytes(44100, 1, 44100 * 4, kConstant));
  for (double dt : {0.02, 1.0 / 60, 0.013}) {
    const int32_t channel = SamplePlay(sample, false, true);
    for (int i = 0; i < 150; ++i) SoundAdvance(dt);
    EXPECT_EQ(ChannelGetPlayPosition(channel), std::lround(150 * dt * 44100)) << dt;
    ChannelStop(channel);
  }
}

TEST(SoundDevice, ImpossibleDriverFallsBackToSilenceWithOneWarning) {
  const char* old = std::getenv("SDL_AUDIODRIVER");
  const std::string saved = old ? old : "";
  setenv("SDL_AUDIODRIVER", "no_such_audio_driver", 1);
  testing::internal::CaptureStderr();
  SoundInit(TAudioOutput::Device);
  const std::string warning = testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
  TScratchDir dir("sound_device");
  const int32_t channel = SamplePlay(SampleLoadFile(dir.Write("c.wav", WavBytes(44100, 1, 44100, kConstant))), 0, 1);
  for (int i = 0; i < 25; ++i) SoundAdvance(0.02);
  EXPECT_EQ(ChannelGetPlayPositionMs(channel), 500) << "time goes on without a device";
  SoundShutdown();
  old ? setenv("SDL_AUDIODRIVER", saved.c_str(), 1) : unsetenv("SDL_AUDIODRIVER");
}

// The driver mode never opens a device, so a driver that cannot open changes
// nothing; the capture holds exactly the run's time.
TEST(SoundE2E, DriverRunCapturesItsTimeAsWav) {
  TTestGameDir game("sound_capture");
  game.WriteLocation("init.qvx", LocationSource(40, "function \"start\"\nend\n"));
  TScratchDir scratch("sound_capture");
  const std::string wav = (scratch / "out.wav").string();
  setenv("SDL_AUDIODRIVER", "no_such_audio_driver", 1);
  const TRunResult r = game.Run(30, {"--dt", "0.025", "--audio-out", wav});
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  std::ifstream f(wav, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  const uint32_t frames = 30 * 0.025 * 44100;
  ASSERT_EQ(bytes.size(), 44 + 4 * frames);
  EXPECT_EQ(bytes.substr(0, 44), WavBytes(44100, 2, frames, kConstant).substr(0, 44));
  const TRunResult bad = game.Run(2, {"--audio-out", (scratch / "no/such/dir.wav").string()});
  EXPECT_EQ(bad.ExitCode, 1);
  EXPECT_NE(bad.Stderr.find("dir.wav"), std::string::npos) << bad.Stderr;
}

}  // namespace
