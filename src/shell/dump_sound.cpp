#include "shell/state_dump.h"

nlohmann::json SoundStateJson(const TqvxScene&) { return nlohmann::json::object(); }
