// The inventory: the items carried, shown on a bar that slides up from the
// bottom edge when the mouse nears it, the item in the hand and the pair of
// the last combination, item captions, and the screen buttons that scripts
// place. Everything works on the TInventory record of the scene state.
//
// Items are bare ids: item n shows the system picture "inv_" + n in at least
// three digits and, for 1..64, the caption read from "caption.inv". A slot
// shows Items[FirstShown + i] only while that index is inside the list, so
// the slots never point past the end after removals.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "render/hud_string.h"
#include "render/nodes.h"
#include "state/inventory_state.h"

class TBinaryReader;
class TBinaryWriter;

// The bar's centre x and its rest line; the first slot's centre and the
// spacing of the slots; how far above the bar the captions stand.
constexpr float kBarX = 512, kBarY = 568, kBarWidth = 1024, kBarHeight = 64;
constexpr float kSlotX = 94, kSlotStep = 200.0f / 3.0f, kSlotY = 573, kSlotSize = 48;
constexpr float kSlotReach = 24;
constexpr float kCaptionY = 525, kCaptionMinLeft = 32;
// Bytes of one caption record and of the whole caption file.
constexpr int32_t kCaptionRecord = 33;
constexpr int32_t kCaptionFileSize = kCaptionCount * kCaptionRecord;
// Bytes of one saved button.
constexpr int32_t kButtonRecordSize = 153;

// Creates Root under `parent`, the bar and the twelve slots from `library`,
// the bar hidden below the screen.
void CreateInventory(TInventory& inv, TDummyCube& parent, TGLMaterialLibrary* library);
// Reads "caption.inv" (a game path under `base`). A missing or short file
// leaves the captions it does not hold empty and prints one warning line.
void LoadCaptions(TInventory& inv, const std::filesystem::path& base = ".");

void AddItem(TInventory& inv, int32_t id);
// Removes the entry and keeps at most twelve items from FirstShown on; a bad
// index is ignored.
void RemoveItemAt(TInventory& inv, int32_t index);
int32_t FindItem(const TInventory& inv, int32_t id);
void ClearItems(TInventory& inv);
void RefreshSlots(TInventory& inv);
void PlaceInventory(TInventory& inv);
// One step of the bar towards or away from the screen as the mouse asks.
void SlideBar(TInventory& inv, int32_t mouseY, float dt);
// A click on an item: into the hand, or combined with the item already there.
void SelectItem(TInventory& inv, int32_t id);
// Per frame: the slide, the button pictures and HoveredButton, which it
// returns. `pressed`: the left button is down and input is enabled.
int32_t InventoryFrame(TInventory& inv, int32_t mouseX, int32_t mouseY, float dt, bool pressed);

// Ignored when a button of that name exists; picture names cut to 32 bytes.
void AddButton(TInventory& inv, int32_t function, const std::string& name, float x, float y, float width,
               float height, const std::string& normal, const std::string& hover, const std::string& pressed);
int32_t FindButton(const TInventory& inv, const std::string& name);
void ShowButton(TInventory& inv, int32_t index, bool visible);
void ClearButtons(TInventory& inv);
void ShowInventory(TInventory& inv, bool visible);
bool InventoryShown(const TInventory& inv);

// The slot whose 24-pixel box holds the mouse, -1 none; and the item it
// shows, -1 for an empty slot or none.
int32_t SlotAt(const TInventory& inv, int32_t mouseX, int32_t mouseY);
int32_t SlotItem(const TInventory& inv, int32_t slot);
float SlotX(int32_t slot);
// Shows the caption of the item under the mouse in `text`, or hides it.
void ItemCaption(const TInventory& inv, THUDString& text, int32_t mouseX, int32_t mouseY);
// The picture of an item: "inv_" and the id in at least three digits.
std::string ItemPicture(int32_t id);

// One button as the 153-byte record of a save file. LoadButton fills a
// button that already has its sprite and shows NormalImage.
void SaveButton(const TInventoryButton& button, TBinaryWriter& out);
void LoadButton(TInventoryButton& button, TBinaryReader& in);
