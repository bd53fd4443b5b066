#include "hero/inventory_commands.h"

#include "hero/inventory.h"
#include "script/interpreter.h"

namespace {

// 3: item Op1 into the inventory when it is not there; with Op2 above 0 it
// takes the place of item Op2, and only while Op2 is carried.
void GiveItemCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TInventory& inv = scene.Inventory;
  const int32_t item = ins.Op[0], replaced = ins.Op[1];
  if (FindItem(inv, item) < 0) {
    if (replaced == 0) {
      AddItem(inv, item);
    } else if (replaced > 0) {
      const int32_t at = FindItem(inv, replaced);
      if (at >= 0) inv.Items[static_cast<size_t>(at)] = item;
    }
  }
  RefreshSlots(inv);
}

// 13: item Op1 leaves the inventory.
void RemoveItemCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  RemoveItemAt(scene.Inventory, FindItem(scene.Inventory, ins.Op[0]));
  RefreshSlots(scene.Inventory);
}

constexpr TCommandBinding kBindings[] = {
    {3, GiveItemCommand},
    {13, RemoveItemCommand},
};

}  // namespace

void InventoryCommand38(TqvxScene& scene, const TScriptInstruction& ins, float) {
  TInventory& inv = scene.Inventory;
  const auto& op = ins.Op;
  const auto& str = ins.Str;
  switch (op[0]) {
    case 1:
      AddButton(inv, FindGlobalFunction(scene, str[4]), str[0], static_cast<float>(op[1]), static_cast<float>(op[2]),
                static_cast<float>(op[3]), static_cast<float>(op[4]), str[1], str[2], str[3]);
      break;
    case 2: ShowButton(inv, FindButton(inv, str[0]), op[1] >= 1); break;
    case 3: inv.InventoryClickFunction = FindGlobalFunction(scene, str[0]); break;
    default: break;
  }
}

std::span<const TCommandBinding> InventoryCommands() { return kBindings; }
