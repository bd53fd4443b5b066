// Locations: building the scene's records from a location file, entering and
// leaving a location, and a new game.
#pragma once

#include <cstdint>
#include <string>

#include "state/scene_state.h"

// Appends an object with a new sprite under LayerRoots[layer] drawn from the
// location library; the object's index. -1 for a layer outside 0..2.
int32_t AddObject(TqvxScene& scene, const std::string& name, int32_t layer);
int32_t AddRegion(TqvxScene& scene, float width, float height, float x, float y);
int32_t AddRoad(TqvxScene& scene);
void SetRegionEnabled(TqvxScene& scene, int32_t index, bool enabled);

// Opens "SCENE\" + name and builds the location's records from it.
void ReadLocation(TqvxScene& scene, const std::string& name);
// Enters a location: reset, read, run its function 0, fade in.
void LoadLocation(TqvxScene& scene, const std::string& name);
// The one way scripts and the cut-scene skip leave a location: fade out and
// enter `target` when the fade ends, or at once. An immediate change ends the
// running function; asked for by a start function, it is carried out when
// that function has ended. After 100 immediate changes in a frame further
// ones are dropped with a warning, and the game stays where it is.
void RequestLocationChange(TqvxScene& scene, std::string target, bool immediate);
// Frees what a location brought; global functions stay.
void UnloadLocation(TqvxScene& scene);
// The menu's new game: an empty game state and the first location.
void NewGame(TqvxScene& scene);
