// The inventory strip and the script buttons as the scene engine uses them.
#pragma once

#include "render/nodes.h"
#include "scene/scene_state.h"

// Creates the inventory's sprites under `root`, drawn from the system library.
void InventoryCreate(TqvxScene& scene, TDummyCube& root);
// Empties the inventory and rebuilds its display.
void InventoryReset(TqvxScene& scene);
// Hides the inventory panel.
void InventoryHidePanel(TqvxScene& scene);
