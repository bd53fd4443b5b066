// Where save files live and what the menu's slot panels read of them: the
// first two fields of a save (the picture number and the caption). A slot
// whose file is missing or cut short counts as empty, so the menu can always
// be built. Every read and write of a save goes through SaveFilePath.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "state/scene_state.h"

// "slot01.save" .. "slot12.save".
std::string SlotFileName(int32_t slot);
// "sav00" for an empty slot, "sav07", "sav12": the slot's picture.
std::string SlotPictureName(int32_t picture);
// The first int32 of the save; 0 (empty) when the file is missing or shorter.
int32_t ReadSlotPicture(const TqvxScene& scene, const std::string& fileName);
// The save's caption (str50 after the picture number); empty when missing.
std::string ReadSlotName(const TqvxScene& scene, const std::string& fileName);

// The folder of the save files: scene.SaveDir, or "save" in the game
// directory (found case-insensitively).
std::filesystem::path SaveFolder(const TqvxScene& scene);
std::filesystem::path SaveFilePath(const TqvxScene& scene, const std::string& fileName);
// How a save is named in messages: "save\quick.save", or the full path when
// saves live outside the game directory.
std::string SaveDisplayName(const TqvxScene& scene, const std::string& fileName);

// Writes `bytes` to `file` so that a failure at any point leaves whatever
// was there before: a temporary file beside it, flushed to disk, renamed
// over the old one only when complete. Creates a missing folder. Throws
// EGameError naming `displayName` and the system's reason.
void WriteFileReplacing(const std::filesystem::path& file, std::span<const uint8_t> bytes,
                        const std::string& displayName);

// The save folder the game uses at start-up: `explicitDir` when given;
// otherwise "save" in the game directory (the current one) when the player
// may write there; otherwise $XDG_DATA_HOME/ovgame/<game directory's name>/save
// (default ~/.local/share). `notice` gets the line to say once when saves go
// outside the game directory, else is left empty. Returns the value for
// TqvxScene::SaveDir.
std::string ChooseSaveDir(const std::string& explicitDir, std::string& notice);
