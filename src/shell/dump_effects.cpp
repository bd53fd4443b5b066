#include "shell/state_dump.h"

nlohmann::json EffectsStateJson(const TqvxScene&) { return nlohmann::json::object(); }
