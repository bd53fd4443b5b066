#include "scene/command_bindings.h"

#include "hero/hero_commands.h"
#include "scene/location_commands.h"
#include "scene/object_commands.h"
#include "scene/scene_commands.h"
#include "script/script_table.h"

void RegisterAllCommands() {
  RegisterCommands(HeroCommands());
  RegisterCommands(SceneCommands());
  RegisterCommands(ObjectCommands());
  RegisterCommands(LocationCommands());
}

std::span<const int32_t> CommandsToCome() {
  // The inventory, sound, effects, menu and video commands.
  static constexpr int32_t kCodes[] = {3, 13, 25, 26, 29, 32, 33, 34, 35, 36, 37, 38, 47, 48};
  return kCodes;
}
