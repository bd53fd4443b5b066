#include "hero/inventory.h"

void InventoryCreate(TqvxScene& scene, TDummyCube& root) { scene.Inventory.Root = root.AddNewChild<TDummyCube>(); }

void InventoryReset(TqvxScene& scene) {
  scene.Inventory.Items.clear();
  scene.Inventory.ItemInHand = -1;
}

void InventoryHidePanel(TqvxScene&) {}
