// Script commands on the scene record: the hero's set-up, frame names and
// scaling, the menu switch, the frame function, waits, variables, key
// bindings, input, click regions, the skip location, the scroll object and
// hiding the screen furniture.
//
// Scripts give table indices (variables, key entries, regions, grid cells,
// step-sound rows, frame groups) without any check of their own; an index
// outside its table makes that one store do nothing. Lists of operands from
// Op3 on are read through ListOperand and end where the record ends.
#include "scene/scene_commands.h"

#include <algorithm>
#include <cstdint>

#include "hero/hero_movement.h"
#include "hero/inventory.h"
#include "state/instruction.h"
#include "script/interpreter.h"
#include "script/script_table.h"

namespace {

constexpr int32_t kStepSoundRows = 16;
constexpr int32_t kDirections = 8;

bool InTable(int64_t index, size_t size) { return index >= 0 && static_cast<uint64_t>(index) < size; }

// The variable at first + k; null outside the table (the sum may leave int32).
int32_t* VariableAt(TqvxScene& scene, int32_t first, int32_t k) {
  const int64_t index = static_cast<int64_t>(first) + k;
  return InTable(index, kVariableCount) ? &scene.Variables[index] : nullptr;
}

// Walk-grid fill: every cell with x0 <= x <= x1 and y0 <= y <= y1 that lies
// on the grid takes `value`. The bounds are clipped to the grid first so that
// a script's wide range costs no more than the grid itself.
void FillWalkGrid(TqvxScene& scene, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t value) {
  const int64_t columns = static_cast<int64_t>(scene.WalkGrid.size());
  const int64_t fromX = std::max<int64_t>(x0, 0), toX = std::min<int64_t>(x1, columns - 1);
  const int64_t fromY = std::max<int64_t>(y0, 0), toY = std::min<int64_t>(y1, kGridRows - 1);
  for (int64_t x = fromX; x <= toX; ++x)
    for (int64_t y = fromY; y <= toY; ++y) scene.WalkGrid[static_cast<size_t>(x)][static_cast<size_t>(y)] = value;
}

// 2: hero set-up, by Op1.
void HeroSetupCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  const auto& op = ins.Op;
  switch (op[0]) {
    case -2: scene.HeroClickFunction = FindGlobalFunction(scene, ins.Str[0]); break;
    case -1:
      scene.HeroClickWidth = static_cast<float>(op[1]);
      scene.HeroClickHeight = static_cast<float>(op[2]);
      break;
    case 1: scene.HeroSpeed = static_cast<float>(op[1]); break;
    case 2:
      if (!InTable(op[1], kStepSoundRows)) break;
      if (op[2] == 0) scene.StepSounds[op[1]].Frame = ins.Str[0];
      if (op[2] == 1) scene.StepSounds[op[1]].Sound = ins.Str[0];
      break;
    case 3: FillWalkGrid(scene, op[1], op[2], op[3], op[4], op[5]); break;
    case 70:
      for (int i = 0; i < 5; ++i) scene.StandFrames[i] = ins.Str[static_cast<size_t>(i)];
      SetHeroFrame(scene, scene.StandFrames[3], true);
      break;
    default: break;
  }
}

// 4: standing frames 5..8.
void MoreStandFramesCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  for (int i = 0; i < 4; ++i) scene.StandFrames[5 + i] = ins.Str[static_cast<size_t>(i)];
}

// 5, 41, 45 and 46 (and the spare groups of 43): the names or text these
// carry were never read by the game, so nothing is kept.
void NoEffectCommand(TqvxScene&, const TScriptInstruction&, float) {}

// 12: Esc and the menu button open the menu while this is 1 or more.
void EnableMenuCommand(TqvxScene& scene, const TScriptInstruction& ins, float) { scene.MenuEnabled = ins.Op[0]; }

// 14: the location function run every frame; an unknown name switches it off.
void FrameFunctionCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  scene.FrameFunction = FindLocationFunction(scene, ins.Str[0]);
}

// 15: wait Op1 milliseconds; the running function suspends before its next
// instruction while the wait is above 0.
void WaitCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  scene.WaitTime = static_cast<float>(ins.Op[0]) / 1000.0f;
}

// 18 and 19: Op2 variables from Op1 on take (or gain) the operands from Op3 on.
template <bool Add>
void VariableListCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  for (int32_t k = 0; k < ins.Op[1]; ++k) {
    int32_t value = 0;
    if (!ListOperand(ins, k + 2, value)) break;
    int32_t* v = VariableAt(scene, ins.Op[0], k);
    if (!v) continue;
    // Sums wrap around as 32-bit integers do in the scripts' arithmetic.
    *v = Add ? static_cast<int32_t>(static_cast<uint32_t>(*v) + static_cast<uint32_t>(value)) : value;
  }
}

// 20, 21, 22: up to five (key entry, function) pairs: Op1..Op5 with
// Str1..Str5. A pair whose name is empty or finds no function is skipped.
template <int32_t TKeyEntry::*Field>
void BindKeysCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  for (size_t i = 0; i < 5; ++i) {
    const std::string& name = ins.Str[i];
    if (name.empty()) continue;
    const int32_t function = FindLocationFunction(scene, name);
    TKeyEntry* entry = KeyEntryRef(scene, ins.Op[i]);
    if (function < 0 || !entry) continue;
    entry->*Field = function;
  }
}

// 23: input on or off; every key starts again from released.
void EnableInputCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  scene.InputEnabled = scene.InputWhenIdle = ins.Op[0] > 0;
  for (TKeyEntry& entry : scene.KeyTable) entry.State = 0;
}

// 24: Op1 >= 0 enables region Op1 when Op2 >= 1, disables it otherwise;
// Op1 -1 gives region Op2 the location function Str1.
void RegionCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  const int32_t mode = ins.Op[0];
  if (mode >= 0) {
    if (InTable(mode, scene.Regions.size())) scene.Regions[static_cast<size_t>(mode)].Enabled = ins.Op[1] >= 1;
  } else if (mode == -1) {
    const int32_t function = FindLocationFunction(scene, ins.Str[0]);
    if (function >= 0 && InTable(ins.Op[1], scene.Regions.size()))
      scene.Regions[static_cast<size_t>(ins.Op[1])].Function = function;
  }
}

// 27: the location Esc jumps to while input is off.
void SkipLocationCommand(TqvxScene& scene, const TScriptInstruction& ins, float) { scene.SkipLocation = ins.Str[0]; }

// 28: the scroll follows object Str1, or the hero again when there is none.
void ScrollObjectCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  scene.ScrollObject = FindObject(scene, ins.Str[0]);
}

void Hide(THUDSprite* sprite) {
  if (sprite) sprite->Visible = false;
}

// 30: hides the inventory panel and the menu button.
void HideInventoryCommand(TqvxScene& scene, const TScriptInstruction&, float) {
  InventoryHidePanel(scene);
  Hide(scene.MenuButton);
}

// 31: hides the pointer, the item on it and the menu button.
void HideCursorCommand(TqvxScene& scene, const TScriptInstruction&, float) {
  Hide(scene.Cursor);
  Hide(scene.CursorItem);
  Hide(scene.MenuButton);
}

// 42: the hero's scaling by depth (Op1 0), by x (Op1 1), and the tilt at the
// two ends of the x band (Op1 2). Scales come in thousandths.
void HeroScalingCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  const auto& op = ins.Op;
  switch (op[0]) {
    case 0:
      scene.DepthY1 = op[1];
      scene.DepthY2 = op[2];
      scene.DepthScale1 = static_cast<float>(op[3]) / 1000.0f;
      scene.DepthScale2 = static_cast<float>(op[4]) / 1000.0f;
      scene.DepthScaleOn = true;
      break;
    case 1:
      scene.SlopeX1 = op[1];
      scene.SlopeX2 = op[2];
      scene.SlopeScale1 = static_cast<float>(op[3]) / 1000.0f;
      scene.SlopeScale2 = static_cast<float>(op[4]) / 1000.0f;
      scene.SlopeOn = true;
      break;
    case 2:
      scene.SlopeRotation1 = static_cast<float>(op[1]);
      scene.SlopeRotation2 = static_cast<float>(op[2]);
      break;
    default: break;
  }
}

// 43: the hero's frame names by group: 0 idle, 4 walking in direction Op2,
// 7 and 8 the two halves of the turn frames.
void HeroFrameNamesCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  const auto& str = ins.Str;
  switch (ins.Op[0]) {
    case 0: std::copy_n(str.begin(), 4, scene.IdleFrames); break;
    case 4:
      if (InTable(ins.Op[1], kDirections)) std::copy_n(str.begin(), 5, scene.WalkFrames[ins.Op[1]]);
      break;
    case 7: std::copy_n(str.begin(), 4, scene.TurnFrames); break;
    case 8: std::copy_n(str.begin(), 4, scene.TurnFrames + 4); break;
    default: break;
  }
}

// 44: Op1 1 swaps two randomly chosen variables, 2 copies Op3 into Op2,
// 3 stores Random(Op3) in Op2. The random numbers are drawn whether or not
// the variables exist, so the generator's sequence does not depend on them.
void VariableOpCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  const auto& op = ins.Op;
  switch (op[0]) {
    case 1: {
      const int32_t r1 = Random(scene, op[4]);
      const int32_t r2 = Random(scene, op[3]);
      int32_t* a = VariableAt(scene, op[1], r2);
      int32_t* b = VariableAt(scene, op[2], r1);
      if (a && b) std::swap(*a, *b);
      break;
    }
    case 2: {
      int32_t* to = VariableRef(scene, op[1]);
      const int32_t* from = VariableRef(scene, op[2]);
      if (to && from) *to = *from;
      break;
    }
    case 3: {
      const int32_t r = Random(scene, op[2]);
      if (int32_t* to = VariableRef(scene, op[1])) *to = r;
      break;
    }
    default: break;
  }
}

}  // namespace

void RegisterSceneCommands() {
  RegisterCommand(2, HeroSetupCommand);
  RegisterCommand(4, MoreStandFramesCommand);
  RegisterCommand(5, NoEffectCommand);
  RegisterCommand(12, EnableMenuCommand);
  RegisterCommand(14, FrameFunctionCommand);
  RegisterCommand(15, WaitCommand);
  RegisterCommand(18, VariableListCommand<false>);
  RegisterCommand(19, VariableListCommand<true>);
  RegisterCommand(20, BindKeysCommand<&TKeyEntry::PressFunction>);
  RegisterCommand(21, BindKeysCommand<&TKeyEntry::ReleaseFunction>);
  RegisterCommand(22, BindKeysCommand<&TKeyEntry::HoldFunction>);
  RegisterCommand(23, EnableInputCommand);
  RegisterCommand(24, RegionCommand);
  RegisterCommand(27, SkipLocationCommand);
  RegisterCommand(28, ScrollObjectCommand);
  RegisterCommand(30, HideInventoryCommand);
  RegisterCommand(31, HideCursorCommand);
  RegisterCommand(41, NoEffectCommand);
  RegisterCommand(42, HeroScalingCommand);
  RegisterCommand(43, HeroFrameNamesCommand);
  RegisterCommand(44, VariableOpCommand);
  RegisterCommand(45, NoEffectCommand);
  RegisterCommand(46, NoEffectCommand);
}
