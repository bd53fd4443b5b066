// The scene engine's entries for the shell: creating the screen furniture,
// loading a location and the per-frame update.
#pragma once

#include <string>

#include "render/materials.h"
#include "render/nodes.h"
#include "resources/matlib.h"
#include "scene/scene_state.h"

// Creates the screen furniture under `spriteRoot`.
void SceneCreate(TqvxScene& scene, TDummyCube& spriteRoot);
// Opens "SCENE\" + name and runs its entry function.
void LoadLocation(TqvxScene& scene, const std::string& name);
// One frame of the game; `dt` is at most 0.05 s.
void SceneUpdate(TqvxScene& scene, float dt);
// Opens an archive (a game path) and fills a library from it.
void LoadArchiveInto(TqvxMatLib& archive, TGLMaterialLibrary& library, const std::string& fileName);
