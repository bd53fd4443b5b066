#include "scene/effects_step.h"

#include "effects/effects.h"
#include "platform/input_state.h"
#include "scene/input.h"
#include "scene/location.h"
#include "scene/scene_update.h"
#include "script/interpreter.h"
#include "sound/sound_manager.h"

namespace {

// Plays a sample of the location's sound set by name, with its subtitle when
// asked; its length in seconds. The one place the sketches reach the sound
// manager.
float PlaySketchLine(TqvxScene& scene, const std::string& name, bool subtitle) {
  const int32_t sample = FindSample(scene, name);
  if (!InTable(sample, scene.Sound.Samples.size())) return 0;
  PlaySample(scene, sample);
  if (subtitle) {
    const TSoundSample& s = scene.Sound.Samples[static_cast<size_t>(sample)];
    ShowSubtitle(scene, s.Handle, CommentText(scene, s.Comment));
  }
  return static_cast<float>(SampleLength(scene, sample)) / 1000;
}

void PlaySketchSound(TqvxScene& scene, const std::string& sound) {
  PlaySketchLine(scene, "00_esk", false);
  if (sound == "_none") return;
  scene.Sketches.SketchTimer += PlaySketchLine(scene, sound, true);
  if (scene.SubPanel) scene.SubPanel->Visible = false;
}

void SketchesClosed(TqvxScene& scene, float dt) {
  TqvxGameLayer& panel = scene.PanelLayers[1];
  TqvxSketchManager& sketches = scene.Sketches;
  HideSketches(sketches);
  panel.JustClosed = false;
  panel.Instant = !sketches.NextLocation.empty();
  if (!sketches.NextLocation.empty()) {
    const std::string next = sketches.NextLocation;
    sketches.NextLocation.clear();
    UnloadLocation(scene);
    LoadLocation(scene, next);
    scene.FadeLevel = -1;
    if (scene.Fader) scene.Fader->Visible = true;
    return;
  }
  scene.WaitTime = -1;
  ResumeSuspended(scene, dt);
  UpdateScroll(scene, dt);
}

}  // namespace

void SketchFrame(TqvxScene& scene, float dt) {
  TqvxGameLayer& panel = scene.PanelLayers[1];
  TqvxSketchManager& sketches = scene.Sketches;
  if (panel.JustClosed) SketchesClosed(scene, dt);
  if (panel.Running || sketches.CurrentSketch < 0) return;
  UpdateSketches(sketches, dt);
  if (sketches.StepEnded) HideSubtitle(scene);
  if (!sketches.SketchSound.empty()) PlaySketchSound(scene, sketches.SketchSound);
  if (sketches.SketchTimer > 0) {
    scene.RightDown = GetAsyncKeyState(scene.Input, kVkRightButton) != 0;
    if (scene.RightWasDown) {
      HideSubtitle(scene);
      sketches.SketchTimer = 0.1f + dt;
    }
    scene.RightWasDown = scene.RightDown;
  }
  if (sketches.CurrentSketch < 0) {
    ClosePanel(panel);
    HideSubtitle(scene);
  }
}

void UpdateEffects(TqvxScene& scene, float dt) {
  UpdatePanel(scene.PanelLayers[0], dt);
  UpdatePanel(scene.PanelLayers[1], dt);
  SketchFrame(scene, dt);
  int32_t mx = 0, my = 0;
  GetCursorPos(scene.Input, mx, my);
  const bool leftDown = GetAsyncKeyState(scene.Input, kVkLeftButton) != 0;
  const auto x = static_cast<float>(mx), y = static_cast<float>(my);
  scene.OverlayActive = false;
  // A zone's function may add additional locations: walk by index.
  for (size_t i = 0; i < scene.AddLocs.size(); ++i) {
    if (!AddLocShown(scene.AddLocs[i])) continue;
    SetCursorNumber(scene, AddLocCursor(scene.AddLocs[i], x, y));
    scene.OverlayActive = true;
    const int32_t f = AddLocClick(scene.AddLocs[i], leftDown, x, y);
    if (f >= 0) RunAddLocFunction(scene, static_cast<int32_t>(i), f, dt, 0);
  }
  if (scene.PanelLayers[1].Running || scene.Sketches.CurrentSketch >= 0) scene.OverlayActive = true;
  if (!scene.OverlayActive && scene.CursorHidden) {
    if (scene.Cursor) scene.Cursor->Visible = true;
    scene.CursorHidden = false;
  }
}
