#include "shell/options.h"

#include <ini.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
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
  // Opened without waiting and only as a regular file: a FIFO of that name
  // would hold the game up, a device feed it without end. Anything else, like
  // a missing file, leaves every default.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) {
    struct stat st {};
    std::FILE* f = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? ::fdopen(fd, "r") : nullptr;
    if (f) {
      ini_parse_file(f, Handler, &keys);
      std::fclose(f);
    } else {
      ::close(fd);
    }
  }
  TGameOptions o;
  o.SubTitles = ReadInt(keys, "sub_titles", 1) > 0;
  o.SoundVolume = ReadInt(keys, "sound_volume", 100);
  o.MusicVolume = ReadInt(keys, "music_volume", 70);
  o.RefreshRate = ReadInt(keys, "freq", 75);
  o.AutoRefresh = ReadInt(keys, "auto_freq", 1) > 0;
  o.Windowed = ReadInt(keys, "windowed", 0) > 0;
  return o;
}
