#include "scene/menu_frame.h"

#include "menu/menu.h"
#include "platform/game_error.h"
#include "platform/input_state.h"
#include "scene/input.h"
#include "scene/location.h"
#include "scene/save_game.h"
#include "scene/save_slots.h"
#include "scene/scene_update.h"
#include "script/interpreter.h"
#include "sound/sound_manager.h"
#include "state/instruction.h"

namespace {

constexpr float kBackground = 1024, kBackgroundCentre = 512;
constexpr float kEntryWidth = 256, kEntryHeight = 128;
constexpr float kSlotSide = 64;
constexpr float kCaptionBelow = 40;
constexpr const char* kLoaderLocation = "loadgame.qvx";
// "Пусто" ("empty") in the game's code page.
constexpr const char* kEmptyCaption = "\xCF\xF3\xF1\xF2\xEE";

struct TEntry {
  const char* Picture;
  float X, Y;
  float HitLeft, HitTop, HitWidth, HitHeight;
};
// The main page's entries in the order of MenuButtonIds: new game, save,
// load, authors, quit.
constexpr TEntry kEntries[5] = {
    {"m_but_01", 382, 127, 301, 106, 166, 31}, {"m_but_03", 380, 160, 320, 149, 136, 30},
    {"m_but_02", 384, 203, 321, 185, 140, 29}, {"m_but_04", 394, 252, 348, 227, 95, 29},
    {"m_but_05", 406, 292, 361, 277, 78, 24},
};
constexpr int32_t kNewGame = 0, kSaveEntry = 1, kLoadEntry = 2, kAuthorsEntry = 3, kQuitEntry = 4;

constexpr float kSlotColumns[4] = {220, 350, 480, 610};
constexpr float kSlotRows[3] = {190, 290, 390};

void Background(TqvxScene& scene, const char* picture) {
  AddMenuButton(scene.Menu, picture, "", "", 0, kBackgroundCentre, kBackgroundCentre, kBackground, kBackground);
}

void BackButton(TqvxScene& scene) {
  const int32_t id = AddMenuButton(scene.Menu, "m_butb1", "", "", 1, 138, 483, 128, 128);
  SetButtonHitRect(scene.Menu, id, 74, 419, 128, 128);
  scene.MenuButtonIds[0] = id;
}

void MainPage(TqvxScene& scene) {
  Background(scene, "m_bgr");
  for (int32_t k = 0; k < 5; ++k) {
    const TEntry& e = kEntries[k];
    const int32_t id = AddMenuButton(scene.Menu, e.Picture, "", "", 1, e.X, e.Y, kEntryWidth, kEntryHeight);
    SetButtonHitRect(scene.Menu, id, e.HitLeft, e.HitTop, e.HitWidth, e.HitHeight);
    scene.MenuButtonIds[k] = id;
  }
  for (int32_t id : scene.MenuButtonIds) ShowButton(scene.Menu, id, false);
  RefreshSlots(scene);
}

void PanelPage(TqvxScene& scene, bool load) {
  Background(scene, "m_bgr");
  Background(scene, load ? "m_loa_bg" : "m_sav_bg");
  BackButton(scene);
  for (int32_t n = 0; n < kSaveSlots; ++n)
    scene.SlotButtonIds[n] = AddMenuButton(scene.Menu, SlotPictureName(scene.SlotPictures[n]), "", "", 0,
                                           kSlotColumns[n % 4], kSlotRows[n / 4], kSlotSide, kSlotSide);
  for (int32_t n = 0; n < kSaveSlots; ++n) {
    const float x = kSlotColumns[n % 4], y = kSlotRows[n / 4] + kCaptionBelow;
    if (!scene.SlotNames[n].empty())
      ShowMenuText(scene.Menu, n, scene.SlotNames[n], x, y, 12);
    else
      ShowMenuText(scene.Menu, n, kEmptyCaption, x, y, 16);
  }
}

void ClearMouseButtons(TqvxScene& scene) {
  scene.LeftDown = scene.LeftWasDown = scene.RightDown = scene.RightWasDown = false;
}

void PlaceCursor(TqvxScene& scene, int32_t mx, int32_t my) {
  if (!scene.Cursor) return;
  scene.Cursor->PositionX = static_cast<float>(mx) + kCursorOffset;
  scene.Cursor->PositionY = static_cast<float>(my) + kCursorOffset;
}

// The location's sounds pause under the menu and its own music plays; the
// game's sounds and music come back when it closes.
void MenuSounds(TqvxScene& scene, bool open) {
  PauseAll(scene, open);
  PlayGroup(scene, open ? scene.MenuMusic : scene.LocationMusic);
}

bool Clicked(const TqvxScene& scene) { return scene.LeftWasDown && !scene.LeftDown; }

void MainPageInput(TqvxScene& scene, int32_t mx, int32_t my) {
  for (int32_t id : scene.MenuButtonIds) ShowButton(scene.Menu, id, IsButtonHovered(scene.Menu, id, mx, my));
  if (scene.Menu.ResumeAllowed < 1)
    ShowButton(scene.Menu, scene.MenuButtonIds[kSaveEntry], false);
  else if (scene.EscReleased)
    HideMenu(scene);
  if (!Clicked(scene)) return;
  for (int32_t k = 0; k < 5; ++k) {
    if (!ButtonShown(scene.Menu, scene.MenuButtonIds[k])) continue;
    switch (k) {
      case kNewGame: NewGame(scene); break;
      case kSaveEntry: scene.Menu.PageRequest = kSavePage; break;
      case kLoadEntry: scene.Menu.PageRequest = kLoadPage; break;
      case kAuthorsEntry: scene.Menu.PageRequest = kAuthorsPage; break;
      case kQuitEntry: scene.QuitRequested = true; break;
    }
    return;
  }
}

// The back button's picture; whether it is under the pointer.
bool BackButtonInput(TqvxScene& scene, int32_t mx, int32_t my) {
  const int32_t back = scene.MenuButtonIds[0];
  const bool hovered = IsButtonHovered(scene.Menu, back, mx, my);
  SetButtonPicture(scene.Menu, back, hovered ? "m_butb2" : "m_butb1");
  return hovered;
}

void PanelInput(TqvxScene& scene, int32_t mx, int32_t my) {
  const bool load = scene.CurrentPage == kLoadPage;
  for (int32_t id : scene.SlotButtonIds) ShowButton(scene.Menu, id, true);
  const bool backHovered = BackButtonInput(scene, mx, my);
  for (int32_t n = 0; n < kSaveSlots; ++n) {
    const std::string picture = SlotPictureName(scene.SlotPictures[n]);
    const bool lit = IsButtonHovered(scene.Menu, scene.SlotButtonIds[n], mx, my) &&
                     (!load || scene.SlotPictures[n] >= 1);
    SetButtonPicture(scene.Menu, scene.SlotButtonIds[n], lit ? "L" + picture : picture);
  }
  if (!Clicked(scene)) return;
  // The back button and the bottom row overlap by a few pixels; a click
  // there does both, as the panels always have.
  if (backHovered) scene.Menu.PageRequest = kMainPage;
  for (int32_t n = 0; n < kSaveSlots; ++n) {
    if (!IsButtonHovered(scene.Menu, scene.SlotButtonIds[n], mx, my)) continue;
    if (load && scene.SlotPictures[n] < 1) continue;
    if (load) {
      LoadThroughLoader(scene, SlotFileName(n + 1));
    } else {
      // A save that failed keeps the panel open, the message over it.
      if (SaveGameFromPlay(scene, SlotFileName(n + 1))) HideMenu(scene);
    }
    return;
  }
}

void MenuInput(TqvxScene& scene) {
  int32_t mx = 0, my = 0;
  GetCursorPos(scene.Input, mx, my);
  scene.LeftDown = GetAsyncKeyState(scene.Input, kVkLeftButton) != 0;
  PlaceCursor(scene, mx, my);
  if (scene.Menu.PageRequest == -1) {
    switch (scene.CurrentPage) {
      case kMainPage: MainPageInput(scene, mx, my); break;
      case kLoadPage:
      case kSavePage: PanelInput(scene, mx, my); break;
      case kAuthorsPage:
        if (BackButtonInput(scene, mx, my) && Clicked(scene)) scene.Menu.PageRequest = kMainPage;
        break;
      default: break;
    }
  }
  scene.LeftWasDown = scene.LeftDown;
}

// 33: Op2 -1 opens the menu at the start of the game, with nothing to
// resume or save.
void OpenMenuCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  if (ins.Op[1] == -1) scene.Menu.ResumeAllowed = 0;
  BuildMenuPage(scene, ins.Op[0]);
  ShowMenu(scene);
}

// 47: the menu archive opened again and the page's nodes built anew.
void SetUpMenuCommand(TqvxScene& scene, const TScriptInstruction&, float) {
  if (!scene.ScriptRoot) return;
  LoadArchiveInto(scene.Menu.Archive, *scene.Menu.MenuLibrary, "GFX\\menu.wgw");
  MenuSetup(scene.Menu, *scene.ScriptRoot);
}

}  // namespace

void RefreshSlots(TqvxScene& scene) {
  for (int32_t n = 0; n < kSaveSlots; ++n) {
    const std::string file = SlotFileName(n + 1);
    scene.SlotPictures[n] = ReadSlotPicture(scene, file);
    scene.SlotNames[n] = scene.SlotPictures[n] >= 1 ? ReadSlotName(scene, file).substr(0, 50) : std::string();
  }
}

void BuildMenuPage(TqvxScene& scene, int32_t page) {
  ClearMenuPage(scene.Menu);
  switch (page) {
    case kMainPage: MainPage(scene); break;
    case kLoadPage: PanelPage(scene, true); break;
    case kSavePage: PanelPage(scene, false); break;
    case kAuthorsPage:
      Background(scene, "m_bgr");
      Background(scene, "m_aut_bg");
      BackButton(scene);
      break;
    default: break;
  }
  const TMenuOGroup& group = scene.Menu.Group;
  for (int32_t id : group.Buttons) {
    if (id < 0 || id >= kMenuButtons || !scene.Menu.Buttons[id].Sprite) continue;
    TMenuButton& b = scene.Menu.Buttons[id];
    b.Sprite->PositionX = b.X + group.X;
    b.Sprite->PositionY = b.Y + group.Y;
  }
  scene.CurrentPage = page;
}

void ShowMenu(TqvxScene& scene) {
  if (scene.Menu.ButtonRoot) scene.Menu.ButtonRoot->Visible = true;
  for (TDummyCube* layer : scene.LayerRoots)
    if (layer) layer->Visible = false;
  scene.MenuActive = true;
  ClearMouseButtons(scene);
  if (scene.Cursor) {
    scene.CursorVisible = scene.Cursor->Visible;
    scene.Cursor->Visible = true;
    scene.Cursor->SetLibMaterialName("cursor01");
  }
  if (scene.CursorItem) scene.CursorItem->Visible = false;
  if (scene.FeetMarker) scene.FeetMarker->Visible = false;
  HideMenuTexts(scene.Menu);
  MenuSounds(scene, true);
}

void HideMenu(TqvxScene& scene) {
  if (scene.Menu.ButtonRoot) scene.Menu.ButtonRoot->Visible = false;
  for (TDummyCube* layer : scene.LayerRoots)
    if (layer) layer->Visible = true;
  scene.MenuActive = false;
  ClearMouseButtons(scene);
  if (scene.Cursor) scene.Cursor->Visible = scene.CursorVisible;
  if (scene.CursorItem) scene.CursorItem->Visible = scene.Inventory.ItemInHand >= 1;
  UpdateCursor(scene);
  HideMenuTexts(scene.Menu);
  MenuSounds(scene, false);
}

void OpenMenuFromPlay(TqvxScene& scene) {
  scene.Menu.ResumeAllowed = 1;
  BuildMenuPage(scene, kMainPage);
  ShowMenu(scene);
}

void MenuFrame(TqvxScene& scene, float) {
  if (scene.Menu.PageRequest > 0) {
    int32_t mx = 0, my = 0;
    GetCursorPos(scene.Input, mx, my);
    PlaceCursor(scene, mx, my);
    ClearMouseButtons(scene);
    BuildMenuPage(scene, scene.Menu.PageRequest);
    scene.Menu.PageRequest = -1;
    return;
  }
  MenuInput(scene);
}

bool LoadThroughLoader(TqvxScene& scene, const std::string& fileName) {
  // A save that cannot be loaded is refused here, while the game (or the
  // menu) is still where the player left it, rather than in the loader; the
  // refusal is told and the frame goes on.
  try {
    CheckSaveGame(scene, fileName);
  } catch (const EGameError& e) {
    if (!scene.ErrorHook) throw;
    scene.ErrorHook(e.what());
    return false;
  }
  if (scene.MenuActive) HideMenu(scene);
  scene.PendingLoad = fileName;
  UnloadLocation(scene);
  ResetScene(scene);
  StopAll(scene);
  ReadLocation(scene, kLoaderLocation);
  RunFunction(scene, 0, 0, false, 0);
  UpdateScroll(scene, -1);
  scene.FadeLevel = 1.0f;
  scene.FadeIn = true;
  return true;
}

std::span<const TCommandBinding> MenuCommands() {
  static constexpr TCommandBinding kBindings[] = {
      {33, OpenMenuCommand},
      {47, SetUpMenuCommand},
  };
  return kBindings;
}
