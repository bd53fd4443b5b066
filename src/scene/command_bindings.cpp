#include "scene/command_bindings.h"

#include "effects/effects_commands.h"
#include "hero/hero_commands.h"
#include "hero/inventory_commands.h"
#include "scene/location_commands.h"
#include "scene/menu_frame.h"
#include "scene/object_commands.h"
#include "scene/save_commands.h"
#include "scene/scene_commands.h"
#include "script/script_table.h"
#include "sound/sound_commands.h"

void RegisterAllCommands() {
  RegisterCommands(HeroCommands());
  RegisterCommands(SceneCommands());
  RegisterCommands(ObjectCommands());
  RegisterCommands(LocationCommands());
  RegisterCommands(SaveCommands());
  RegisterCommands(MenuCommands());
  RegisterCommands(InventoryCommands());
  RegisterCommands(SoundCommands());
  RegisterCommands(EffectsCommands());
}

std::span<const int32_t> CommandsToCome() {
  // Every command has its handler.
  return {};
}
