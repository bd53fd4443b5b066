// An audio device that goes away while the game plays. SDL's disk driver
// writes into a pipe that the test reads for a while and then closes: the
// next write fails, which SDL reports as a lost device, the way an unplugged
// headset is.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "sound/sound_library.h"
#include "support/scratch_dir.h"
#include "support/sound_files.h"

// SDL's audio start-up talks to the session bus, whose library keeps a
// buffer until exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

namespace {

const TWave kConstant = [](int64_t, int) { return int16_t{10000}; };

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

}  // namespace

// The channels keep their states; from the loss on, the frame's time moves
// them exactly as the device's own mixing would have; one warning says so.
TEST(SoundDeviceFault, ALostDeviceLeavesTimeAndStatesGoingOnWithOneWarning) {
  TScratchDir dir("sound_device_lost");
  const std::string pipe = (dir / "device").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::signal(SIGPIPE, SIG_IGN);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", pipe.c_str(), 1);
  testing::internal::CaptureStderr();
  SoundInit(TAudioOutput::Device);
  const int32_t sample = SampleLoadFile(dir.Write("long.wav", WavBytes(44100, 1, 10 * 44100, kConstant)));
  const int32_t playing = SamplePlay(sample, false, true);
  const int32_t paused = SamplePlay(sample, false, true);
  ChannelPause(paused, true);
  char drained[65536];
  for (int i = 0; i < 30; ++i) {
    while (::read(reader, drained, sizeof drained) > 0) {
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const int32_t played = ChannelGetPlayPositionMs(playing);
  ::close(reader);
  // The next write fails; nothing moves after.
  int32_t last = -1;
  int still = 0;
  for (int i = 0; i < 300 && still < 10; ++i) {
    SoundAdvance(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const int32_t now = ChannelGetPlayPositionMs(playing);
    still = now == last ? still + 1 : 0;
    last = now;
  }
  const int32_t atLoss = ChannelGetPlayPositionMs(playing);
  for (int i = 0; i < 25; ++i) SoundAdvance(0.02);
  const int32_t after = ChannelGetPlayPositionMs(playing);
  const int32_t pausedAt = ChannelGetPlayPositionMs(paused);
  const int32_t playingStatus = ChannelStatus(playing), pausedStatus = ChannelStatus(paused);
  SoundShutdown();
  const std::string warnings = testing::internal::GetCapturedStderr();
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  unsetenv("SDL_DISKAUDIOFILE");
  if (Count(warnings, "cannot open the audio device") + Count(warnings, "no audio output") > 0)
    GTEST_SKIP() << "SDL's disk driver cannot be opened here: " << warnings;

  ASSERT_GT(played, 0) << "the device played before it was lost";
  EXPECT_GE(atLoss, played);
  EXPECT_NEAR(after - atLoss, 500, 1) << "the frames' time goes on after the loss";
  EXPECT_EQ(playingStatus, 1);
  EXPECT_EQ(pausedStatus, 2);
  EXPECT_EQ(pausedAt, 0);
  EXPECT_EQ(Count(warnings, "the audio device was lost"), 1) << warnings;
  EXPECT_EQ(Count(warnings, "ovgame:"), 1) << "SDL's own notes aside, " << warnings;
}
