// The sound subsystem's script commands: 25 sounds, 26 sound sets, 29 voice
// lines, 35 to 37 and 48 music.
#pragma once

#include <span>

#include "script/script_table.h"

std::span<const TCommandBinding> SoundCommands();
