// The inventory through the real game in driver mode: items picked up from
// the bar, used on a hot zone, combined, dropped by a right click, a script
// button, and what a location change keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/game_dir.h"

namespace {

// Scripted input starts once the start location has faded in.
constexpr int kPlay = 30;

std::string Move(int frame, int x, int y) {
  return std::to_string(frame) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n";
}
std::string Click(int frame, int x, int y, const std::string& button = "left") {
  return Move(frame, x, y) + std::to_string(frame) + " down " + button + "\n" + std::to_string(frame + 1) + " up " +
         button + "\n";
}

std::string CaptionFile() {
  std::string bytes(2112, '\0');
  bytes[4 * 33] = 3;
  bytes.replace(4 * 33 + 1, 3, "key");
  return bytes;
}

// Items 5, 3 and 8 on the bar; the door (a zone over the bar's right end,
// where no item lies) counts in variable 0 a use of item 5. Combining 3 with
// 5 turns 5 into 9 and takes 3 away; picking 8 up hides the inventory and
// leaves for "b.qvx". The "hint" button counts its clicks in variable 1: its
// function is global function 0, which a button runs (a click function of 0
// would be none).
const char* const kStart = R"(region x=400 y=560 width=100 height=40 function=1 cursor=2
function "start"
  give_item op1=5
  give_item op1=3
  give_item op1=8
  give_item op1=3
  call op1=2 str1="hint fn"
  call op1=2 str1="on item"
  screen_setup op1=3 str1="on item"
  screen_setup op1=1 str1="hint" op2=700 op3=100 op4=64 op5=64 str2="hint_n" str3="hint_h" str4="hint_p" str5="hint fn"
end
function "door"
  if_item_in_hand op1=5
  add_to_variables op1=0 op2=1 op3=1
end
function "on item"
  if_pair_item op1=0 op2=3
  if_pair_item op1=1 op2=5
  and
  give_item op1=9 op2=5
  remove_item op1=3
  add_to_variables op1=2 op2=1 op3=1
  if_item_in_hand op1=8
  hide_inventory
  change_location str1="b.qvx"
end
function "hint fn"
  add_to_variables op1=1 op2=1 op3=1
end
)";

}  // namespace

TEST(InventoryEndToEnd, PickUseCombineDropButtonsAndALocationChange) {
  TTestGameDir game("inventory");
  game.WriteFile("caption.inv", CaptionFile());
  game.WriteLocation("init.qvx", LocationSource(40, kStart));
  game.WriteLocation("b.qvx", LocationSource(40, "function \"start\"\nend\n"));
  const int p = kPlay;
  const int slot0 = 94, slot1 = 161, bar = 573;
  const std::string input =
      Move(p, slot0, 590) + Click(p + 10, slot0, bar) +  // the bar rises; item 5 into the hand
      Click(p + 22, 400, 560) +                          // used on the door
      Click(p + 34, slot1, bar) + Click(p + 46, slot1, bar, "right") +  // 3 taken and dropped
      Click(p + 58, slot0, bar) + Click(p + 70, slot1, bar) +           // 5 combined with 3
      Move(p + 74, 700, 100) + Click(p + 84, 700, 100) +                // the button
      Move(p + 90, slot0, 590) + Click(p + 102, slot1, bar);            // 8 taken: off to b.qvx

  struct TCheck {
    int frames;
    int hand;
    std::vector<int> items;
    int var0, var1, var2;
    int low, high;
  };
  // The door and the right click both empty the hand: else item 3 would
  // combine with 5.
  const TCheck checks[] = {
      {p + 13, 5, {5, 3, 8}, 0, 0, 0, -1, -1},
      {p + 49, -1, {5, 3, 8}, 1, 0, 0, -1, -1},
      {p + 88, -1, {9, 8}, 1, 1, 1, 3, 5},
      {p + 105, 8, {9, 8}, 1, 1, 1, -1, -1},
      {p + 146, -1, {9, 8}, 1, 1, 1, -1, -1},
  };
  for (const TCheck& c : checks) {
    SCOPED_TRACE(c.frames - p);
    const TRunResult r = game.RunWithInput(c.frames, input);
    ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
    const nlohmann::json& inv = r.State["inventory"];
    EXPECT_EQ(inv["item_in_hand"], c.hand);
    EXPECT_EQ(inv["items"], c.items);
    EXPECT_EQ(Var(r.State, 0), c.var0);
    EXPECT_EQ(Var(r.State, 1), c.var1);
    EXPECT_EQ(Var(r.State, 2), c.var2);
    EXPECT_EQ(inv["pair_low"], c.low);
    EXPECT_EQ(inv["pair_high"], c.high);
    ASSERT_EQ(inv["buttons"].size(), 1u);
    EXPECT_EQ(inv["buttons"][0]["name"], "hint");
    if (c.frames == p + 13) {
      EXPECT_EQ(inv["caption"], "key");
      EXPECT_EQ(inv["slide"], 0);
      EXPECT_EQ(inv["click_function"], 1);
      EXPECT_EQ(inv["hovered_button"], -1);
      EXPECT_EQ(inv["buttons"][0]["picture"], "hint_n");
      EXPECT_EQ(r.State["cursor_item"]["picture"], "inv_005");
      EXPECT_EQ(r.State["cursor_item"]["x"], slot0 + 22 + 25);
      EXPECT_EQ(r.State["cursor_item"]["y"], bar + 22 - 42);
    }
    if (c.frames == p + 105) EXPECT_FALSE(inv["visible"]) << "the script hid the inventory";
    if (c.frames == p + 146) {
      EXPECT_EQ(r.State["location"], "b.qvx");
      EXPECT_TRUE(inv["visible"]) << "a location load shows the inventory again";
    }
  }

  // The button's pictures while the mouse rests on it and while it is held.
  struct THover {
    std::string input;
    int frames;
    int hovered;
    const char* picture;
  };
  const THover hovers[] = {
      {Move(p, 700, 100), p + 2, 0, "hint_h"},
      {Move(p, 700, 100) + std::to_string(p + 1) + " down left\n", p + 2, 0, "hint_p"},
  };
  for (const THover& h : hovers) {
    SCOPED_TRACE(h.picture);
    const TRunResult r = game.RunWithInput(h.frames, h.input);
    ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
    EXPECT_EQ(r.State["inventory"]["hovered_button"], h.hovered);
    EXPECT_EQ(r.State["inventory"]["buttons"][0]["picture"], h.picture);
  }
}
