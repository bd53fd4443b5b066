// The inventory record kept in the scene state: the items carried, the item
// in the hand, the sliding bar with its twelve slots and the screen buttons
// that scripts place. Created once with the scene and kept across locations;
// the procedures that work on it are in hero/inventory.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TDummyCube;
class THUDSprite;
class TGLMaterialLibrary;

constexpr int32_t kInventorySlots = 12;
constexpr int32_t kCaptionCount = 64;

struct TInventoryButton {
  THUDSprite* Sprite = nullptr;  // child of the inventory's Root
  std::string Name;              // unique among the buttons; at most 32 bytes
  std::string NormalImage;       // picture while the mouse is elsewhere
  std::string HoverImage;        // picture while the mouse is over it
  std::string PressedImage;      // over it with the left button held
  int32_t Function = 0;          // global function run on a click
};

struct TInventory {
  TGLMaterialLibrary* Library = nullptr;  // the system library: every picture below
  TDummyCube* Root = nullptr;             // hiding it hides bar, slots and buttons
  std::array<std::string, kCaptionCount> Captions;  // item id k at k - 1
  std::array<THUDSprite*, kInventorySlots> Slots{};
  THUDSprite* Bar = nullptr;
  // The two items of the last combination, smaller id first; -1 none.
  int32_t PairLow = -1;
  int32_t PairHigh = -1;
  int32_t InventoryClickFunction = 0;  // global function after a slot click; <= 0 none
  std::vector<TInventoryButton> Buttons;
  int32_t HoveredButton = -1;  // the button under the mouse this frame
  std::vector<int32_t> Items;  // ids in the order gained
  int32_t ItemInHand = -1;
  int32_t FirstShown = 0;  // index in Items of the item in slot 0
  float Slide = 1;         // 0 bar fully shown, 1 fully below the screen
  bool SlideEnabled = true;
};
