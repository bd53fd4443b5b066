// qvxtool sketch: sketch files as readable sources and back.
#include <cstdio>
#include <nlohmann/json.hpp>

#include "commands.h"
#include "effects/sketch_file.h"
#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "platform/stream.h"

namespace {

int Usage() {
  std::fputs(
      "usage: qvxtool sketch dump FILE [--json]   print a sketch file as source text (or JSON)\n"
      "       qvxtool sketch build SRC OUT        build a sketch file from source text\n",
      stderr);
  return 1;
}

nlohmann::json ToJson(const TSketchFile& f) {
  static constexpr const char* kNames[kSketchValues] = {"width", "height", "x", "y", "angle", "angle_speed",
                                                         "direction", "move_speed", "zoom_speed", "zoom_accel",
                                                         "zoom", "delay_ms", "hold_ms"};
  nlohmann::json j;
  j["count"] = f.Count;
  j["sketches"] = nlohmann::json::array();
  for (const TSketchRecord& r : f.Records) {
    nlohmann::json s;
    for (int i = 0; i < kSketchValues; ++i) s[kNames[i]] = r.Values[static_cast<size_t>(i)];
    s["picture"] = Cp1251ToUtf8(SketchText(r.Picture));
    s["sound"] = Cp1251ToUtf8(SketchText(r.Sound));
    s["note"] = Cp1251ToUtf8(SketchText(r.Note));
    j["sketches"].push_back(s);
  }
  j["next_location"] = Cp1251ToUtf8(SketchText(f.NextLocation));
  j["trailing_bytes"] = f.Trailing.size();
  return j;
}

}  // namespace

int SketchCommand(const TArgs& args) {
  if (args.empty()) return Usage();
  try {
    if (args[0] == "dump" && (args.size() == 2 || (args.size() == 3 && args[2] == "--json"))) {
      TBinaryReader in{std::filesystem::path(args[1]), args[1]};
      const TSketchFile f = ReadSketchFile(in);
      if (!f.Complete)
        std::fprintf(stderr, "qvxtool sketch: %s: the file ends before its next location (%llu bytes)\n",
                     args[1].c_str(), static_cast<unsigned long long>(in.Size()));
      const std::string out = args.size() == 3 ? ToJson(f).dump(2) + "\n" : FormatSketchText(f);
      std::fwrite(out.data(), 1, out.size(), stdout);
      return f.Complete ? 0 : 1;
    }
    if (args[0] == "build" && args.size() == 3) {
      const std::vector<uint8_t> source = ReadFileBytes(args[1], args[1]);
      WriteFileBytes(args[2], WriteSketchFile(ParseSketchText(std::string(source.begin(), source.end()), args[1])));
      return 0;
    }
  } catch (const EGameError& e) {
    std::fprintf(stderr, "qvxtool sketch: %s\n", e.what());
    return 1;
  }
  return Usage();
}
