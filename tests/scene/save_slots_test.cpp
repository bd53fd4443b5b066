// The slot files as the menu reads them, and the replacing write of a save.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/game_error.h"
#include "platform/stream.h"
#include "scene/save_slots.h"

namespace fs = std::filesystem;

TEST(SaveSlots, NamesAndTheFirstTwoFieldsOfASlotFileWhichMayBeMissingOrShort) {
  EXPECT_EQ(SlotFileName(9), "slot09.save");
  EXPECT_EQ(SlotFileName(10), "slot10.save");
  EXPECT_EQ(SlotPictureName(0), "sav00");
  EXPECT_EQ(SlotPictureName(12), "sav12");

  TqvxScene scene;
  const fs::path dir = fs::temp_directory_path() / ("qvx_slots_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  scene.SaveDir = (dir / "save").string();  // missing until the first write
  TBinaryWriter full;
  full.WriteInt32(7);
  full.WriteStr(50, "06.12.2026 14:05:09");
  full.WriteInt32(0);  // the rest of a save
  TBinaryWriter empty;
  empty.WriteInt32(0);
  empty.WriteStr(50, "");
  struct TCase {
    const char* File;
    std::vector<uint8_t> Bytes;  // none: no file
    int32_t Picture;
    std::string Name;
  };
  const TCase cases[] = {
      {"slot01.save", {}, 0, ""},
      {"slot02.save", {3, 0}, 0, ""},
      {"slot03.save", full.Bytes(), 7, "06.12.2026 14:05:09"},
      {"slot04.save", empty.Bytes(), 0, ""},
  };
  for (const TCase& c : cases) {
    if (!c.Bytes.empty()) WriteFileReplacing(SaveFilePath(scene, c.File), c.Bytes, c.File);
    EXPECT_EQ(ReadSlotPicture(scene, c.File), c.Picture) << c.File;
    EXPECT_EQ(ReadSlotName(scene, c.File), c.Name) << c.File;
  }

  // Overwriting replaces the file whole; a write that cannot be made names the
  // save and leaves no temporary file.
  WriteFileReplacing(SaveFilePath(scene, "slot03.save"), empty.Bytes(), "slot03.save");
  EXPECT_EQ(ReadSlotPicture(scene, "slot03.save"), 0);
  WriteFileBytes(dir / "file", std::vector<uint8_t>{1});
  try {
    WriteFileReplacing(dir / "file" / "quick.save", full.Bytes(), "save\\quick.save");
    ADD_FAILURE() << "a folder under a file cannot be written";
  } catch (const EGameError& e) {
    EXPECT_NE(std::string(e.what()).find("save\\quick.save"), std::string::npos) << e.what();
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "save"), fs::directory_iterator()), 3);
  fs::remove_all(dir);
}
