#include "scene/save_commands.h"

#include <string>
#include <utility>

#include "scene/save_game.h"

namespace {

// 34: loads PendingLoad, which is emptied first: a save made in the loader
// location itself would otherwise load itself again for ever.
void LoadPendingSaveCommand(TqvxScene& scene, const TScriptInstruction&, float) {
  if (scene.PendingLoad.empty()) return;
  const std::string fileName = std::exchange(scene.PendingLoad, std::string());
  LoadGame(scene, fileName);
}

}  // namespace

std::span<const TCommandBinding> SaveCommands() {
  static constexpr TCommandBinding kBindings[] = {{34, LoadPendingSaveCommand}};
  return kBindings;
}
