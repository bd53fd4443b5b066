// The floors of the source tree, bottom to top. A file may include headers of
// its own folder and of the floors below it, never of a floor above: so the
// folders form no cycle and each floor builds and tests without the ones on
// top of it. README's Layout section names the same floors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kFloors = {
    "platform", "render", "resources", "state", "script", "sound",
    "hero",     "effects", "menu",     "scene", "shell",  "tools",
};

int FloorOf(const std::string& folder) {
  for (size_t i = 0; i < kFloors.size(); ++i)
    if (kFloors[i] == folder) return static_cast<int>(i);
  return -1;
}

struct TInclude {
  std::string File;
  int Line;
  std::string From, To;
};

// Every quoted include of a project folder in src/ and tools/.
std::vector<TInclude> ProjectIncludes() {
  const fs::path root = QVX_SOURCE_DIR;
  const std::regex include(R"(^\s*#\s*include\s*"([a-z_]+)/)");
  std::vector<TInclude> out;
  for (const auto& [dir, floorOverride] : {std::pair{root / "src", std::string()}, {root / "tools", std::string("tools")}}) {
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
      const auto ext = entry.path().extension();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      const std::string from =
          floorOverride.empty() ? fs::relative(entry.path(), dir).begin()->string() : floorOverride;
      std::ifstream in(entry.path());
      std::string line;
      for (int n = 1; std::getline(in, line); ++n) {
        std::smatch m;
        if (std::regex_search(line, m, include))
          out.push_back({fs::relative(entry.path(), root).string(), n, from, m[1].str()});
      }
    }
  }
  return out;
}

}  // namespace

TEST(Floors, NoIncludeGoesUp) {
  const auto includes = ProjectIncludes();
  ASSERT_GT(includes.size(), 100u) << "the source tree was not found at " << QVX_SOURCE_DIR;
  for (const TInclude& inc : includes) {
    const int from = FloorOf(inc.From), to = FloorOf(inc.To);
    EXPECT_GE(from, 0) << inc.File << ": folder '" << inc.From << "' has no floor";
    if (inc.To == inc.From || (inc.From == "tools" && inc.To == "qvxtool")) continue;
    EXPECT_GE(to, 0) << inc.File << ":" << inc.Line << ": includes unknown folder '" << inc.To << "'";
    EXPECT_LT(to, from) << inc.File << ":" << inc.Line << ": '" << inc.From << "' includes '" << inc.To
                        << "', a floor above it";
  }
}
