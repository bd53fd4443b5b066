// The inventory's script commands: 3 add or replace an item, 13 remove one,
// 38 sub-commands 1 to 3 (script buttons and the item click function).
#pragma once

#include <span>

#include "script/script_table.h"
#include "state/instruction.h"
#include "state/scene_state.h"

std::span<const TCommandBinding> InventoryCommands();
// Command 38 sub-commands 1 to 3; the other sub-commands are left alone.
void InventoryCommand38(TqvxScene& scene, const TScriptInstruction& ins, float frameTime);
