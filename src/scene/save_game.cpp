#include "scene/save_game.h"

void SaveGame(TqvxScene&, const std::string&) {}
