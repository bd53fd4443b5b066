// The inventory strip and the script buttons as the scene engine uses them.
//
// The strip, its twelve cells and the script buttons are not built yet: for
// now there are no cell sprites and no buttons, so the pointer never finds a
// cell or a button, while the item list, the hand and the pair of a
// combination are kept in the record and work as they will.
#pragma once

#include <cstdint>
#include <string>

#include "render/nodes.h"
#include "state/scene_state.h"

constexpr int32_t kInventoryCells = 12;

// Creates the inventory's sprites under `root`, drawn from the system library.
void InventoryCreate(TqvxScene& scene, TDummyCube& root);
// Empties the inventory and rebuilds its display.
void InventoryReset(TqvxScene& scene);
// Hides the inventory panel.
void InventoryHidePanel(TqvxScene& scene);

// The inventory's share of the mouse each frame: the bar's slide and the
// button pictures (`pressed`: the left button is down and input is enabled).
// Returns the index of the script button under the pointer, -1 when none.
int32_t InventoryFrame(TqvxScene& scene, int32_t x, int32_t y, float dt, bool pressed);
// The global function of a script button; -1 for a bad index.
int32_t InventoryButtonFunction(const TqvxScene& scene, int32_t button);
// Whether the inventory panel is on screen.
bool InventoryPanelShown(const TqvxScene& scene);
// The screen centre of cell 0..11; false when the cell has no sprite.
bool InventoryCellCentre(const TqvxScene& scene, int32_t cell, float& x, float& y);
// The item shown in a cell; -1 for an empty cell.
int32_t InventoryCellItem(const TqvxScene& scene, int32_t cell);
// A click on an item: takes it into the hand, or combines it with the item
// already there.
void SelectItem(TqvxScene& scene, int32_t item);
// The global function run after a click on an item; 0 or less: none.
int32_t InventoryClickFunction(const TqvxScene& scene);
// The item on the pointer; -1 none.
int32_t CarriedItem(const TqvxScene& scene);
void DropCarriedItem(TqvxScene& scene);
// The picture of an item: "inv_" and the id in at least three digits.
std::string InventoryItemPicture(int32_t item);
// The caption of an item; empty when it has none.
std::string InventoryItemName(const TqvxScene& scene, int32_t item);
