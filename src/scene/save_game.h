// Save games: the running game written to and read from a file of the save
// folder (save_slots.h). A save holds what play has changed on top of the
// location file it names; loading reads that location again and lays the
// saved state over it.
//
// A load checks the whole file against the files it names (the location's
// object and region counts, the archives' bitmap counts, the sound set's
// sequences) before it touches the running game: a save that does not fit is
// refused with EGameError and the game goes on where it was.
#pragma once

#include <string>

#include "state/scene_state.h"

// Writes the game to the save folder's `fileName`, replacing the file only
// once the new one is complete. Throws EGameError when it cannot; the old
// file is then untouched.
void SaveGame(TqvxScene& scene, const std::string& fileName);
// SaveGame for the keys and panels of play: a save that cannot be written
// is told through scene.ErrorHook, and the frame that asked goes on. False
// then.
bool SaveGameFromPlay(TqvxScene& scene, const std::string& fileName);
// Reads the save back: the current location is replaced by the saved one.
void LoadGame(TqvxScene& scene, const std::string& fileName);
// The check LoadGame makes first, alone: throws EGameError naming the file
// when it cannot be loaded; the scene is not changed.
void CheckSaveGame(const TqvxScene& scene, const std::string& fileName);
