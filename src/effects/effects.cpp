#include "effects/effects.h"

void CreatePanelLayerGroup(TqvxScene& scene, TDummyCube& root, int group) {
  if (group < 0 || group > 1) return;
  InitPanelLayer(scene.PanelLayers[group], root, scene.SystemLibrary.get());
  if (group == 1) BuildSketchPanel(scene);
}

void ResetSketches(TqvxScene& scene) { SetSketchLibrary(scene.Sketches, scene.LocationLibrary.get()); }

void ClearDayTimeLocation(TqvxScene& scene) { ClearDayTime(scene.DayTime); }
