#include "sound/sound_commands.h"

std::span<const TCommandBinding> SoundCommands() { return {}; }
