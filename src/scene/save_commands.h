// The save game's script command: 34 loads the save the quick load key or
// the load panel left in PendingLoad (the loader location runs it).
#pragma once

#include <span>

#include "script/script_table.h"

std::span<const TCommandBinding> SaveCommands();
