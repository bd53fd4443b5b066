// Save games through the real game in driver mode: F2 saves, F3 loads
// through the loader location's command 34, and the saves are compared
// field by field with qvxtool's dump.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/stream.h"
#include "support/game_dir.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPlay = 30;  // the start location's fade-in is over
constexpr int kF2 = 113, kF3 = 114;

std::string Tap(int frame, int vk) {
  return std::to_string(frame) + " down " + std::to_string(vk) + "\n" + std::to_string(frame + 1) + " up " +
         std::to_string(vk) + "\n";
}
std::string Click(int frame, int x, int y) {
  return std::to_string(frame) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n" +
         std::to_string(frame) + " down left\n" + std::to_string(frame + 1) + " up left\n";
}

// A click on (400, 300) plays: it moves and re-pictures objects, sets
// variables, disables a region and starts a timer.
const char* const kRichLocation =
    "object layer=1 name=\"rock\" x=100 y=300 width=8 height=8 picture=\"rock\"\n"
    "object layer=2 name=\"lamp\" x=300 y=200 width=8 height=8 picture=\"lamp\"\n"
    "object layer=0 name=\"sign\" x=600 y=100 width=8 height=8 picture=\"rock\"\n"
    "region x=400 y=300 width=200 height=200 function=1 cursor=2\n"
    "region x=100 y=100 width=50 height=50 function=2 cursor=1\n"
    "function \"start\"\n  load_archive str1=\"room.wgw\"\nend\n"
    "function \"play\"\n"
    "  place_object str1=\"rock\" op1=150 op2=320\n"
    "  set_picture str1=\"lamp\" str2=\"lamp2\"\n"
    "  hide_object str1=\"sign\"\n"
    "  give_item op1=5\n"
    "  give_item op1=3\n"
    "  set_variables op1=5 op2=2 op3=7 op4=-3\n"
    "  set_region op1=1 op2=0\n"
    "  delayed_call op1=20000 op2=0 str1=\"late\"\n"
    "end\n"
    "function \"late\"\n  set_variables op1=9 op2=1 op3=1\nend\n";

const char* const kEmptyLocation = "function \"start\"\n  load_archive str1=\"room.wgw\"\nend\n";

class TSaveGame {
 public:
  explicit TSaveGame(const std::string& name, const std::string& location = kRichLocation) : game_(name) {
    game_.WriteArchive("GFX/room.wgw", {{"rock", 8, 8}, {"lamp", 8, 8}, {"lamp2", 8, 8}});
    game_.WriteLocation("init.qvx", LocationSource(40, location));
    game_.WriteLocation("loadgame.qvx", LocationSource(40, "function \"start\"\n  load_pending_save\nend\n"));
  }
  TTestGameDir& Game() { return game_; }
  fs::path Save() const { return game_.Dir() / "save" / "quick.save"; }
  // Every field of a save as qvxtool shows it.
  nlohmann::json Dump(const fs::path& save, std::string* err = nullptr) {
    std::string out;
    const int status = RunCommand(std::string(QVXTOOL_PATH) + " save dump " + Quote(save.string()) + " --loc " +
                                      Quote((game_.Dir() / "SCENE" / "init.qvx").string()) + " --json",
                                  &out, err == nullptr);
    if (err) *err = out;
    return status == 0 && !err ? nlohmann::json::parse(out, nullptr, false) : nlohmann::json();
  }

 private:
  TTestGameDir game_;
};

// The play click, then F2: the state dumped right after the save.
TRunResult PlayAndSave(TSaveGame& s) {
  return s.Game().RunWithInput(kPlay + 8, Click(kPlay, 400, 300) + Tap(kPlay + 5, kF2));
}

}  // namespace

struct TRoundTrip {
  const char* Name;
  const char* Location;
  bool Rich;
};

// The objects as dumped, without where the sprites of hidden ones were last
// drawn.
nlohmann::json Objects(const TRunResult& r) {
  nlohmann::json objects = r.State["objects"];
  for (auto& o : objects)
    if (!o["drawn"].get<bool>()) o.erase("screen_x"), o.erase("screen_y");
  return objects;
}

class SaveRoundTrip : public testing::TestWithParam<TRoundTrip> {};

TEST_P(SaveRoundTrip, LoadingThenSavingAgainGivesTheSameFileAndState) {
  const bool rich = GetParam().Rich;
  TSaveGame s(std::string("round_trip_") + GetParam().Name, GetParam().Location);
  const TRunResult saved = PlayAndSave(s);
  ASSERT_EQ(saved.ExitCode, 0) << saved.Stderr;
  ASSERT_TRUE(fs::exists(s.Save())) << "the missing save folder is made";
  const fs::path first = s.Game().Dir() / "first.save";
  fs::copy_file(s.Save(), first);

  // F3 in a fresh run: the loader location loads the save; F2 after the
  // fade-in saves again.
  const TRunResult loaded = s.Game().RunWithInput(kPlay + 34, Tap(kPlay, kF3) + Tap(kPlay + 30, kF2));
  ASSERT_EQ(loaded.ExitCode, 0) << loaded.Stderr;
  EXPECT_EQ(loaded.State["location"], "init.qvx");
  EXPECT_EQ(loaded.State["pending_load"], "");
  EXPECT_EQ(loaded.State["loading_save"], false) << "the reset after the load clears it";
  EXPECT_EQ(Objects(loaded), Objects(saved));
  for (const char* key : {"variables", "inventory", "scroll_x", "keys", "menu_enabled", "previous_location"})
    EXPECT_EQ(loaded.State[key], saved.State[key]) << key;

  const nlohmann::json a = s.Dump(first), b = s.Dump(s.Save());
  ASSERT_TRUE(a.is_object() && b.is_object());
  EXPECT_EQ(ReadFileBytes(first).size(), ReadFileBytes(s.Save()).size());
  for (const auto& [field, value] : a.items()) {
    if (field == "save_time") continue;
    // Timers run on between the load and the second save.
    if (field.find("seconds") != std::string::npos && value.get<double>() > 0)
      EXPECT_NEAR(b[field].get<double>(), value.get<double>(), 1.0) << field;
    else
      EXPECT_EQ(b[field], value) << field;
  }
  if (rich) {
    EXPECT_EQ(a["variables[5]"], 7);
    EXPECT_EQ(a["objects[0].x"], 150);
    EXPECT_EQ(a["objects[1].picture"], "lamp2");
    EXPECT_EQ(a["objects[2].visible"], 0);
    EXPECT_EQ(a["regions[1].enabled"], 0);
    EXPECT_EQ(a["inventory.items[1]"], 3);
    EXPECT_EQ(a["delayed_functions[0].function"], 2);
  } else {
    EXPECT_FALSE(a.contains("objects[0].x"));
  }
  EXPECT_TRUE(std::string(a["save_time"]).size() == 19) << a["save_time"];
}

INSTANTIATE_TEST_SUITE_P(Locations, SaveRoundTrip,
                         testing::Values(TRoundTrip{"rich", kRichLocation, true},
                                         TRoundTrip{"empty", kEmptyLocation, false}),
                         [](const testing::TestParamInfo<TRoundTrip>& p) { return std::string(p.param.Name); });

// A save that does not fit the game's files is refused before anything
// changes: the game stays where it was, with the state play gave it.
TEST(SaveGameEndToEnd, ASaveThatDoesNotFitIsRefusedAndTheGameGoesOn) {
  TSaveGame s("refused");
  ASSERT_EQ(PlayAndSave(s).ExitCode, 0);
  const std::vector<uint8_t> good = ReadFileBytes(s.Save());
  struct TCase {
    const char* Name;
    std::vector<uint8_t> Bytes;
    bool Missing;
    const char* Message;
  };
  std::vector<uint8_t> longer = good;
  longer.push_back(0);
  const TCase cases[] = {
      {"cut by a byte", std::vector<uint8_t>(good.begin(), good.end() - 1), false, "ends inside"},
      {"a byte too many", longer, false, "left after"},
      {"cut in the header", std::vector<uint8_t>(good.begin(), good.begin() + 10), false, "ends inside"},
      {"missing", {}, true, "Cannot open"},
  };
  for (const TCase& c : cases) {
    if (c.Missing)
      fs::remove(s.Save());
    else
      WriteFileBytes(s.Save(), c.Bytes);
    const TRunResult r = s.Game().RunWithInput(kPlay + 10, Click(kPlay, 400, 300) + Tap(kPlay + 5, kF3));
    EXPECT_EQ(r.ExitCode, 2) << c.Name << ": the refusal is reported";
    EXPECT_NE(r.Stderr.find("quick.save"), std::string::npos) << c.Name << ": " << r.Stderr;
    EXPECT_NE(r.Stderr.find(c.Message), std::string::npos) << c.Name << ": " << r.Stderr;
    EXPECT_EQ(r.State["location"], "init.qvx") << c.Name;
    EXPECT_EQ(Var(r.State, 5), 7) << c.Name << ": the game goes on where it was";
  }

  // The location file changed after the save: one object more.
  WriteFileBytes(s.Save(), good);
  s.Game().WriteLocation("init.qvx", LocationSource(40, std::string(kRichLocation) +
                                                            "object layer=1 name=\"new\" x=1 y=1 width=8 height=8\n"));
  const TRunResult r = s.Game().RunWithInput(kPlay + 10, Tap(kPlay, kF3));
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Stderr.find("does not fit"), std::string::npos) << r.Stderr;
  EXPECT_EQ(r.State["location"], "init.qvx");
  std::string err;
  s.Dump(s.Save(), &err);
  EXPECT_NE(err.find("does not fit"), std::string::npos) << "qvxtool refuses it too: " << err;
}

// A save that cannot be written leaves the file there before untouched and
// says so; no temporary file stays behind.
TEST(SaveGameEndToEnd, AFailedSaveKeepsTheOldFile) {
  TSaveGame s("failed_save");
  const fs::path dir = s.Game().Dir() / "saves";
  struct TCase {
    const char* Name;
    bool ReadOnly;  // else the save's name is taken by a folder
  };
  for (const TCase c : {TCase{"read-only folder", true}, TCase{"name taken by a folder", false}}) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path target = dir / "quick.save";
    if (c.ReadOnly) {
      if (::geteuid() == 0) continue;  // permissions do not stop root
      WriteFileBytes(target, std::vector<uint8_t>{1, 2, 3});
      fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    } else {
      fs::create_directories(target / "kept");
    }
    const TRunResult r = s.Game().RunWithInput(kPlay + 8, Tap(kPlay, kF2), {"--save-dir", dir.string()});
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(r.ExitCode, 2) << c.Name;
    EXPECT_NE(r.Stderr.find("Cannot save the game"), std::string::npos) << c.Name << ": " << r.Stderr;
    if (c.ReadOnly)
      EXPECT_EQ(ReadFileBytes(target), (std::vector<uint8_t>{1, 2, 3})) << c.Name;
    else
      EXPECT_TRUE(fs::is_directory(target / "kept")) << c.Name;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << c.Name;
  }
}
