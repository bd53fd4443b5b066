#include "scene/scene_update.h"

#include "platform/paths.h"

void SceneCreate(TqvxScene&, TDummyCube&) {}

void LoadLocation(TqvxScene& scene, const std::string& name) {
  ReadGameFile("SCENE\\" + name);
  scene.LocationName = name;
}

void SceneUpdate(TqvxScene&, float) {}

void LoadArchiveInto(TqvxMatLib& archive, TGLMaterialLibrary&, const std::string& fileName) {
  ReadGameFile(fileName);
  archive.FileName = fileName;
}
