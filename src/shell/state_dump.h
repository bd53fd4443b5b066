// The state dump's objects for each subsystem; DumpStateJson puts them
// together. Their field names are read by tests outside this repository.
#pragma once

#include <nlohmann/json.hpp>

#include "state/scene_state.h"

nlohmann::json InventoryStateJson(const TqvxScene& scene);
nlohmann::json SoundStateJson(const TqvxScene& scene);
nlohmann::json EffectsStateJson(const TqvxScene& scene);
nlohmann::json MenuStateJson(const TqvxScene& scene);
nlohmann::json VideoStateJson(const TqvxScene& scene);
