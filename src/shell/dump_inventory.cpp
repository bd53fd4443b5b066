#include "hero/inventory.h"
#include "platform/cp1251.h"
#include "shell/state_dump.h"

nlohmann::json InventoryStateJson(const TqvxScene& scene) {
  using nlohmann::json;
  const TInventory& inv = scene.Inventory;
  json buttons = json::array();
  for (const TInventoryButton& b : inv.Buttons) {
    const THUDSprite* s = b.Sprite;
    buttons.push_back({{"name", Cp1251ToUtf8(b.Name)},
                       {"visible", s && s->Visible},
                       {"x", s ? s->PositionX : 0},
                       {"y", s ? s->PositionY : 0},
                       {"width", s ? s->Width : 0},
                       {"height", s ? s->Height : 0},
                       {"picture", s ? Cp1251ToUtf8(s->LibMaterialName()) : std::string()},
                       {"function", b.Function}});
  }
  const THUDString* caption = scene.HoverText;
  return {{"items", inv.Items},
          {"item_in_hand", inv.ItemInHand},
          {"pair_low", inv.PairLow},
          {"pair_high", inv.PairHigh},
          {"first_shown", inv.FirstShown},
          {"slide", inv.Slide},
          {"visible", InventoryShown(inv)},
          {"click_function", inv.InventoryClickFunction},
          {"caption", caption && caption->Visible ? Cp1251ToUtf8(caption->Text) : std::string()},
          {"buttons", buttons},
          {"hovered_button", inv.HoveredButton}};
}
