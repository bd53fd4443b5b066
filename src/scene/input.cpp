#include "scene/input.h"

#include "script/interpreter.h"

void LeftClick(TqvxScene&, float) {}

void RightClick(TqvxScene&) {}

void UpdateCursor(TqvxScene& scene) {
  if (!scene.Cursor) return;
  scene.Cursor->PositionX = static_cast<float>(scene.Input.CursorX);
  scene.Cursor->PositionY = static_cast<float>(scene.Input.CursorY);
}

void Keys(TqvxScene& scene, float dt) { PollKeyBindings(scene, dt); }

void SetCursorNumber(TqvxScene& scene, int32_t number) {
  if (scene.Cursor) scene.Cursor->SetLibMaterialName("cursor0" + std::to_string(number));
}
