#include "effects/effects_commands.h"

#include <cstdio>

#include "effects/effects.h"
#include "hero/inventory.h"
#include "hero/inventory_commands.h"
#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "script/interpreter.h"
#include "sound/sound_manager.h"
#include "state/instruction.h"

namespace {

// 32: the time of day, by Op1.
void DayTimeCommand(TqvxScene& scene, const TScriptInstruction& ins, float frameTime) {
  const auto& op = ins.Op;
  TDayTime& day = scene.DayTime;
  switch (op[0]) {
    case -3: AdvanceDayTime(day, static_cast<float>(op[1]) / 1000); break;
    case -2: ClearDayTime(day); break;
    case -1: ResetDayTime(day); break;
    case 0: {
      const int32_t picture = scene.LocationLibrary->IndexOf(ins.Str[0]);
      if (picture < 0) break;
      const int32_t channel = AddDayTimeChannel(day, op[1], picture);
      if (channel >= 0) SetDayTimeCurve(day.Channels[static_cast<size_t>(channel)], op[2]);
      break;
    }
    case 1:
      SetDayTimeOrbit(day, static_cast<float>(op[1]), static_cast<float>(op[2]), static_cast<float>(op[3]));
      scene.DayTimeObject = FindObject(scene, ins.Str[0]);
      break;
    case 2: day.SpeedFactor = static_cast<float>(op[1]) / 1000; break;
    default: break;
  }
  ApplyDayTime(day, *scene.LocationLibrary, 0.01f);
  UpdateDayTime(scene, frameTime);
}

// 38/5: a sketch sequence in the sketch panel; the script waits until the
// panel has closed again.
void StartSketchSequence(TqvxScene& scene, const TScriptInstruction& ins) {
  HideSubtitle(scene);
  scene.LeftDown = scene.LeftWasDown = false;
  // The bar slides away at once, so that the story has the screen.
  scene.Inventory.Slide = 1;
  int32_t mx = 0, my = 0;
  GetCursorPos(scene.Input, mx, my);
  SlideBar(scene.Inventory, my, 0);
  const std::string file = "SKETCHES\\" + ins.Str[0];
  try {
    LoadSketches(scene.Sketches, file);
  } catch (const EGameError& e) {
    // A story that cannot be shown must not leave the player stuck: the
    // panel stays shut and the script goes on.
    std::fprintf(stderr, "ovgame: warning: the sketch story is skipped: %s\n", Cp1251ToUtf8(e.what()).c_str());
    return;
  }
  StartSketches(scene.Sketches);
  if (ins.Op[1] == 0) OpenPanel(scene.PanelLayers[1]);
  if (ins.Op[1] == 1) OpenPanelAtOnce(scene.PanelLayers[1]);
  if (scene.Cursor && scene.Cursor->Visible) {
    scene.Cursor->Visible = false;
    scene.CursorHidden = true;
  }
  scene.WaitTime = 0.001f;
}

TqvxAddLoc* AddLocRef(TqvxScene& scene, int32_t index) {
  return InTable(index, scene.AddLocs.size()) ? &scene.AddLocs[static_cast<size_t>(index)] : nullptr;
}

// 38, sub-commands 4 to 15: panels, sketches and additional locations.
void ScreenEffectsCommand(TqvxScene& scene, const TScriptInstruction& ins) {
  const auto& op = ins.Op;
  const auto f = [&](int i) { return static_cast<float>(op[static_cast<size_t>(i)]); };
  TqvxAddLoc* addLoc = AddLocRef(scene, op[1]);
  switch (op[0]) {
    case 4: {
      if (!InTable(op[1], 2)) break;
      TqvxGameLayer& layer = scene.PanelLayers[op[1]];
      const int32_t picture = AddPanelPicture(layer, ins.Str[0], f(2), f(3), f(4), f(5));
      if (op[6] == 1) SetSlidingPicture(layer, picture);
      if (op[6] == 2) SetCounterPicture(layer, picture);
      break;
    }
    case 5: StartSketchSequence(scene, ins); break;
    case 6: AddAddLoc(scene); break;
    case 7:
      if (addLoc) AddLocSprite(*addLoc, ins.Str[0], f(2), f(3), f(4), f(5));
      break;
    case 8: {
      const int32_t function = FindLocationFunction(scene, ins.Str[0]);
      if (addLoc && function >= 0) AddLocCopyFunction(*addLoc, scene.Functions[static_cast<size_t>(function)]);
      break;
    }
    case 9:
      if (addLoc) AddLocZone(*addLoc, AddLocFindFunction(*addLoc, ins.Str[0]), op[6], f(2), f(3), f(4), f(5));
      break;
    case 10:
      if (addLoc) AddLocShow(*addLoc);
      break;
    case 11:
      if (addLoc) AddLocHide(*addLoc);
      break;
    case 12:
      if (addLoc && InTable(op[2], kAddLocSlots)) addLoc->Zones[static_cast<size_t>(op[2])].Enabled = op[3] > 0;
      break;
    case 13:
      if (addLoc && InTable(op[2], kAddLocSlots) && addLoc->AddLocSprites[static_cast<size_t>(op[2])])
        addLoc->AddLocSprites[static_cast<size_t>(op[2])]->Visible = op[3] >= 1;
      break;
    case 14: BuildSketchPanel(scene); break;
    case 15:
      if (scene.PanelLayers[1].Parent) scene.PanelLayers[1].Parent->Visible = op[1] != 0;
      break;
    default: break;
  }
}

// 69: a script slides a panel layer open or shut. Sub-command 4 of 38 only
// fills a layer; this is what makes layer 0 of use to a script.
void SlidePanelCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  if (!InTable(ins.Op[0], 2)) return;
  TqvxGameLayer& layer = scene.PanelLayers[static_cast<size_t>(ins.Op[0])];
  switch (ins.Op[1]) {
    case 0: OpenPanel(layer); break;
    case 1: ClosePanel(layer); break;
    case 2: OpenPanelAtOnce(layer); break;
    default: break;
  }
}

// 38: sub-commands 1 to 3 are the inventory's.
void ScreenSetupCommand(TqvxScene& scene, const TScriptInstruction& ins, float frameTime) {
  if (ins.Op[0] >= 1 && ins.Op[0] <= 3)
    InventoryCommand38(scene, ins, frameTime);
  else
    ScreenEffectsCommand(scene, ins);
}

constexpr TCommandBinding kCommands[] = {
    {32, DayTimeCommand},
    {38, ScreenSetupCommand},
    {69, SlidePanelCommand},
};

}  // namespace

std::span<const TCommandBinding> EffectsCommands() { return kCommands; }
