// The main menu's record kept in the scene state: the menu archive and its
// materials, the 32 button slots of the page on screen and its 16 captions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "render/hud_string.h"
#include "render/materials.h"
#include "render/nodes.h"
#include "resources/matlib.h"

constexpr int32_t kMenuButtons = 32;
constexpr int32_t kMenuTexts = 16;
constexpr int32_t kSaveSlots = 12;

struct TMenuButton {
  THUDSprite* Sprite = nullptr;  // child of ButtonRoot, library MenuLibrary
  float X = 0, Y = 0;            // sprite centre, screen pixels
  float HitLeft = 0, HitTop = 0, HitWidth = 0, HitHeight = 0;
  int32_t Kind = 0;  // 1 clickable, 0 background or slot picture; stored only
  std::string Command;
  std::string Picture;
  std::string Picture2;
  bool Used = false;
};

// Buttons moved together by an offset; no page of the game fills it.
struct TMenuOGroup {
  float X = 0, Y = 0;
  std::vector<int32_t> Buttons;
};

struct TMenuPage {
  TqvxMatLib Archive;
  std::unique_ptr<TGLMaterialLibrary> MenuLibrary = std::make_unique<TGLMaterialLibrary>();
  TDummyCube* ButtonRoot = nullptr;
  TDummyCube* BlackRoot = nullptr;
  TMenuButton Buttons[kMenuButtons];
  THUDSprite* BlackScreen = nullptr;
  int32_t ResumeAllowed = 0;  // >= 1: a game runs behind the menu
  float MenuClock = 0;
  THUDString* Texts[kMenuTexts] = {};
  int32_t PageRequest = -1;  // page to build at the next menu frame, -1 none
  TMenuOGroup Group;
};
