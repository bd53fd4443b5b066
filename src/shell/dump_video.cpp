#include "platform/cp1251.h"
#include "shell/state_dump.h"

nlohmann::json VideoStateJson(const TqvxScene& s) {
  return {
      {"playing", s.VideoPlaying},
      {"name", Cp1251ToUtf8(s.VideoName)},
      {"state", s.VideoPlayState},
      {"position_ms", s.VideoPositionMs},
  };
}
