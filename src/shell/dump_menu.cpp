#include "platform/cp1251.h"
#include "shell/state_dump.h"

nlohmann::json MenuStateJson(const TqvxScene& s) {
  using nlohmann::json;
  json buttons = json::array();
  for (const TMenuButton& b : s.Menu.Buttons) {
    if (!b.Used || !b.Sprite) continue;
    buttons.push_back({{"picture", Cp1251ToUtf8(b.Sprite->LibMaterialName())},
                       {"visible", b.Sprite->Visible},
                       {"x", b.Sprite->PositionX},
                       {"y", b.Sprite->PositionY}});
  }
  json texts = json::array();
  for (const THUDString* t : s.Menu.Texts)
    if (t && t->Visible) texts.push_back(Cp1251ToUtf8(t->Text));
  json slots = json::array();
  for (int32_t n = 0; n < kSaveSlots; ++n)
    slots.push_back({{"picture", s.SlotPictures[n]}, {"name", Cp1251ToUtf8(s.SlotNames[n])}});
  return {{"active", s.MenuActive}, {"page", s.CurrentPage}, {"resume_allowed", s.Menu.ResumeAllowed},
          {"buttons", buttons},     {"texts", texts},        {"slots", slots}};
}
