#include "shell/state_dump.h"

nlohmann::json InventoryStateJson(const TqvxScene&) { return nlohmann::json::object(); }
