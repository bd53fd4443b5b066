#include "scene/scene_commands.h"

#include "script/script_table.h"

void RegisterSceneCommands() {}
