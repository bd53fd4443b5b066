// qvxtool loc: location files as readable sources and back.
#include <cstdio>
#include <nlohmann/json.hpp>

#include "commands.h"
#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "platform/stream.h"
#include "scene/location_file.h"
#include "scene/location_text.h"
#include "script/script_text.h"

namespace {

int Usage() {
  std::fputs(
      "usage: qvxtool loc dump FILE [--json]   print a location file as source text (or JSON)\n"
      "       qvxtool loc build SRC OUT.qvx     build a location file from source text\n",
      stderr);
  return 1;
}

TLocationData ReadLocationFile(const std::string& file) {
  TBinaryReader in{std::filesystem::path(file), file};
  TLocationData data;
  ReadLocationData(in, data);
  // Shown as the game reads it, but not silently: what the file lacks is
  // printed with its defaults.
  if (in.RanShort())
    std::fprintf(stderr, "qvxtool loc: %s: the file ends early (%llu bytes); what it lacks is shown as defaults\n",
                 file.c_str(), static_cast<unsigned long long>(in.Size()));
  return data;
}

nlohmann::json ToJson(const TLocationData& d) {
  using nlohmann::json;
  json j;
  j["header"] = {{"name", Cp1251ToUtf8(d.HeaderName)}, {"text", Cp1251ToUtf8(d.HeaderText)}};
  j["objects"] = json::array();
  for (const auto& o : d.Objects) {
    json spots = json::array();
    for (const auto& h : o.HotSpots) spots.push_back({{"x", h.X}, {"y", h.Y}, {"radius", h.Radius}});
    j["objects"].push_back({{"layer", o.Layer}, {"name", Cp1251ToUtf8(o.Name)}, {"x", o.X}, {"parallax", o.Parallax},
                            {"y", o.Y}, {"width", o.Width}, {"height", o.Height},
                            {"picture", Cp1251ToUtf8(o.Picture)}, {"hot_spots", spots}});
  }
  j["grid_width"] = d.Grid.size();
  j["grid"] = json::array();
  for (int row = 0; row < kGridRows; ++row) {
    json cells = json::array();
    for (const auto& column : d.Grid) cells.push_back(column[static_cast<size_t>(row)]);
    j["grid"].push_back(cells);
  }
  j["regions"] = json::array();
  for (const auto& r : d.Regions)
    j["regions"].push_back({{"x", r.X}, {"y", r.Y}, {"width", r.Width}, {"height", r.Height},
                            {"function", r.Function}, {"cursor", r.CursorNumber}});
  j["roads"] = json::array();
  for (const auto& road : d.Roads) {
    json points = json::array();
    for (const auto& p : road.Points) points.push_back({p.X, p.Y});
    j["roads"].push_back(points);
  }
  j["functions"] = json::array();
  for (size_t i = 0; i < d.Functions.size(); ++i)
    j["functions"].push_back({{"name", Cp1251ToUtf8(d.Functions[i].Name)},
                              {"text", FormatFunction(d.Functions[i], static_cast<int32_t>(i))}});
  return j;
}

}  // namespace

int LocCommand(const TArgs& args) {
  if (args.empty()) return Usage();
  try {
    if (args[0] == "dump" && (args.size() == 2 || (args.size() == 3 && args[2] == "--json"))) {
      const TLocationData d = ReadLocationFile(args[1]);
      const std::string out = args.size() == 3 ? ToJson(d).dump(2) + "\n" : FormatLocationText(d);
      std::fwrite(out.data(), 1, out.size(), stdout);
      return 0;
    }
    if (args[0] == "build" && args.size() == 3) {
      const std::vector<uint8_t> source = ReadFileBytes(args[1], args[1]);
      const std::string text(source.begin(), source.end());
      const auto base = std::filesystem::path(args[1]).parent_path();
      const TLocationData d = ParseLocationText(text, args[1], base.empty() ? "." : base);
      WriteFileBytes(args[2], WriteLocationData(d));
      return 0;
    }
  } catch (const EGameError& e) {
    std::fprintf(stderr, "qvxtool loc: %s\n", e.what());
    return 1;
  }
  return Usage();
}
