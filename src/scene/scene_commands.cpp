// Script commands on the scene record: the menu switch, the frame function, waits, variables, key
// bindings, input, click regions, the skip location, the scroll object and
// hiding the screen furniture.
//
// Scripts give table indices (variables, key entries, regions) without any check of their own; an index
// outside its table makes that one store do nothing. Lists of operands from
// Op3 on are read through ListOperand and end where the record ends.
#include "scene/scene_commands.h"

#include <algorithm>
#include <cstdint>

#include "hero/inventory.h"
#include "state/instruction.h"
#include "script/interpreter.h"
#include "script/script_table.h"

namespace {

// The variable at first + k; null outside the table (the sum may leave int32).
int32_t* VariableAt(TqvxScene& scene, int32_t first, int32_t k) {
  const int64_t index = static_cast<int64_t>(first) + k;
  return InTable(index, kVariableCount) ? &scene.Variables[index] : nullptr;
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
  ShowInventory(scene.Inventory, false);
  Hide(scene.MenuButton);
}

// 31: hides the pointer, the item on it and the menu button.
void HideCursorCommand(TqvxScene& scene, const TScriptInstruction&, float) {
  Hide(scene.Cursor);
  Hide(scene.CursorItem);
  Hide(scene.MenuButton);
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

// 68: the video Str1 (under "video\\") plays from the end of this frame; an
// empty name does nothing.
void PlayVideoCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  if (ins.Str[0].empty()) return;
  scene.VideoName = ins.Str[0];
  scene.VideoRequested = true;
}

}  // namespace

std::span<const TCommandBinding> SceneCommands() {
  static constexpr TCommandBinding kBindings[] = {
      {5, NoEffectCommand},
      {12, EnableMenuCommand},
      {14, FrameFunctionCommand},
      {15, WaitCommand},
      {18, VariableListCommand<false>},
      {19, VariableListCommand<true>},
      {20, BindKeysCommand<&TKeyEntry::PressFunction>},
      {21, BindKeysCommand<&TKeyEntry::ReleaseFunction>},
      {22, BindKeysCommand<&TKeyEntry::HoldFunction>},
      {23, EnableInputCommand},
      {24, RegionCommand},
      {27, SkipLocationCommand},
      {28, ScrollObjectCommand},
      {30, HideInventoryCommand},
      {31, HideCursorCommand},
      {41, NoEffectCommand},
      {44, VariableOpCommand},
      {45, NoEffectCommand},
      {46, NoEffectCommand},
      {68, PlayVideoCommand},
  };
  return kBindings;
}
