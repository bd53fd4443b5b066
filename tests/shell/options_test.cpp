#include "shell/options.h"

#include <gtest/gtest.h>

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
  // Keys of other sections are not read; a value that is not a number counts as missing.
  EXPECT_EQ(Values(ReadOptionsFile(dir.Write("a.ini", "[other]\nfreq=99\n[options]\nmusic_volume=abc\n").string())),
            std::tuple(true, 100, 70, 75, true, false));
  // Zero or negative switches subtitles off.
  const std::string all =
      "[options]\nsub_titles=-3\nsound_volume=40\nmusic_volume=0\nfreq=85\nauto_freq=0\nwindowed=1\n";
  EXPECT_EQ(Values(ReadOptionsFile(dir.Write("b.ini", all).string())), std::tuple(false, 40, 0, 85, false, true));
  EXPECT_TRUE(ReadOptionsFile(dir.Write("c.ini", "[Options]\nSUB_TITLES=7\n").string()).SubTitles)
      << "section and key names ignore case, as the system's reader does";
}
