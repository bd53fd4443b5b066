// Script commands that load archives (49) and change the location (50).
#pragma once

#include <span>

#include "script/script_table.h"

std::span<const TCommandBinding> LocationCommands();
