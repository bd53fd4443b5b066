#include "shell/state_dump.h"

nlohmann::json VideoStateJson(const TqvxScene&) { return nlohmann::json::object(); }
