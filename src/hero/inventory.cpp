#include "hero/inventory.h"

#include <algorithm>

void InventoryCreate(TqvxScene& scene, TDummyCube& root) { scene.Inventory.Root = root.AddNewChild<TDummyCube>(); }

void InventoryReset(TqvxScene& scene) {
  scene.Inventory.Items.clear();
  scene.Inventory.ItemInHand = -1;
}

void InventoryHidePanel(TqvxScene&) {}

int32_t InventoryFrame(TqvxScene&, int32_t, int32_t, float, bool) { return -1; }

int32_t InventoryButtonFunction(const TqvxScene&, int32_t) { return -1; }

bool InventoryPanelShown(const TqvxScene& scene) { return scene.Inventory.Root && scene.Inventory.Root->Visible; }

bool InventoryCellCentre(const TqvxScene&, int32_t, float&, float&) { return false; }

int32_t InventoryCellItem(const TqvxScene& scene, int32_t cell) {
  const auto& items = scene.Inventory.Items;
  if (cell < 0 || cell >= kInventoryCells || static_cast<size_t>(cell) >= items.size()) return -1;
  return items[static_cast<size_t>(cell)];
}

void SelectItem(TqvxScene& scene, int32_t item) {
  TInventory& inv = scene.Inventory;
  if (inv.ItemInHand >= 0 && item != inv.ItemInHand) {
    inv.PairLow = std::min(item, inv.ItemInHand);
    inv.PairHigh = std::max(item, inv.ItemInHand);
    inv.ItemInHand = -1;
    return;
  }
  inv.ItemInHand = item;
  inv.PairLow = inv.PairHigh = -1;
}

int32_t InventoryClickFunction(const TqvxScene&) { return 0; }

int32_t CarriedItem(const TqvxScene& scene) { return scene.Inventory.ItemInHand; }

void DropCarriedItem(TqvxScene& scene) { scene.Inventory.ItemInHand = -1; }

std::string InventoryItemPicture(int32_t item) {
  std::string digits = std::to_string(item);
  if (item >= 0 && digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return "inv_" + digits;
}

std::string InventoryItemName(const TqvxScene&, int32_t) { return {}; }
