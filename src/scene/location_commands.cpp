#include "scene/location_commands.h"

#include "scene/location.h"
#include "scene/scene_update.h"
#include "script/interpreter.h"
#include "script/script_table.h"

namespace {

// 49: Op1 0 the location pair, 1 the person pair; Str1 the archive under "GFX\".
void LoadArchiveCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  const std::string& name = ins.Str[0];
  if (name.empty()) return;
  const std::string file = "GFX\\" + name;
  if (ins.Op[0] == 0)
    LoadArchiveInto(scene.LocationArchive, *scene.LocationLibrary, file);
  else if (ins.Op[0] == 1)
    LoadArchiveInto(scene.PersonArchive, *scene.PersonLibrary, file);
}

// 50: Op1 -1 switches fades off; Op1 0 changes to location Str1, at once when
// Op2 is 1.
void ChangeLocationCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  if (ins.Op[0] == -1) {
    scene.NoFade = true;
    return;
  }
  if (ins.Op[0] != 0) return;
  if (ins.Str[0] == scene.LocationName) return;
  RequestLocationChange(scene, ins.Str[0], ins.Op[1] == 1);
}

}  // namespace

std::span<const TCommandBinding> LocationCommands() {
  static constexpr TCommandBinding kBindings[] = {{49, LoadArchiveCommand}, {50, ChangeLocationCommand}};
  return kBindings;
}
