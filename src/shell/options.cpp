#include "shell/options.h"

#include <ini.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/game_error.h"
#include "platform/stream.h"

namespace {

int Handler(void* user, const char* section, const char* name, const char* value) {
  auto* keys = static_cast<std::map<std::string, std::string>*>(user);
  if (strcasecmp(section, "options") == 0) {
    std::string key(name);
    for (auto& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    keys->emplace(key, value);  // the first of repeated keys wins
  }
  return 1;
}

// The value as the system's profile-integer call reads it: spaces, a sign,
// then decimal digits up to the first other character ("85Hz" is 85, "off"
// is 0). Only a missing key gives the default. Numbers past the int32 range
// stop at its ends.
int32_t ReadInt(const std::map<std::string, std::string>& keys, const char* key, int32_t def) {
  auto it = keys.find(key);
  if (it == keys.end()) return def;
  const std::string& text = it->second;
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  int64_t v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    v = std::min<int64_t>(v * 10 + (text[i] - '0'), int64_t{INT32_MAX} + 1);
  if (negative) v = -v;
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

TGameOptions ReadOptionsFile(const std::string& path) {
  std::map<std::string, std::string> keys;
  // The stream layer opens it without waiting and only as a regular file: a
  // FIFO of that name would hold the game up. A file it refuses, like a
  // missing one, leaves every default.
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadFileBytes(path);
  } catch (const EGameError&) {
  }
  const std::string text(bytes.begin(), bytes.end());
  ini_parse_string(text.c_str(), Handler, &keys);
  TGameOptions o;
  o.SubTitles = ReadInt(keys, "sub_titles", 1) > 0;
  o.SoundVolume = ReadInt(keys, "sound_volume", 100);
  o.MusicVolume = ReadInt(keys, "music_volume", 70);
  o.RefreshRate = ReadInt(keys, "freq", 75);
  o.AutoRefresh = ReadInt(keys, "auto_freq", 1) > 0;
  o.Windowed = ReadInt(keys, "windowed", 0) > 0;
  return o;
}
