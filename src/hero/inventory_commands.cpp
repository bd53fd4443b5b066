#include "hero/inventory_commands.h"

std::span<const TCommandBinding> InventoryCommands() { return {}; }
