// Records of the sound subsystem kept in the scene state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TBackMusic {
  std::vector<int32_t> TrackLengths;  // milliseconds
  int32_t CurrentLength = 0;          // milliseconds
  int32_t CurrentTrack = 0;
  bool Enabled = false;
};

struct TqvxSound {
  int32_t SoundVolume = 100;  // 0..100
  int32_t MusicVolume = 70;   // 0..100
};
