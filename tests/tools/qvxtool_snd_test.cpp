// Runs the real `qvxtool snd` on sound sets written here.
#include <gtest/gtest.h>

#include "platform/stream.h"
#include "support/game_dir.h"
#include "support/scratch_dir.h"

namespace {

int Tool(const std::string& args, std::string* out) {
  return RunCommand(std::string(QVXTOOL_PATH) + " snd " + args, out, true);
}

}  // namespace

TEST(QvxtoolSnd, DumpBuildsBackByteForByteAndDamageFailsNamingTheFile) {
  TScratchDir dir("qvxtool_snd");
  const std::string source = dir.Write("set.snd.txt",
                                       "unused 3 4\n"
                                       "sample name=\"шаг\" file=\"step.ogg\" loop=0 comment=12\n"
                                       "sequence name=\"s\" loop=1 items=0,0\n").string();
  const std::string built = (dir / "set.snd").string(), rebuilt = (dir / "again.snd").string();
  std::string out;
  ASSERT_EQ(Tool("build " + Quote(source) + " " + Quote(built), &out), 0) << out;
  ASSERT_EQ(Tool("dump " + Quote(built), &out), 0) << out;
  EXPECT_NE(out.find("name=\"шаг\""), std::string::npos) << out;
  const std::string text = dir.Write("dumped.txt", out).string();
  ASSERT_EQ(Tool("build " + Quote(text) + " " + Quote(rebuilt), &out), 0) << out;
  EXPECT_EQ(ReadFileBytes(rebuilt), ReadFileBytes(built));
  ASSERT_EQ(Tool("dump " + Quote(built) + " --json", &out), 0) << out;
  EXPECT_EQ(nlohmann::json::parse(out)["sequences"][0]["items"], nlohmann::json::parse("[0, 0]"));

  const std::string cut = dir.Write("cut.snd", std::string(14, '\1')).string();
  EXPECT_EQ(Tool("dump " + Quote(cut), &out), 1);
  EXPECT_NE(out.find("cut.snd"), std::string::npos) << out;
  EXPECT_EQ(Tool("build " + Quote(dir.Write("bad.txt", "sample loop=x\n").string()) + " " + Quote(rebuilt), &out), 1);
  EXPECT_NE(out.find("bad.txt:1"), std::string::npos) << out;
}
