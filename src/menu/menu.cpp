#include "menu/menu.h"

#include <vector>

#include "platform/paths.h"

namespace {

constexpr int32_t kShownTexts = 15;  // the last text is never shown
constexpr int32_t kTextWrap = 400;

bool InRange(int32_t button) { return button >= 0 && button < kMenuButtons; }

}  // namespace

void MenuSetup(TMenuPage& page, TDummyCube& parent) {
  // A script may set the menu up again (the archive reopened); the nodes of
  // the first set-up go, so that no second set of buttons lingers under them.
  std::vector<TGLNode*> old;
  if (page.ButtonRoot) old.push_back(page.ButtonRoot);
  if (page.BlackRoot) old.push_back(page.BlackRoot);
  for (THUDString* text : page.Texts)
    if (text) old.push_back(text);
  for (TGLNode* node : old)
    if (TGLNode* from = node->Parent()) from->RemoveChild(node);

  page.ButtonRoot = parent.AddNewChild<TDummyCube>();
  page.ButtonRoot->Visible = false;
  page.BlackRoot = parent.AddNewChild<TDummyCube>();
  for (TMenuButton& b : page.Buttons) {
    b = TMenuButton{};
    b.Sprite = page.ButtonRoot->AddNewChild<THUDSprite>();
    b.Sprite->SetMaterialLibrary(page.MenuLibrary.get());
    b.Sprite->Visible = false;
  }
  std::vector<uint8_t> widths = ReadGameFile("fnt1.dat");
  widths.resize(256, 0);
  for (THUDString*& text : page.Texts) {
    text = parent.AddNewChild<THUDString>();
    text->PositionX = 10;
    text->PositionY = 10;
    text->SetMaterial(page.MenuLibrary.get(), "fnt1");
    LoadFontWidths(*text, widths, 512);
    text->Alignment = 0;
    text->Height = 16;
    text->Visible = false;
  }
  page.BlackScreen = page.BlackRoot->AddNewChild<THUDSprite>();
  page.BlackScreen->SetMaterial(page.MenuLibrary.get(), "absblack");
  page.BlackScreen->PositionX = 400;
  page.BlackScreen->PositionY = 300;
  page.BlackScreen->SetSize(800, 600);
  page.BlackScreen->Visible = false;
  page.PageRequest = -1;
  page.ResumeAllowed = 0;
  page.MenuClock = 0;
  page.Group = TMenuOGroup{};
}

void ClearMenuPage(TMenuPage& page) {
  page.Group.Buttons.clear();
  for (TMenuButton& b : page.Buttons) {
    if (b.Sprite) b.Sprite->Visible = false;
    b.Used = false;
  }
  HideMenuTexts(page);
}

int32_t AddMenuButton(TMenuPage& page, const std::string& picture, const std::string& picture2,
                      const std::string& command, int32_t kind, float x, float y, float width, float height) {
  for (int32_t i = 0; i < kMenuButtons; ++i) {
    TMenuButton& b = page.Buttons[i];
    if (b.Used || !b.Sprite) continue;
    b.Picture = picture;
    b.Picture2 = picture2;
    b.Command = command;
    b.Kind = kind;
    b.X = x;
    b.Y = y;
    b.Sprite->SetMaterial(page.MenuLibrary.get(), picture);
    b.Sprite->PositionX = x;
    b.Sprite->PositionY = y;
    b.Sprite->SetSize(width, height);
    b.Sprite->Visible = true;
    b.Used = true;
    SetButtonHitRect(page, i, x - width / 2, y - height / 2, width, height);
    return i;
  }
  return -1;
}

void SetButtonHitRect(TMenuPage& page, int32_t button, float left, float top, float width, float height) {
  if (!InRange(button)) return;
  TMenuButton& b = page.Buttons[button];
  b.HitLeft = left;
  b.HitTop = top;
  b.HitWidth = width;
  b.HitHeight = height;
}

bool IsButtonHovered(const TMenuPage& page, int32_t button, int32_t mouseX, int32_t mouseY) {
  if (!InRange(button) || !page.Buttons[button].Used) return false;
  const TMenuButton& b = page.Buttons[button];
  const float x = static_cast<float>(mouseX), y = static_cast<float>(mouseY);
  return b.HitLeft < x && x < b.HitLeft + b.HitWidth && b.HitTop < y && y < b.HitTop + b.HitHeight;
}

void ShowMenuText(TMenuPage& page, int32_t index, const std::string& text, float x, float y, float height) {
  if (index < 0 || index >= kShownTexts || !page.Texts[index]) return;
  THUDString& t = *page.Texts[index];
  t.Height = height;
  t.Alignment = 1;
  SetTextWrapped(t, text, kTextWrap);
  t.PositionX = x;
  t.PositionY = y;
  t.Visible = true;
}

void HideMenuTexts(TMenuPage& page) {
  for (THUDString* text : page.Texts)
    if (text) text->Visible = false;
}

void SetButtonPicture(TMenuPage& page, int32_t button, const std::string& picture) {
  if (!InRange(button) || !page.Buttons[button].Used) return;
  THUDSprite* sprite = page.Buttons[button].Sprite;
  if (sprite->LibMaterialName() != picture) sprite->SetLibMaterialName(picture);
}

void ShowButton(TMenuPage& page, int32_t button, bool shown) {
  if (InRange(button) && page.Buttons[button].Used) page.Buttons[button].Sprite->Visible = shown;
}

bool ButtonShown(const TMenuPage& page, int32_t button) {
  return InRange(button) && page.Buttons[button].Used && page.Buttons[button].Sprite->Visible;
}

void AnimateMenuLibrary(TMenuPage& page, float seconds) { MatLibAnimate(page.Archive, *page.MenuLibrary, seconds); }
