#include "platform/paths.h"

#include <gtest/gtest.h>

#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

class PathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"Gfx/Person.WGW", "Gfx/SubDir/a.bmp", "scene/init.qvx", "scene/INIT.qvx"})
      dir_.Write(file, "p");
    dir_.Write(Cp1251ToUtf8("\xCF\xE5\xF9\xE5\xF0\xE0.qvx"), "c");  // "Пещера"
  }
  TScratchDir dir_{"paths"};
  const fs::path& root_ = dir_.Path;
};

TEST_F(PathsTest, ResolvesMixedCaseComponents) {
  EXPECT_EQ(ResolveGamePath("GFX\\person.wgw", root_), root_ / "Gfx" / "Person.WGW");
  EXPECT_EQ(ResolveGamePath("gfx/subdir\\A.BMP", root_), root_ / "Gfx" / "SubDir" / "a.bmp");
  // An exact match wins over a case-insensitive one.
  EXPECT_EQ(ResolveGamePath("SCENE\\INIT.qvx", root_), root_ / "scene" / "INIT.qvx");
  // Cyrillic names match regardless of case: "ПЕЩЕРА.QVX".
  EXPECT_EQ(ResolveGamePath("\xCF\xC5\xD9\xC5\xD0\xC0.QVX", root_),
            root_ / fs::path(Cp1251ToUtf8("\xCF\xE5\xF9\xE5\xF0\xE0.qvx")));
}

TEST_F(PathsTest, MissingFilesNameWhereTheyWouldBe) {
  EXPECT_EQ(ResolveGamePath("GFX\\nothing\\x.wgw", root_), root_ / "Gfx" / "nothing" / "x.wgw");
  try {
    ReadGameFile("GFX\\missing.wgw", root_);
    FAIL();
  } catch (const EGameError& e) {
    EXPECT_NE(std::string(e.what()).find("\"GFX\\missing.wgw\""), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadGameFile("gfx\\person.wgw", root_), std::vector<uint8_t>{'p'});
}

TEST(Cp1251, ConvertsBothWaysAndRefusesWhatItCannotStore) {
  const std::string cyr = "\xC0\xE1\xE2\xA8\xB8 ok";
  auto back = Utf8ToCp1251(Cp1251ToUtf8(cyr));
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, cyr);
  size_t bad = 0;
  EXPECT_FALSE(Utf8ToCp1251("ab\xE4\xB8\xAD", &bad)) << "a CJK character has no cp1251 form";
  EXPECT_EQ(bad, 2u);
  EXPECT_EQ(Cp1251Lower("ABC\xC0\xA8"), "abc\xE0\xB8");
}
