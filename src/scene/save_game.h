// Save games: the running game written to and read from "save\" + a name.
#pragma once

#include <string>

#include "state/scene_state.h"

// Writes the game to "save\" + `fileName`. The file layout is not written
// yet: for now nothing is saved.
void SaveGame(TqvxScene& scene, const std::string& fileName);
