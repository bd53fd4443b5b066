// "options.ini" in the current directory, section "options": integer keys
// with defaults, read once at start and never written.
#pragma once

#include <cstdint>
#include <string>

struct TGameOptions {
  bool SubTitles = true;      // "sub_titles" > 0
  int32_t SoundVolume = 100;  // "sound_volume", 0..100, used unchanged
  int32_t MusicVolume = 70;   // "music_volume"
  int32_t RefreshRate = 75;   // "freq", Hz
  bool AutoRefresh = true;    // "auto_freq" > 0
  bool Windowed = false;      // "windowed" > 0: an ordinary resizable window
};

// A missing key gives the default; a value reads as its leading decimal
// number, 0 when it has none. A name that is not a regular file (a folder, a
// FIFO, a device) counts as a missing file and is opened without waiting.
TGameOptions ReadOptionsFile(const std::string& path);
