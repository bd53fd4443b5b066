#include "shell/state_dump.h"

nlohmann::json MenuStateJson(const TqvxScene&) { return nlohmann::json::object(); }
