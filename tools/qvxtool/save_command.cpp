// qvxtool save: a save game shown field by field.
//
//   qvxtool save dump FILE --loc LOCATION.qvx [--game DIR] [--json]
//
// A save stores no counts of what the location file and the archives it
// names hold; the location file gives the objects and regions, and the game
// directory (--game, or the folder above the location's SCENE folder) the
// archives' bitmap counts and the sound set's sequences. A file named there
// that is missing counts as empty, with a note.
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "commands.h"
#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "platform/paths.h"
#include "platform/stream.h"
#include "resources/matlib.h"
#include "scene/location_file.h"
#include "scene/save_file.h"

namespace {

namespace fs = std::filesystem;

int Usage() {
  std::fputs(
      "usage: qvxtool save dump FILE --loc LOCATION.qvx [--game DIR] [--json]\n"
      "prints every field of a save game; the location file the save was made in\n"
      "gives the object and region counts, the game directory (default: the folder\n"
      "above the location's folder) the archives and the sound set it names\n",
      stderr);
  return 1;
}

class TPrinter : public TSaveVisitor {
 public:
  explicit TPrinter(bool json) : json_(json) {}
  void Int(const std::string& field, int64_t value) override { Put(field, value, std::to_string(value)); }
  void Real(const std::string& field, float value) override {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    Put(field, value, text);
  }
  void Text(const std::string& field, const std::string& value) override {
    const std::string utf8 = Cp1251ToUtf8(value);
    Put(field, utf8, nlohmann::json(utf8).dump());
  }
  void Finish() const {
    if (json_) std::printf("%s\n", all_.dump(2).c_str());
  }

 private:
  void Put(const std::string& field, const nlohmann::json& value, const std::string& text) {
    if (json_)
      all_[field] = value;
    else
      std::printf("%s = %s\n", field.c_str(), text.c_str());
  }
  bool json_;
  nlohmann::ordered_json all_ = nlohmann::ordered_json::object();
};

// The bitmap count of an archive of the game directory; 0 with a note when
// it is not there.
int32_t BitmapCount(const fs::path& gameDir, const std::string& gamePath) {
  if (gamePath.empty()) return 0;
  const fs::path file = ResolveGamePath(gamePath, gameDir);
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) {
    std::fprintf(stderr, "qvxtool save: %s is not there; its state counts as empty\n", file.string().c_str());
    return 0;
  }
  TBinaryReader in(file, file.string());
  TqvxMatLib lib;
  MatLibRead(lib, in);
  return lib.BitmapCount;
}

int32_t SequenceCount(const fs::path& gameDir, const std::string& gamePath) {
  if (gamePath.empty()) return 0;
  const fs::path file = ResolveGamePath(gamePath, gameDir);
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) {
    std::fprintf(stderr, "qvxtool save: %s is not there; it counts as a set without sequences\n",
                 file.string().c_str());
    return 0;
  }
  TBinaryReader in(file, file.string());
  return CountSoundSetSequences(in);
}

int Dump(const TArgs& args) {
  fs::path file, location, gameDir;
  bool json = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--loc" || args[i] == "--game") && i + 1 < args.size()) {
      (args[i] == "--loc" ? location : gameDir) = args[i + 1];
      ++i;
    } else if (args[i] == "--json") {
      json = true;
    } else if (file.empty() && args[i][0] != '-') {
      file = args[i];
    } else {
      return Usage();
    }
  }
  if (file.empty() || location.empty()) return Usage();
  if (gameDir.empty()) gameDir = fs::absolute(location).parent_path().parent_path();

  TLocationData loc;
  {
    TBinaryReader in(location, location.string());
    ReadLocationData(in, loc);
  }
  TBinaryReader in(file, file.string());
  TPrinter printer(json);
  TSaveHeader header;
  ReadSaveHeader(in, header, &printer);
  TSaveCounts counts;
  counts.Objects = static_cast<int32_t>(loc.Objects.size());
  counts.Regions = static_cast<int32_t>(loc.Regions.size());
  counts.Sequences = SequenceCount(gameDir, header.SoundSet);
  counts.Bitmaps[0] = BitmapCount(gameDir, header.LocationArchive);
  counts.Bitmaps[1] = BitmapCount(gameDir, header.PersonArchive);
  counts.Bitmaps[2] = BitmapCount(gameDir, "system.wgw");
  counts.Bitmaps[3] = -1;
  WalkSaveBody(in, counts, &printer);
  printer.Finish();
  return 0;
}

}  // namespace

int SaveCommand(const TArgs& args) {
  if (args.empty() || args[0] != "dump") return Usage();
  return Dump(TArgs(args.begin() + 1, args.end()));
}
