// qvxtool snd: sound-set files as readable sources and back.
#include <cstdio>
#include <nlohmann/json.hpp>

#include "commands.h"
#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "platform/stream.h"
#include "sound/sound_set_file.h"
#include "sound/sound_set_text.h"

namespace {

int Usage() {
  std::fputs(
      "usage: qvxtool snd dump FILE [--json]   print a sound-set file as source text (or JSON)\n"
      "       qvxtool snd build SRC OUT        build a sound-set file from source text\n",
      stderr);
  return 1;
}

nlohmann::json ToJson(const TSoundSetData& d) {
  using nlohmann::json;
  json j;
  j["unused"] = {d.Unused[0], d.Unused[1]};
  j["samples"] = json::array();
  for (const TSoundSample& s : d.Samples)
    j["samples"].push_back({{"name", Cp1251ToUtf8(s.Name)},
                            {"file", Cp1251ToUtf8(s.FileName)},
                            {"loop", s.Loop},
                            {"comment", s.Comment}});
  j["sequences"] = json::array();
  for (const TqvxSoundSeq& q : d.Sequences)
    j["sequences"].push_back({{"name", Cp1251ToUtf8(q.Name)}, {"loop", q.Loop}, {"items", q.Items}});
  return j;
}

}  // namespace

int SndCommand(const TArgs& args) {
  if (args.empty()) return Usage();
  try {
    if (args[0] == "dump" && (args.size() == 2 || (args.size() == 3 && args[2] == "--json"))) {
      TBinaryReader in{std::filesystem::path(args[1]), args[1]};
      TSoundSetData d;
      ReadSoundSetData(in, d);
      if (!in.AtEnd())
        std::fprintf(stderr, "qvxtool snd: %s: %llu bytes after the last sequence are not shown\n", args[1].c_str(),
                     static_cast<unsigned long long>(in.Remaining()));
      const std::string out = args.size() == 3 ? ToJson(d).dump(2) + "\n" : FormatSoundSetText(d);
      std::fwrite(out.data(), 1, out.size(), stdout);
      return 0;
    }
    if (args[0] == "build" && args.size() == 3) {
      const std::vector<uint8_t> source = ReadFileBytes(args[1], args[1]);
      const TSoundSetData d = ParseSoundSetText(std::string(source.begin(), source.end()), args[1]);
      WriteFileBytes(args[2], WriteSoundSetData(d));
      return 0;
    }
  } catch (const EGameError& e) {
    std::fprintf(stderr, "qvxtool snd: %s\n", e.what());
    return 1;
  }
  return Usage();
}
