#include "scene/scene_update.h"

#include <cmath>

#include "effects/effects.h"
#include "scene/effects_step.h"
#include "hero/hero_movement.h"
#include "menu/menu.h"
#include "scene/menu_frame.h"
#include "resources/matlib.h"
#include "scene/input.h"
#include "scene/location.h"
#include "script/interpreter.h"
#include "sound/sound_manager.h"

namespace {

constexpr float kFeetFrameTime = 0.05f;

// The daylight level, 0..100, that time-of-day sounds follow.
int32_t DayTimeSoundLevel(const TqvxScene& scene) { return RoundHalfEven(DayLight(scene.DayTime) * 100.0); }

void AnimateFeetMarker(TqvxScene& scene, float dt) {
  if (!scene.FeetMarker || !scene.FeetMarker->Visible) return;
  scene.FeetTimer -= dt;
  if (scene.FeetTimer < 0) {
    scene.FeetTimer = kFeetFrameTime;
    scene.FeetFrame = (scene.FeetFrame + 1) % 8;
    scene.FeetMarker->SetLibMaterialName("p_feet_000" + std::to_string(scene.FeetFrame));
  }
}

}  // namespace

void LoadArchiveInto(TqvxMatLib& archive, TGLMaterialLibrary& library, const std::string& fileName) {
  library.Clear();
  MatLibClear(archive);
  MatLibOpen(archive, fileName);
  MatLibFill(archive, library);
}

void SceneUpdate(TqvxScene& scene, float dt) {
  scene.ImmediateChanges = 0;
  UpdateMusic(scene, dt);
  if (scene.MenuActive) {
    MenuFrame(scene, dt);
    EndFrame(scene, dt);
    return;
  }
  AnimateFeetMarker(scene, dt);
  if (scene.LocationTimer < 0 && scene.FadeLevel < 0) {
    UpdateEffects(scene, dt);
    if (scene.OverlayActive) {
      EndFrame(scene, dt);
      return;
    }
    UpdateCursor(scene);
    MatLibAnimate(scene.LocationArchive, *scene.LocationLibrary, dt);
    MatLibAnimate(scene.PersonArchive, *scene.PersonLibrary, dt);
    MatLibAnimate(scene.SystemArchive, *scene.SystemLibrary, dt);
    AnimateMenuLibrary(scene.Menu, dt);
    UpdateDayTime(scene, dt);
    UpdateGame(scene, dt);
    EndFrame(scene, dt);
  } else {
    UpdateTransitions(scene, dt);
    EndFrame(scene, dt);
  }
}

void UpdateGame(TqvxScene& scene, float dt) {
  const bool leftReleased = LeftClick(scene, dt);
  RightClick(scene, leftReleased);
  if (scene.ClickDelay >= 0) {
    scene.ClickDelay -= dt;
    if (scene.ClickDelay < 0) scene.ClickDelay = -1;
  }
  // Scripts run from here may add or remove objects: walk by index.
  for (int32_t i = 0; i < static_cast<int32_t>(scene.Objects.size()); ++i) {
    AnimateObject(scene, i, dt);
    MoveObject(scene, i, dt);
  }
  if (ValidObject(scene, scene.HeroIndex)) {
    UpdateHero(scene, dt);
    if (ValidObject(scene, scene.HeroIndex)) {
      const TqvxObject& hero = scene.Objects[size_t(scene.HeroIndex)];
      UpdateListener(scene, hero.X, hero.Y);
      UpdateDayTimed(scene, DayTimeSoundLevel(scene));
    }
  } else {
    scene.WaitTime -= dt;
  }
  ResumeSuspended(scene, dt);
  UpdateScroll(scene, dt);
  SortLayer(scene);
  Keys(scene, dt);
  Timers(scene, dt);
}

void Timers(TqvxScene& scene, float dt) { TickTimers(scene, dt); }

void UpdateTransitions(TqvxScene& scene, float dt) {
  if (scene.LocationTimer >= 0) {
    scene.LocationTimer = scene.NoFade ? -1 : scene.LocationTimer - 2 * dt;
    if (scene.LocationTimer < 0) {
      UnloadLocation(scene);
      if (!scene.LocationName.empty()) LoadLocation(scene, scene.LocationName);
    }
  }
  if (scene.FadeLevel >= 0) {
    if (scene.Fader) scene.Fader->Visible = true;
    scene.FadeLevel = scene.NoFade ? -1 : scene.FadeLevel - 2 * dt;
    if (scene.SystemLibrary->Count() > 0)
      scene.SystemLibrary->At(0).Diffuse[3] = scene.FadeIn ? scene.FadeLevel : 1 - scene.FadeLevel;
    if (scene.FadeLevel < 0) {
      scene.FadeLevel = -1;
      if (scene.Fader) scene.Fader->Visible = false;
    }
  }
}

void EndFrame(TqvxScene& scene, float dt) {
  scene.Menu.MenuClock += dt;
  if (scene.OutlineTimer > 0) scene.OutlineTimer = scene.OutlineTimer > dt ? scene.OutlineTimer - dt : 0;
  if (!scene.OverlayActive && scene.WaitTime <= 0 && scene.SubtitleShown) HideSubtitle(scene);
  // A press that came and went since the last frame counts as down too, so
  // that a quick tap of Esc is not lost.
  scene.EscDown = GetAsyncKeyState(scene.Input, kVkEscape) != 0;
  scene.EscReleased = !scene.EscDown && scene.EscWasDown;
  scene.EscWasDown = scene.EscDown;
}
