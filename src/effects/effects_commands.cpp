#include "effects/effects_commands.h"

std::span<const TCommandBinding> EffectsCommands() { return {}; }
