#include "shell/options.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <tuple>

#include "support/scratch_dir.h"

namespace {
// The options as one tuple, in the order of the file's keys.
auto Values(const TGameOptions& o) {
  return std::tuple(o.SubTitles, o.SoundVolume, o.MusicVolume, o.RefreshRate, o.AutoRefresh, o.Windowed);
}
}  // namespace

TEST(Options, DefaultsValuesAndFlags) {
  EXPECT_EQ(Values(ReadOptionsFile("/nonexistent/options.ini")), std::tuple(true, 100, 70, 75, true, false));
  TScratchDir dir("options");
  // Keys of other sections are not read; a value that does not start with a number reads as 0.
  EXPECT_EQ(Values(ReadOptionsFile(dir.Write("a.ini", "[other]\nfreq=99\n[options]\nmusic_volume=abc\n").string())),
            std::tuple(true, 100, 0, 75, true, false));
  // Zero or negative switches subtitles off.
  const std::string all =
      "[options]\nsub_titles=-3\nsound_volume=40\nmusic_volume=0\nfreq=85\nauto_freq=0\nwindowed=1\n";
  EXPECT_EQ(Values(ReadOptionsFile(dir.Write("b.ini", all).string())), std::tuple(false, 40, 0, 85, false, true));
  EXPECT_TRUE(ReadOptionsFile(dir.Write("c.ini", "[Options]\nSUB_TITLES=7\n").string()).SubTitles)
      << "section and key names ignore case, as the system's reader does";
}

// Each key reads as the system's profile-integer call reads it: the leading
// decimal number, 0 when the value has none, the default only when the key
// is missing. A name that is no regular file counts as no file, and a FIFO
// must not hold the game up.
TEST(Options, LeadingNumbersAndFilesThatAreNotRegular) {
  TScratchDir dir("options_lead");
  const std::string text = "[options]\nfreq=85Hz\nsub_titles=off\nmusic_volume= 70\nsound_volume=-40%\n";
  EXPECT_EQ(Values(ReadOptionsFile(dir.Write("a.ini", text).string())), std::tuple(false, -40, 70, 85, true, false));

  const std::string fifo = (dir / "options.ini").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Should the read wait for a writer, one comes after a while, so that the
  // test fails instead of hanging.
  std::atomic<bool> done = false;
  std::thread writer([&] {
    for (int i = 0; i < 50 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const int fd = done ? -1 : ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd < 0) return;
    const char freq[] = "[options]\nfreq=99\n";
    (void)!::write(fd, freq, sizeof freq - 1);
    ::close(fd);
  });
  const TGameOptions o = ReadOptionsFile(fifo);
  done = true;
  writer.join();
  EXPECT_EQ(Values(o), std::tuple(true, 100, 70, 75, true, false)) << "a FIFO counts as no file";
}
