#include "hero/inventory.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "platform/game_error.h"
#include "platform/paths.h"
#include "platform/stream.h"

namespace {

const char* const kCaptionFile = "caption.inv";
constexpr int kNameBytes = 32;
// How far the bar and the slots move between fully shown and fully hidden,
// and the slide per second (a full slide in a sixth of a second).
constexpr float kSlideDistance = 64;
constexpr float kSlideSpeed = 6;
// Above this line the mouse never raises the bar.
constexpr int32_t kRaiseLine = 550;

THUDSprite* NewSprite(TDummyCube& parent, TGLMaterialLibrary* library, const std::string& picture, float w,
                      float h) {
  THUDSprite* s = parent.AddNewChild<THUDSprite>();
  if (picture.empty())
    s->SetMaterialLibrary(library);
  else
    s->SetMaterial(library, picture);
  s->SetSize(w, h);
  return s;
}

void ShowPicture(THUDSprite& sprite, const std::string& picture) {
  if (sprite.LibMaterialName() != picture) sprite.SetLibMaterialName(picture);
}

std::string Cut(const std::string& s) { return s.size() > kNameBytes ? s.substr(0, kNameBytes) : s; }

void Warn(const std::string& text) { std::fprintf(stderr, "ovgame: warning: %s\n", text.c_str()); }

// The index in Items of the item a slot shows; -1 when it shows none.
int32_t SlotEntry(const TInventory& inv, int32_t slot) {
  if (slot < 0 || slot >= kInventorySlots) return -1;
  const int64_t index = static_cast<int64_t>(inv.FirstShown) + slot;
  return index >= 0 && index < static_cast<int64_t>(inv.Items.size()) ? static_cast<int32_t>(index) : -1;
}

}  // namespace

void CreateInventory(TInventory& inv, TDummyCube& parent, TGLMaterialLibrary* library) {
  inv.Library = library;
  inv.Root = parent.AddNewChild<TDummyCube>();
  inv.Bar = NewSprite(*inv.Root, library, "inv_tb", kBarWidth, kBarHeight);
  for (auto& slot : inv.Slots) slot = NewSprite(*inv.Root, library, "", kSlotSize, kSlotSize);
  inv.Slide = 1;
  inv.SlideEnabled = true;
  inv.Buttons.clear();
  inv.InventoryClickFunction = 0;
  PlaceInventory(inv);
  RefreshSlots(inv);
}

void LoadCaptions(TInventory& inv, const std::filesystem::path& base) {
  for (auto& c : inv.Captions) c.clear();
  const std::filesystem::path file = ResolveGamePath(kCaptionFile, base);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) {
    Warn(std::string(kCaptionFile) + " is missing; items have no captions");
    return;
  }
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadGameFile(kCaptionFile, base);
  } catch (const EGameError& e) {
    Warn(e.what());
    return;
  }
  TBinaryReader in(bytes, kCaptionFile);
  for (auto& caption : inv.Captions)
    if (in.Remaining() < kCaptionRecord || !in.ReadStr(kNameBytes, caption)) break;
  if (bytes.size() < static_cast<size_t>(kCaptionFileSize))
    Warn(std::string(kCaptionFile) + " holds " + std::to_string(bytes.size()) + " of " +
         std::to_string(kCaptionFileSize) + " bytes; the captions past its end are empty");
}

void AddItem(TInventory& inv, int32_t id) { inv.Items.push_back(id); }

void RemoveItemAt(TInventory& inv, int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(inv.Items.size())) return;
  inv.Items.erase(inv.Items.begin() + index);
  const int32_t count = static_cast<int32_t>(inv.Items.size());
  if (static_cast<int64_t>(inv.FirstShown) + count > kInventorySlots) inv.FirstShown = count - kInventorySlots;
}

int32_t FindItem(const TInventory& inv, int32_t id) {
  const auto it = std::find(inv.Items.begin(), inv.Items.end(), id);
  return it == inv.Items.end() ? -1 : static_cast<int32_t>(it - inv.Items.begin());
}

void ClearItems(TInventory& inv) {
  inv.Items.clear();
  RefreshSlots(inv);
}

void RefreshSlots(TInventory& inv) {
  const bool barShown = inv.Bar && inv.Bar->Visible;
  for (int32_t i = 0; i < kInventorySlots; ++i) {
    THUDSprite* slot = inv.Slots[static_cast<size_t>(i)];
    if (!slot) continue;
    const int32_t entry = SlotEntry(inv, i);
    slot->Visible = entry >= 0 && barShown;
    if (entry >= 0) ShowPicture(*slot, ItemPicture(inv.Items[static_cast<size_t>(entry)]));
  }
}

void PlaceInventory(TInventory& inv) {
  const float drop = kSlideDistance * inv.Slide;
  if (inv.Bar) {
    inv.Bar->PositionX = kBarX;
    inv.Bar->PositionY = kBarY + drop;
  }
  for (int32_t i = 0; i < kInventorySlots; ++i) {
    THUDSprite* slot = inv.Slots[static_cast<size_t>(i)];
    if (!slot) continue;
    slot->PositionX = SlotX(i);
    slot->PositionY = kSlotY + drop;
  }
}

void SlideBar(TInventory& inv, int32_t mouseY, float dt) {
  if (!inv.SlideEnabled) return;
  const float step = kSlideSpeed * dt;
  const float barY = inv.Bar ? inv.Bar->PositionY : kBarY + kSlideDistance * inv.Slide;
  const float barHeight = inv.Bar ? inv.Bar->Height : kBarHeight;
  const float top = barY - barHeight / 2;
  // Hidden, the bar waits for the mouse to pass the raise line; shown, it
  // stays while the mouse is on it.
  if (mouseY <= kRaiseLine && static_cast<float>(mouseY) <= top)
    inv.Slide += step;
  else
    inv.Slide -= step;
  inv.Slide = std::clamp(inv.Slide, 0.0f, 1.0f);
  PlaceInventory(inv);
}

void SelectItem(TInventory& inv, int32_t id) {
  if (inv.ItemInHand >= 0 && id != inv.ItemInHand) {
    inv.PairLow = std::min(id, inv.ItemInHand);
    inv.PairHigh = std::max(id, inv.ItemInHand);
    inv.ItemInHand = -1;
    RefreshSlots(inv);
    return;
  }
  inv.ItemInHand = id;
  inv.PairLow = inv.PairHigh = -1;
}

int32_t InventoryFrame(TInventory& inv, int32_t mouseX, int32_t mouseY, float dt, bool pressed) {
  inv.HoveredButton = -1;
  SlideBar(inv, mouseY, dt);
  if (!InventoryShown(inv)) return -1;
  const float mx = static_cast<float>(mouseX), my = static_cast<float>(mouseY);
  for (size_t i = 0; i < inv.Buttons.size(); ++i) {
    TInventoryButton& b = inv.Buttons[i];
    if (!b.Sprite) continue;
    const THUDSprite& s = *b.Sprite;
    const bool over = inv.HoveredButton < 0 && s.Visible && std::fabs(mx - s.PositionX) < s.Width / 2 &&
                      std::fabs(my - s.PositionY) < s.Height / 2;
    if (over) inv.HoveredButton = static_cast<int32_t>(i);
    ShowPicture(*b.Sprite, !over ? b.NormalImage : pressed ? b.PressedImage : b.HoverImage);
  }
  return inv.HoveredButton;
}

void AddButton(TInventory& inv, int32_t function, const std::string& name, float x, float y, float width,
               float height, const std::string& normal, const std::string& hover, const std::string& pressed) {
  if (!inv.Root || FindButton(inv, name) >= 0) return;
  TInventoryButton b;
  b.Sprite = NewSprite(*inv.Root, inv.Library, "", width, height);
  b.Sprite->PositionX = x;
  b.Sprite->PositionY = y;
  b.Name = Cut(name);
  b.NormalImage = Cut(normal);
  b.HoverImage = Cut(hover);
  b.PressedImage = Cut(pressed);
  b.Function = function;
  inv.Buttons.push_back(std::move(b));
}

int32_t FindButton(const TInventory& inv, const std::string& name) {
  for (size_t i = 0; i < inv.Buttons.size(); ++i)
    if (inv.Buttons[i].Name == name) return static_cast<int32_t>(i);
  return -1;
}

void ShowButton(TInventory& inv, int32_t index, bool visible) {
  if (index < 0 || index >= static_cast<int32_t>(inv.Buttons.size())) return;
  if (THUDSprite* s = inv.Buttons[static_cast<size_t>(index)].Sprite) s->Visible = visible;
}

void ClearButtons(TInventory& inv) {
  std::vector<TGLNode*> sprites;
  for (const auto& b : inv.Buttons)
    if (b.Sprite) sprites.push_back(b.Sprite);
  if (inv.Root) inv.Root->RemoveChildren(sprites);
  inv.Buttons.clear();
  inv.HoveredButton = -1;
}

void ShowInventory(TInventory& inv, bool visible) {
  if (inv.Root) inv.Root->Visible = visible;
}

bool InventoryShown(const TInventory& inv) { return inv.Root && inv.Root->Visible; }

float SlotX(int32_t slot) { return kSlotX + static_cast<float>(slot) * kSlotStep; }

int32_t SlotAt(const TInventory& inv, int32_t mouseX, int32_t mouseY) {
  const float mx = static_cast<float>(mouseX), my = static_cast<float>(mouseY);
  for (int32_t i = 0; i < kInventorySlots; ++i) {
    const THUDSprite* s = inv.Slots[static_cast<size_t>(i)];
    if (s && std::fabs(mx - s->PositionX) < kSlotReach && std::fabs(my - s->PositionY) < kSlotReach) return i;
  }
  return -1;
}

int32_t SlotItem(const TInventory& inv, int32_t slot) {
  const int32_t entry = SlotEntry(inv, slot);
  return entry < 0 ? -1 : inv.Items[static_cast<size_t>(entry)];
}

void ItemCaption(const TInventory& inv, THUDString& text, int32_t mouseX, int32_t mouseY) {
  text.Visible = false;
  if (!InventoryShown(inv)) return;
  const int32_t slot = SlotAt(inv, mouseX, mouseY);
  const int32_t entry = SlotEntry(inv, slot);
  if (entry < 0) return;
  const int32_t id = inv.Items[static_cast<size_t>(entry)];
  SetText(text, id >= 1 && id <= kCaptionCount ? inv.Captions[static_cast<size_t>(id - 1)] : std::string());
  const float x = inv.Slots[static_cast<size_t>(slot)]->PositionX;
  const float left = x + LineOffset(text, 0);
  text.PositionX = left < kCaptionMinLeft ? x + (kCaptionMinLeft - left) : x;
  text.PositionY = kCaptionY;
  text.Visible = true;
}

std::string ItemPicture(int32_t id) {
  std::string digits = std::to_string(id);
  if (id >= 0 && digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return "inv_" + digits;
}

void SaveButton(const TInventoryButton& button, TBinaryWriter& out) {
  out.WriteStr(kNameBytes, button.Name);
  out.WriteStr(kNameBytes, button.NormalImage);
  out.WriteStr(kNameBytes, button.HoverImage);
  out.WriteStr(kNameBytes, button.PressedImage);
  out.WriteInt32(button.Function);
  const THUDSprite* s = button.Sprite;
  out.WriteBool(s && s->Visible);
  out.WriteFloat(s ? s->PositionX : 0);
  out.WriteFloat(s ? s->PositionY : 0);
  out.WriteFloat(s ? s->Width : 0);
  out.WriteFloat(s ? s->Height : 0);
}

void LoadButton(TInventoryButton& button, TBinaryReader& in) {
  in.ReadStr(kNameBytes, button.Name);
  in.ReadStr(kNameBytes, button.NormalImage);
  in.ReadStr(kNameBytes, button.HoverImage);
  in.ReadStr(kNameBytes, button.PressedImage);
  in.ReadInt32(button.Function);
  THUDSprite scratch;
  THUDSprite& s = button.Sprite ? *button.Sprite : scratch;
  bool visible = s.Visible;
  in.ReadBool(visible);
  in.ReadFloat(s.PositionX);
  in.ReadFloat(s.PositionY);
  in.ReadFloat(s.Width);
  in.ReadFloat(s.Height);
  s.Visible = visible;
  ShowPicture(s, button.NormalImage);
}
