#include "state/scene_state.h"

#include <cmath>
#include <utility>

void ResetHeroState(TqvxScene& scene) {
  scene.HeroIndex = -1;
  scene.WaitTime = -1;
  scene.HeroWalking = false;
  scene.HeroSpeed = 150;
  scene.WaypointCount = 0;
  scene.WaypointIndex = -1;
  scene.IdlePoseShown = true;
  scene.IdleOnArrival = true;
  scene.DepthScaleOn = false;
  scene.DepthScale = 1;
  scene.SlopeOn = false;
  scene.SlopeScale = 1;
  scene.SlopeRotation1 = 0;
  scene.SlopeRotation2 = 0;
  // The turn, walk, stand and idle frames and a turn being played stay: a
  // game sets the frames once and the next location's hero goes on with them.
  // Only the footstep pairs belong to a location.
  for (auto& s : scene.StepSounds) s = TStepSound{};
}

void ResetScene(TqvxScene& scene) {
  scene.MenuEnabled = 0;
  scene.SkipLocation.clear();
  scene.EscReleased = scene.EscWasDown = scene.EscDown = false;

  scene.ScrollX = scene.ScrollTarget = 0;
  scene.DayTimeObject = -1;

  // The unload has freed the objects' sprites already.
  scene.Objects.clear();
  scene.Regions.clear();
  scene.Roads.clear();
  scene.Functions.clear();
  ++scene.FunctionTableSerial;

  ResetHeroState(scene);
  scene.ScrollObject = -1;
  scene.DragObject = -1;
  scene.LocationTimer = -1;
  scene.SuspendedFunction = -1;

  scene.ScriptExecuting = true;
  scene.InputEnabled = scene.InputWhenIdle = true;
  scene.LoadingSave = false;
  scene.ClickDelay = -1;
  scene.SubtitleShown = false;
  scene.OverlayActive = false;

  scene.FrameFunction = -1;
  scene.Inventory.ItemInHand = -1;

  static constexpr int32_t kDefaultKeys[kKeyEntries] = {-1, 37, 39, 38, 40, 32, 2, 1, -1, -1};
  for (int i = 0; i < kKeyEntries; ++i) scene.KeyTable[i] = TKeyEntry{kDefaultKeys[i], -1, -1, -1, 0};

  for (auto& slot : scene.DelayedFunctions) slot.Function = -1;

  if (scene.MenuButton) scene.MenuButton->Visible = false;
  if (scene.Cursor) scene.Cursor->Visible = true;
  if (scene.CursorItem) scene.CursorItem->Visible = false;
  scene.LeftDown = scene.LeftWasDown = scene.RightDown = scene.RightWasDown = false;
  if (scene.Inventory.Root) scene.Inventory.Root->Visible = true;
  if (scene.Subtitle) scene.Subtitle->Text.clear();
  if (scene.SubPanel) scene.SubPanel->Visible = false;
}

void ClearGameState(TqvxScene& scene) {
  scene.Inventory.Items.clear();
  scene.Inventory.ItemInHand = -1;
  // Variable 1023 is not cleared: it keeps its value across a new game.
  ClearVariables(scene, 0, kVariableCount - 1);
  scene.HeroClickWidth = scene.HeroClickHeight = -1;
  scene.HeroClickFunction = -1;
}

void ClearVariables(TqvxScene& scene, int32_t first, int32_t count) {
  if (first < 0 || count < 1 || static_cast<int64_t>(first) + count >= kVariableCount) return;
  for (int32_t i = first; i < first + count; ++i) scene.Variables[i] = 0;
}

void SwapVariables(TqvxScene& scene, int32_t a, int32_t b) {
  if (a < 0 || a >= kVariableCount || b < 0 || b >= kVariableCount) return;
  std::swap(scene.Variables[a], scene.Variables[b]);
}

void AddDelayedFunction(TqvxScene& scene, int32_t function, bool forced, float seconds) {
  if (function < 0 || function >= static_cast<int32_t>(scene.Functions.size())) return;
  for (auto& slot : scene.DelayedFunctions) {
    if (slot.Function == -1) {
      slot = TDelayedFunction{function, seconds, forced};
      return;
    }
  }
}

void AddDelayedGlobalFunction(TqvxScene& scene, int32_t function, float seconds) {
  if (function < 0 || function >= static_cast<int32_t>(scene.GlobalFunctions.size())) return;
  for (auto& slot : scene.DelayedGlobalFunctions) {
    if (slot.Function < 0) {
      slot = TDelayedFunction{function, seconds, false};
      return;
    }
  }
}

void CancelDelayedFunction(TqvxScene& scene, int32_t function) {
  if (function < 0) return;
  for (auto& slot : scene.DelayedFunctions)
    if (slot.Function == function) slot.Function = -1;
}

void CancelDelayedGlobalFunction(TqvxScene& scene, int32_t function) {
  if (function < 0) return;
  for (auto& slot : scene.DelayedGlobalFunctions)
    if (slot.Function == function) slot.Function = -1;
}

void ClearDelayedFunctions(TqvxScene& scene) {
  for (auto& slot : scene.DelayedFunctions) slot.Function = -1;
}

void ClearDelayedGlobalFunctions(TqvxScene& scene) {
  for (auto& slot : scene.DelayedGlobalFunctions) slot.Function = -1;
}

void SetScriptExecuting(TqvxScene& scene, bool flag) {
  scene.ScriptExecutingBefore = scene.ScriptExecuting;
  scene.ScriptExecuting = flag;
}

bool ValidObject(const TqvxScene& scene, int32_t index) {
  return index >= 0 && index < static_cast<int32_t>(scene.Objects.size());
}

float HalfDiagonal(float width, float height) {
  return std::sqrt((width / 2) * (width / 2) + (height / 2) * (height / 2));
}

void SetObjectPosition(TqvxScene& scene, int32_t object, float x, float y) {
  if (!ValidObject(scene, object)) return;
  TqvxObject& o = scene.Objects[static_cast<size_t>(object)];
  const float dx = x - o.X, dy = y - o.Y;
  for (auto& h : o.HotSpots) {
    h.X += dx;
    h.Y += dy;
  }
  o.X = x;
  o.Y = y;
}

int32_t FindObject(const TqvxScene& scene, const std::string& name) {
  for (size_t i = 0; i < scene.Objects.size(); ++i)
    if (scene.Objects[i].Name == name) return static_cast<int32_t>(i);
  return -1;
}

void SetHero(TqvxScene& scene, const std::string& objectName) {
  scene.HeroIndex = FindObject(scene, objectName);
  if (scene.HeroIndex < 0) return;
  TqvxObject& hero = scene.Objects[static_cast<size_t>(scene.HeroIndex)];
  for (size_t col = 0; col < scene.WalkGrid.size(); ++col) {
    for (int row = 0; row < kGridRows; ++row) {
      if (scene.WalkGrid[col][static_cast<size_t>(row)] == 2) {
        SetObjectPosition(scene, scene.HeroIndex, static_cast<float>(col) * kGridCell,
                          static_cast<float>(row) * kGridCell);
        break;  // each column's topmost 2 only
      }
    }
  }
  if (hero.Sprite) hero.Sprite->SetMaterialLibrary(scene.PersonLibrary.get());
}

void SeedRandom(TqvxScene& scene, uint32_t seed) { scene.RandomState = seed; }

int32_t Random(TqvxScene& scene, int32_t n) {
  scene.RandomState = scene.RandomState * 134775813u + 1u;
  // A signed product shifted arithmetically: a negative n gives a result in (n, 0].
  const int64_t product = static_cast<int64_t>(scene.RandomState) * static_cast<int64_t>(n);
  return static_cast<int32_t>(product >> 32);
}
