#include "scene/location.h"

#include <algorithm>
#include <cstdio>

#include "effects/effects.h"
#include "hero/hero_movement.h"
#include "hero/inventory.h"
#include "scene/menu_frame.h"
#include "sound/sound_manager.h"
#include "platform/cp1251.h"
#include "platform/paths.h"
#include "platform/stream.h"
#include "scene/location_file.h"
#include "scene/scene_update.h"
#include "script/interpreter.h"

namespace {

constexpr float kMinHotSpotRadius = 10;
// Immediate location changes allowed in one frame; no game needs more than a
// few, and locations that enter each other at once would go on for ever.
constexpr int32_t kMaxImmediateChanges = 100;

}  // namespace

int32_t AddObject(TqvxScene& scene, const std::string& name, int32_t layer) {
  if (layer < 0 || layer > 2) return -1;
  TqvxObject o;
  o.Name = name.substr(0, 19);
  if (scene.LayerRoots[layer]) {
    o.Sprite = scene.LayerRoots[layer]->AddNewChild<THUDSprite>();
    o.Sprite->SetMaterialLibrary(scene.LocationLibrary.get());
    o.Sprite->Tag = static_cast<int32_t>(scene.Objects.size());
  }
  o.Visible = true;
  o.Layer = layer;
  scene.Objects.push_back(std::move(o));
  return static_cast<int32_t>(scene.Objects.size()) - 1;
}

int32_t AddRegion(TqvxScene& scene, float width, float height, float x, float y) {
  scene.Regions.push_back(TRegion{width, height, x, y, 0, 0, true});
  return static_cast<int32_t>(scene.Regions.size()) - 1;
}

int32_t AddRoad(TqvxScene& scene) {
  scene.Roads.emplace_back();
  return static_cast<int32_t>(scene.Roads.size()) - 1;
}

void SetRegionEnabled(TqvxScene& scene, int32_t index, bool enabled) {
  if (index < 0 || index >= static_cast<int32_t>(scene.Regions.size())) return;
  scene.Regions[static_cast<size_t>(index)].Enabled = enabled;
}

void ReadLocation(TqvxScene& scene, const std::string& name) {
  const std::string gamePath = "SCENE\\" + name;
  TBinaryReader in(ResolveGamePath(gamePath), gamePath);
  TLocationData data;
  data.HeaderName = scene.HeaderName;
  data.HeaderText = scene.HeaderText;
  data.Grid = scene.WalkGrid;
  ReadLocationData(in, data);

  scene.HeaderName = data.HeaderName;
  scene.HeaderText = data.HeaderText;
  for (const TLocationObject& record : data.Objects) {
    const int32_t index = AddObject(scene, "Default", record.Layer);
    TqvxObject& o = scene.Objects[static_cast<size_t>(index)];
    if (o.Sprite) o.Sprite->SetSize(record.Width, record.Height);
    o.Name = record.Name;
    o.X = record.X;
    o.Parallax = record.Parallax;
    o.Y = record.Y;
    o.Width = record.Width;
    o.Height = record.Height;
    for (THotSpot h : record.HotSpots) {
      if (h.Radius < kMinHotSpotRadius) h.Radius = kMinHotSpotRadius;
      o.HotSpots.push_back(h);
    }
    o.Radius = HalfDiagonal(o.Width, o.Height);
    SetObjectPicture(scene, index, record.Picture, true);
  }
  scene.GridWidth = static_cast<int32_t>(data.Grid.size());
  scene.WalkGrid = std::move(data.Grid);
  for (const TLocationRegion& r : data.Regions) {
    TRegion& region = scene.Regions[static_cast<size_t>(AddRegion(scene, r.Width, r.Height, r.X, r.Y))];
    region.Function = r.Function;
    region.CursorNumber = r.CursorNumber;
  }
  for (TqvxRoad& road : data.Roads) scene.Roads[static_cast<size_t>(AddRoad(scene))] = std::move(road);
  for (TqvxFunction& f : data.Functions) scene.Functions.push_back(std::move(f));
  scene.LocationName = name.substr(0, 119);
}

void LoadLocation(TqvxScene& scene, const std::string& name) {
  // An immediate change that the start function asks for is carried out here,
  // once that function has ended, instead of inside it: locations that enter
  // each other then take turns in this loop rather than nest without end.
  struct TEntering {
    TqvxScene& Scene;
    bool Was;
    ~TEntering() {
      Scene.EnteringLocation = Was;
      if (!Was) Scene.LocationChangePending = false;
    }
  } entering{scene, scene.EnteringLocation};
  scene.EnteringLocation = true;
  std::string next = name;
  for (;;) {
    StopAll(scene);
    ResetScene(scene);
    RefreshSlots(scene.Inventory);
    ReadLocation(scene, next);
    scene.NoFade = false;
    RunFunction(scene, 0, 0, false, 0);
    if (!scene.LocationChangePending) break;
    scene.LocationChangePending = false;
    next = scene.LocationName;
  }
  ScaleHero(scene);
  UpdateScroll(scene, -1);
  SortLayer(scene);
  ResetSketches(scene);
  scene.FadeLevel = 1.0f;
  scene.FadeIn = true;
}

void RequestLocationChange(TqvxScene& scene, std::string target, bool immediate) {
  if (immediate && scene.ImmediateChanges >= kMaxImmediateChanges) {
    if (scene.ImmediateChanges++ == kMaxImmediateChanges)
      std::fprintf(stderr,
                   "ovgame: warning: %d immediate location changes in one frame; \"%s\" does not go on to \"%s\" "
                   "and the game stays there\n",
                   kMaxImmediateChanges, Cp1251ToUtf8(scene.LocationName).c_str(), Cp1251ToUtf8(target).c_str());
    return;
  }
  if (!scene.NoFade) scene.PreviousLocation = scene.LocationName;
  scene.FadeLevel = 1.0f;
  scene.FadeIn = false;
  scene.LocationTimer = 1.0f;
  scene.LocationName = target;
  if (!immediate) return;
  ++scene.ImmediateChanges;
  // Unloading empties the function table, which ends the running function
  // once this command returns.
  UnloadLocation(scene);
  if (scene.EnteringLocation)
    scene.LocationChangePending = true;
  else
    LoadLocation(scene, target);
}

void UnloadLocation(TqvxScene& scene) {
  // The sprites go in one pass per layer: removing them one by one would cost
  // the square of the object count.
  std::vector<TGLNode*> sprites, parents;
  for (TqvxObject& o : scene.Objects) {
    o.HotSpots.clear();
    if (o.Sprite) {
      o.Sprite->Visible = false;
      if (TGLNode* parent = o.Sprite->Parent()) {
        sprites.push_back(o.Sprite);
        if (std::find(parents.begin(), parents.end(), parent) == parents.end()) parents.push_back(parent);
      }
      o.Sprite = nullptr;
    }
  }
  for (TGLNode* parent : parents) parent->RemoveChildren(sprites);
  scene.Objects.clear();
  scene.Regions.clear();
  scene.Roads.clear();
  ClearLocationFunctions(scene);
  scene.HeroIndex = -1;
  ClearDayTimeLocation(scene);
}

void NewGame(TqvxScene& scene) {
  HideMenu(scene);
  UnloadLocation(scene);
  ClearGameState(scene);
  StopAll(scene);
  ResetSequences(scene);
  ClearGroups(scene);
  ResetScene(scene);
  AddItem(scene.Inventory, 1);
  RefreshSlots(scene.Inventory);
  ReadLocation(scene, "mov04.qvx");
  RunFunction(scene, 0, 0, false, 0);
  UpdateScroll(scene, -1);
  scene.FadeLevel = 1.0f;
  scene.FadeIn = true;
}
