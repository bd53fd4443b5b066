#include "shell/options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {
std::string WriteIni(const std::string& text) {
  auto path = std::filesystem::temp_directory_path() / ("qvx_opts_" + std::to_string(::getpid()) + ".ini");
  std::ofstream(path) << text;
  return path.string();
}
}  // namespace

TEST(Options, MissingFileAndKeysGiveTheDefaults) {
  TGameOptions o = ReadOptionsFile("/nonexistent/options.ini");
  EXPECT_TRUE(o.SubTitles);
  EXPECT_EQ(o.SoundVolume, 100);
  EXPECT_EQ(o.MusicVolume, 70);
  EXPECT_EQ(o.RefreshRate, 75);
  EXPECT_TRUE(o.AutoRefresh);
  EXPECT_FALSE(o.Windowed);

  auto path = WriteIni("[other]\nfreq=99\n[options]\nmusic_volume=abc\n");
  o = ReadOptionsFile(path);
  EXPECT_EQ(o.RefreshRate, 75) << "keys of other sections are not read";
  EXPECT_EQ(o.MusicVolume, 70) << "a value that is not a number counts as missing";
  std::remove(path.c_str());
}

TEST(Options, ValuesAndFlags) {
  auto path = WriteIni(
      "[options]\nsub_titles=-3\nsound_volume=40\nmusic_volume=0\nfreq=85\nauto_freq=0\nwindowed=1\n");
  TGameOptions o = ReadOptionsFile(path);
  EXPECT_FALSE(o.SubTitles) << "zero or negative switches subtitles off";
  EXPECT_EQ(o.SoundVolume, 40);
  EXPECT_EQ(o.MusicVolume, 0);
  EXPECT_EQ(o.RefreshRate, 85);
  EXPECT_FALSE(o.AutoRefresh);
  EXPECT_TRUE(o.Windowed);
  std::remove(path.c_str());
  path = WriteIni("[Options]\nSUB_TITLES=7\n");
  EXPECT_TRUE(ReadOptionsFile(path).SubTitles) << "section and key names ignore case, as the system's reader does";
  std::remove(path.c_str());
}
