#include "effects/effects.h"

void CreatePanelLayerGroup(TqvxScene&, TDummyCube&, int) {}

void UpdateEffects(TqvxScene& scene, float) {
  if (!scene.OverlayActive && scene.CursorHidden) {
    if (scene.Cursor) scene.Cursor->Visible = true;
    scene.CursorHidden = false;
  }
}

void ResetSketches(TqvxScene&) {}

void UpdateDayTime(TqvxScene&, float) {}

void ClearDayTimeLocation(TqvxScene&) {}
