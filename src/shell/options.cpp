#include "shell/options.h"

#include <ini.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>

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

int32_t ReadInt(const std::map<std::string, std::string>& keys, const char* key, int32_t def) {
  auto it = keys.find(key);
  if (it == keys.end()) return def;
  const char* text = it->second.c_str();
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(text, &end, 10);
  if (end == text || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return def;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0') return def;
  return static_cast<int32_t>(v);
}

}  // namespace

TGameOptions ReadOptionsFile(const std::string& path) {
  std::map<std::string, std::string> keys;
  ini_parse(path.c_str(), Handler, &keys);  // a missing file leaves every default
  TGameOptions o;
  o.SubTitles = ReadInt(keys, "sub_titles", 1) > 0;
  o.SoundVolume = ReadInt(keys, "sound_volume", 100);
  o.MusicVolume = ReadInt(keys, "music_volume", 70);
  o.RefreshRate = ReadInt(keys, "freq", 75);
  o.AutoRefresh = ReadInt(keys, "auto_freq", 1) > 0;
  o.Windowed = ReadInt(keys, "windowed", 0) > 0;
  return o;
}
