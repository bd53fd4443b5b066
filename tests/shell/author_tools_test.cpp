// What authors use: starting straight in one location after the start
// location, and the trace of every instruction the scripts run.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/game_dir.h"

namespace {

TEST(AuthorTools, StartsInTheNamedLocationAndTracesEveryInstruction) {
  TTestGameDir game("author_tools");
  game.WriteLocation("init.qvx", LocationSource(40, "function \"start\"\n  set_variables op1=1 op2=1 op3=5\nend\n"));
  game.WriteLocation("room.qvx", LocationSource(40, "function \"start\"\n"
                                                    "  set_variables op1=2 op2=1 op3=6\n"
                                                    "  if_equal op1=1 op2=2 str1=\"INT\" str2=\"INT\"\n"
                                                    "  set_variables op1=3 op2=1 op3=7\n"
                                                    "end\n"));
  const std::string trace = (game.Dir() / "trace.txt").string();
  const TRunResult r = game.Run(3, {"--location", "room.qvx", "--trace", trace});
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(r.State["location"], "room.qvx");
  EXPECT_EQ(Var(r.State, 1), 5) << "the start location ran first";
  EXPECT_EQ(Var(r.State, 2), 6);
  EXPECT_EQ(Var(r.State, 3), 0);

  std::ifstream in(trace);
  std::stringstream text;
  text << in.rdbuf();
  const std::string lines = text.str();
  for (const char* line : {"0 location 0 \"start\" 1 set_variables op1=1 op2=1 op3=5\n",
                           "0 location 0 \"start\" 1 if_equal op1=1 op2=2 str1=\"INT\" str2=\"INT\"\n",
                           "0 location 0 \"start\" 0 set_variables op1=3 op2=1 op3=7\n"})
    EXPECT_NE(lines.find(line), std::string::npos) << line << "\nin:\n" << lines;

  const TRunResult missing = game.Run(3, {"--location", "nowhere.qvx"});
  EXPECT_NE(missing.ExitCode, 0);
  EXPECT_NE(missing.Stderr.find("nowhere.qvx"), std::string::npos) << missing.Stderr;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Tab outlines the hot zones on the screen only: the screenshot of the same
// frame is the one taken without Tab.
TEST(AuthorTools, TabOutlinesHotZonesOnTheScreenOnly) {
  TTestGameDir game("outline_key");
  const std::string region = "region x=400 y=300 width=200 height=100 function=0 cursor=1\n";
  game.WriteLocation("init.qvx", LocationSource(40, region + "function \"start\"\nend\n"));
  const auto shot = [&](const std::string& name) { return (game.Dir() / name).string(); };
  // Input begins once the location has faded in (0.5 s).
  const TRunResult plain = game.Run(34, {"--screenshot", "33:" + shot("plain.bmp")});
  const TRunResult tab =
      game.RunWithInput(34, "30 down 9\n31 up 9\n", {"--screenshot", "33:" + shot("tab.bmp")});
  ASSERT_EQ(tab.ExitCode, 0) << tab.Stderr;
  EXPECT_GT(tab.State["outline_timer"].get<double>(), 1.5);
  EXPECT_EQ(plain.State["outline_timer"], 0);
  EXPECT_EQ(FileBytes(shot("tab.bmp")), FileBytes(shot("plain.bmp")));
}

}  // namespace
