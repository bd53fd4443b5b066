// The demo played from the menu's new game to its ending with the walkthrough
// kept beside its sources, checked at each of the walkthrough's marks; then
// its second half played again from the quick save it makes, which must end
// the same way. The runs skip drawing: only the game's state is checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/game_dir.h"
#include "support/scratch_dir.h"

namespace {

struct TEvent {
  long Frame;
  std::string Text;
};

// The walkthrough's input lines, and its marks ("# @name ..."), each at the
// frame of the first input line after it.
struct TWalkthrough {
  std::vector<TEvent> Events;
  std::map<std::string, long> Marks;

  static TWalkthrough Read(const std::string& path) {
    TWalkthrough w;
    std::ifstream in(path);
    std::vector<std::string> pending;
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("# @", 0) == 0) {
        pending.push_back(line.substr(2, line.find(' ', 2) - 2));
      } else if (!line.empty() && line[0] != '#') {
        std::istringstream words(line);
        TEvent e;
        words >> e.Frame >> std::ws;
        std::getline(words, e.Text);
        for (const std::string& mark : pending) w.Marks[mark] = e.Frame;
        pending.clear();
        w.Events.push_back(e);
      }
    }
    for (const std::string& mark : pending) w.Marks[mark] = w.Events.empty() ? 0 : w.Events.back().Frame;
    return w;
  }
  long Mark(const std::string& name) const {
    const auto found = Marks.find(name);
    if (found == Marks.end()) ADD_FAILURE() << "the walkthrough has no mark " << name;
    return found == Marks.end() ? 0 : found->second;
  }
};

std::string InputText(const std::vector<TEvent>& events) {
  std::string text;
  for (const TEvent& e : events) text += std::to_string(e.Frame) + " " + e.Text + "\n";
  return text;
}

bool Holds(const nlohmann::json& state, int item) {
  const nlohmann::json& items = state["inventory"]["items"];
  return std::find(items.begin(), items.end(), item) != items.end();
}

// What must hold just before the step at each mark.
struct TMilestone {
  const char* Mark;
  std::function<void(const nlohmann::json&)> Check;
};

const TMilestone kMilestones[] = {
    {"@lake",
     [](const nlohmann::json& s) {
       EXPECT_EQ(s["location"], "lake.qvx");
       EXPECT_TRUE(s["input_enabled"].get<bool>());
       EXPECT_FALSE(s["video"]["playing"].get<bool>());
       EXPECT_EQ(s["inventory"]["items"], nlohmann::json::array({1})) << "a new game starts with the letter";
     }},
    {"@story", [](const nlohmann::json& s) { EXPECT_TRUE(Holds(s, 7)) << "the line from the hint board"; }},
    {"@forest",
     [](const nlohmann::json& s) {
       EXPECT_EQ(s["location"], "forest.qvx") << "the story ends in the forest";
       EXPECT_EQ(Var(s, 40), 1);
       EXPECT_FALSE(s["effects"]["overlay_active"].get<bool>());
     }},
    {"@key",
     [](const nlohmann::json& s) {
       EXPECT_TRUE(Holds(s, 3)) << "the rod";
       EXPECT_FALSE(Holds(s, 7) || Holds(s, 8)) << "the line and the pole went into the rod";
     }},
    {"@save",
     [](const nlohmann::json& s) {
       EXPECT_EQ(s["location"], "lake.qvx");
       EXPECT_TRUE(Holds(s, 2)) << "the key";
     }},
    {"@box",
     [](const nlohmann::json& s) {
       EXPECT_EQ(s["location"], "cabin.qvx");
       EXPECT_EQ(Var(s, 11), 1) << "the door opened";
       EXPECT_FALSE(Holds(s, 2)) << "the key stays in the door";
     }},
    {"@window",
     [](const nlohmann::json& s) {
       EXPECT_TRUE(Holds(s, 9)) << "the bait";
       EXPECT_EQ(Var(s, 48), 1) << "the box open";
     }},
    {"@out",
     [](const nlohmann::json& s) {
       EXPECT_EQ(Var(s, 42), 1) << "the view behind the window";
       EXPECT_EQ(s["effects"]["panels"][0]["progress"], 1.0) << "panel layer 0 slid open";
     }},
    {"@ending", [](const nlohmann::json& s) { EXPECT_EQ(s["location"], "lake.qvx"); }},
};

// The game at its end: the fish caught, the closing card seen, the menu
// open with nothing to resume.
void ExpectTheEnd(const nlohmann::json& s) {
  EXPECT_EQ(Var(s, 70), 1);
  EXPECT_TRUE(Holds(s, 4)) << "the fish";
  EXPECT_FALSE(Holds(s, 9)) << "the bait went on the hook";
  EXPECT_TRUE(s["menu"]["active"].get<bool>());
  EXPECT_EQ(s["menu"]["resume_allowed"], 0);
}

nlohmann::json ReadJson(const std::filesystem::path& file) {
  std::ifstream in(file);
  return in ? nlohmann::json::parse(in, nullptr, false) : nlohmann::json();
}

TEST(DemoWalkthrough, PlaysFromTheMenuToTheEndingAndFromItsQuickSaveTheSameWay) {
  const TWalkthrough walk = TWalkthrough::Read(WALKTHROUGH_FILE);
  ASSERT_FALSE(walk.Events.empty());
  TScratchDir dir("demo_walkthrough");
  const std::filesystem::path saves = dir.Path / "save";
  std::filesystem::create_directories(saves);
  const std::vector<std::string> common = {"--dt", "0.05", "--no-render", "--save-dir", saves.string()};

  std::vector<std::string> args = common;
  args.insert(args.end(), {"--input", dir.Write("walkthrough.txt", InputText(walk.Events)).string()});
  for (const TMilestone& m : kMilestones)
    args.insert(args.end(), {"--dump-state-at", std::to_string(walk.Mark(m.Mark) - 1) + ":" +
                                                    (dir.Path / (std::string(m.Mark + 1) + ".json")).string()});
  const long end = walk.Mark("@end");
  const TRunResult played = RunGame(DEMO_GAME_DIR, dir.Path, static_cast<int>(end + 1), args);
  ASSERT_EQ(played.ExitCode, 0) << played.Stderr;
  for (const TMilestone& m : kMilestones) {
    SCOPED_TRACE(m.Mark);
    const nlohmann::json state = ReadJson(dir.Path / (std::string(m.Mark + 1) + ".json"));
    ASSERT_TRUE(state.is_object());
    m.Check(state);
  }
  ExpectTheEnd(played.State);
  ASSERT_TRUE(std::filesystem::exists(saves / "quick.save"));

  // Again from the opening: F3 at the lake loads the quick save, and the
  // steps after the save follow from a few seconds later.
  const long lake = walk.Mark("@lake"), save = walk.Mark("@save");
  const long resume = lake + 60, shift = resume - save;
  std::vector<TEvent> again;
  for (const TEvent& e : walk.Events)
    if (e.Frame < lake) again.push_back(e);
  again.push_back({lake, "down 114"});
  again.push_back({lake + 2, "up 114"});
  for (const TEvent& e : walk.Events)
    if (e.Frame > save + 2) again.push_back({e.Frame + shift, e.Text});
  args = common;
  args.insert(args.end(), {"--input", dir.Write("after_load.txt", InputText(again)).string(), "--dump-state-at",
                           std::to_string(resume - 1) + ":" + (dir.Path / "loaded.json").string()});
  const TRunResult loaded = RunGame(DEMO_GAME_DIR, dir.Path, static_cast<int>(end + shift + 1), args);
  ASSERT_EQ(loaded.ExitCode, 0) << loaded.Stderr;
  const nlohmann::json atLoad = ReadJson(dir.Path / "loaded.json");
  ASSERT_TRUE(atLoad.is_object());
  std::find_if(std::begin(kMilestones), std::end(kMilestones), [](const TMilestone& m) {
    return std::string(m.Mark) == "@save";
  })->Check(atLoad);
  EXPECT_EQ(atLoad["inventory"]["items"], ReadJson(dir.Path / "save.json")["inventory"]["items"]);
  ExpectTheEnd(loaded.State);
  EXPECT_EQ(loaded.State["inventory"]["items"], played.State["inventory"]["items"]);
  for (int v : {10, 11, 40, 48, 70}) EXPECT_EQ(Var(loaded.State, v), Var(played.State, v)) << "variable " << v;
}

}  // namespace
