#include "shell/driver.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace {
TCommandLine Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "ovgame");
  return ParseCommandLine(static_cast<int>(args.size()), args.data());
}
}  // namespace

TEST(Driver, CommandLine) {
  TCommandLine c = Parse({"--data", "game", "--frames", "10", "--dt", "0.01", "--seed", "7", "--screenshot",
                          "3:a.bmp", "--screenshot", "9:b:c.bmp", "--dump-state", "s.json"});
  EXPECT_EQ(c.DataDir, "game");
  EXPECT_EQ(*c.Frames, 10);
  EXPECT_DOUBLE_EQ(c.FrameTime, 0.01);
  EXPECT_EQ(*c.Seed, 7u);
  ASSERT_EQ(c.Screenshots.size(), 2u);
  EXPECT_EQ(c.Screenshots[1].first, 9);
  EXPECT_EQ(c.Screenshots[1].second, "b:c.bmp");
  EXPECT_FALSE(Parse({}).Frames);
  for (auto bad : std::vector<std::vector<const char*>>{
           {"--frames"}, {"--frames", "-1"}, {"--frames", "5x"}, {"--dt", "0.2", "--frames", "1"},
           {"--dt", "0", "--frames", "1"}, {"--screenshot", "x.bmp", "--frames", "1"},
           {"--dump-state", "s.json"}, {"--bogus"},
           // Screenshots of frames the run does not have would silently do nothing.
           {"--frames", "5", "--screenshot", "5:late.bmp"}, {"--frames", "5", "--screenshot", "-1:early.bmp"}}) {
    EXPECT_THROW(Parse(bad), std::invalid_argument) << bad[0];
  }
}

TEST(Driver, ScriptedInputHoldsStateUntilChanged) {
  auto in = TScriptedInput::Parse("# comment\n\n0 move 100 200\n2 down left\n3 up left\n3 down 32\n5 move 900 -4\n");
  TInputState s;
  in.Apply(0, s);
  EXPECT_EQ(s.CursorX, 100);
  EXPECT_EQ(s.CursorY, 200);
  in.Apply(1, s);
  EXPECT_FALSE(s.Down[1]);
  in.Apply(2, s);
  EXPECT_TRUE(s.Down[1]);
  in.Apply(3, s);
  EXPECT_FALSE(s.Down[1]);
  EXPECT_TRUE(s.Down[32]);
  EXPECT_NE(GetAsyncKeyState(s, 1), 0) << "a press released again is still seen once";
  EXPECT_EQ(GetAsyncKeyState(s, 1), 0);
  in.Apply(5, s);
  EXPECT_EQ(s.CursorX, 799) << "positions are clamped to the game picture";
  EXPECT_EQ(s.CursorY, 0);

  for (const char* bad :
       {"x move 1 2", "1 jump", "1 move 1", "1 down middle", "1 down 300", "1 up left extra", "-1 down left"}) {
    try {
      TScriptedInput::Parse(std::string("# ok\n") + bad + "\n");
      ADD_FAILURE() << "accepted: " << bad;
    } catch (const std::invalid_argument& e) {
      EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
  }
}

// Every end-to-end test reads the dump's keys; names are kept in cp1251.
TEST(Driver, StateDumpIsUtf8Json) {
  TqvxScene s;
  s.LocationName = "\xCF\xE5\xF9\xE5\xF0\xE0.qvx";
  s.Objects.resize(1);
  s.Objects[0].Name = "\xC4\xE2\xE5\xF0\xFC";
  auto j = nlohmann::json::parse(DumpStateJson(s));
  EXPECT_EQ(j["location"], "Пещера.qvx");
  EXPECT_EQ(j["objects"][0]["name"], "Дверь");
}

TEST(Driver, AnInputFileMustBeAFile) {
  try {
    TScriptedInput::ReadFile(std::filesystem::temp_directory_path().string());
    ADD_FAILURE() << "a folder was read as input";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("Cannot open file"), std::string::npos) << e.what();
  }
}
