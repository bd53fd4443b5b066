// Additional locations: overlay screens that scripts build from up to 16
// sprites, 16 click zones and 16 functions of their own (a close-up, a map,
// a device). While one is shown it takes the mouse and the rest of the game
// stands still. They are not tied to a location: only restoring a saved game
// removes them. Coordinates are screen pixels, centres.
#pragma once

#include <cstdint>
#include <string>

#include "platform/stream.h"
#include "render/nodes.h"
#include "state/scene_state.h"

// Appends one, hidden, under panel layer 1's parent with the system library.
void AddAddLoc(TqvxScene& scene);
void InitAddLoc(TqvxAddLoc& addLoc, TDummyCube* parent, TGLMaterialLibrary* library);
void AddLocSprite(TqvxAddLoc& addLoc, const std::string& picture, float x, float y, float width, float height);
void AddLocCopyFunction(TqvxAddLoc& addLoc, const TqvxFunction& function);
void AddLocZone(TqvxAddLoc& addLoc, int32_t function, int32_t cursor, float x, float y, float width, float height);
int32_t AddLocFindFunction(const TqvxAddLoc& addLoc, const std::string& name);
void AddLocShow(TqvxAddLoc& addLoc);
void AddLocHide(TqvxAddLoc& addLoc);
bool AddLocShown(const TqvxAddLoc& addLoc);
// Whether (x, y) lies strictly inside the zone.
bool InZone(const TAddLocZone& zone, float x, float y);
// The cursor of the first enabled zone holding the point; 1 when none does.
int32_t AddLocCursor(const TqvxAddLoc& addLoc, float x, float y);
// Takes the left button's state for this frame; on its release the function
// of the first enabled zone holding the point, otherwise -1.
int32_t AddLocClick(TqvxAddLoc& addLoc, bool leftDown, float x, float y);
void ClearAddLoc(TqvxAddLoc& addLoc);
void RemoveAddLocs(TqvxScene& scene);

// The save block: sprites (position, size, picture as string[32], visible),
// the functions, and ZoneCount + 1 zone records. Loading hides every sprite
// first; counts above 16 are read and dropped beyond the tables, and a count
// the data cannot hold is refused before anything is allocated.
void SaveAddLoc(const TqvxAddLoc& addLoc, TBinaryWriter& out);
void LoadAddLoc(TqvxAddLoc& addLoc, TBinaryReader& in);
