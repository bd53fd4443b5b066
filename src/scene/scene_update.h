// The per-frame update: which parts of the game run this frame, object
// animation and motion, scrolling and the depth order of layer 1, delayed
// functions, fades and location changes.
#pragma once

#include <string>

#include "render/materials.h"
#include "resources/matlib.h"
#include "state/scene_state.h"

// One frame of the game; `dt` is at most 0.05 s.
void SceneUpdate(TqvxScene& scene, float dt);
void UpdateGame(TqvxScene& scene, float dt);
void AnimateObject(TqvxScene& scene, int32_t object, float dt);
void MoveObject(TqvxScene& scene, int32_t object, float dt);
// Places every object's sprite from its position and the scroll, hiding
// those off screen.
void PlaceSprites(TqvxScene& scene);
// Follows the scroll object or the hero; a negative `dt` recomputes at once.
void UpdateScroll(TqvxScene& scene, float dt);
// Re-orders layer 1 by increasing Y: lower objects are drawn in front;
// objects at the same Y keep their order.
void SortLayer(TqvxScene& scene);
void Timers(TqvxScene& scene, float dt);
void UpdateTransitions(TqvxScene& scene, float dt);
void EndFrame(TqvxScene& scene, float dt);
// Gives an object the location archive's picture of that name with its
// animation chain; a name not in the archive changes nothing.
void SetObjectPicture(TqvxScene& scene, int32_t object, const std::string& picture, bool resetTimer);

// Opens an archive (a game path) into `archive` and fills `library` from it,
// after removing the library's materials.
void LoadArchiveInto(TqvxMatLib& archive, TGLMaterialLibrary& library, const std::string& fileName);
