#include "scene/scene_create.h"

#include "effects/effects.h"
#include "hero/hero_movement.h"
#include "hero/inventory.h"
#include "platform/paths.h"
#include "render/hud_string.h"
#include "sound/sound_manager.h"

namespace {

THUDSprite* AddSprite(TqvxScene& scene, TDummyCube& root, const char* picture, float x, float y, float w, float h,
                      bool visible) {
  THUDSprite* s = root.AddNewChild<THUDSprite>();
  s->SetMaterial(scene.SystemLibrary.get(), picture);
  s->PositionX = x;
  s->PositionY = y;
  s->SetSize(w, h);
  s->Visible = visible;
  return s;
}

THUDString* AddText(TqvxScene& scene, TDummyCube& root, const std::vector<uint8_t>& widths, float x, float y,
                    uint8_t alignment, bool visible) {
  THUDString* t = root.AddNewChild<THUDString>();
  t->SetMaterial(scene.SystemLibrary.get(), "fnt1");
  LoadFontWidths(*t, widths, 512);
  t->PositionX = x;
  t->PositionY = y;
  t->Height = 26;
  t->Alignment = alignment;
  t->Visible = visible;
  return t;
}

}  // namespace

void SceneCreate(TqvxScene& scene, TDummyCube& root) {
  scene.QuitRequested = false;
  scene.VideoPlaying = false;
  scene.VideoName.clear();
  scene.WalkGrid.assign(40, {});
  scene.GridWidth = 40;

  CreatePanelLayerGroup(scene, root, 0);
  for (auto& layer : scene.LayerRoots) layer = root.AddNewChild<TDummyCube>();
  scene.Fader = AddSprite(scene, root, "absblack", 400, 300, 800, 600, false);
  scene.MenuButton = AddSprite(scene, root, "menubo", 762, 32, 64, 64, true);
  CreatePanelLayerGroup(scene, root, 1);
  scene.SubPanel = AddSprite(scene, root, "subpanel", 400, 480, 1024, 128, false);
  // The glyph widths are read once for the three texts.
  std::vector<uint8_t> widths = ReadGameFile("fnt1.dat");
  widths.resize(256, 0);
  scene.Caption = AddText(scene, root, widths, 70, 10, 0, true);
  SetTextWrapped(*scene.Caption, "", 400);
  scene.Subtitle = AddText(scene, root, widths, 400, 450, 1, true);
  SetTextWrapped(*scene.Subtitle, "", 200);
  scene.HoverText = AddText(scene, root, widths, 0, 0, 1, false);
  scene.FadeLevel = -1;

  CreateInventory(scene.Inventory, root, scene.SystemLibrary.get());
  LoadCaptions(scene.Inventory);
  scene.ScriptRoot = root.AddNewChild<TDummyCube>();
  scene.Cursor = AddSprite(scene, root, "cursor01", 400, 300, 64, 64, true);
  scene.CursorItem = AddSprite(scene, root, "", 400, 300, 64, 64, false);
  scene.FeetMarker = AddSprite(scene, root, "p_feet_0000", 400, 300, 32, 32, false);

  ClearGameState(scene);
  scene.DayTime.DayTimeActive = false;
  ClearDelayedGlobalFunctions(scene);
  scene.HeaderName = "Default";
  scene.HeaderText.clear();
  scene.LocationName.clear();
  scene.PreviousLocation.clear();
  scene.PendingLoad.clear();
  ClearItems(scene.Inventory);
  InitSound(scene);
  scene.HeroFrameHook = [](TqvxScene& s, const std::string& frame) { SetHeroFrame(s, frame, true); };
  scene.LocationMusic = -2;
  scene.MenuMusic = -1;
  ResetScene(scene);
}
