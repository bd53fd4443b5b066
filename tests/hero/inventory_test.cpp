// The inventory record and its sprites, built in the test without a window:
// combining, the slots after removals, the bar's slide, captions, buttons and
// the saved button record.
#include "hero/inventory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "platform/stream.h"
#include "render/materials.h"
#include "support/scratch_dir.h"

namespace {

struct TInventoryFixture {
  TGLMaterialLibrary library;
  TDummyCube root;
  TInventory inv;
  TInventoryFixture() { CreateInventory(inv, root, &library); }
  void Give(int first, int last) {
    for (int id = first; id <= last; ++id) AddItem(inv, id);
    RefreshSlots(inv);
  }
  // The ids the visible slots show, in slot order.
  std::vector<int> Shown() const {
    std::vector<int> ids;
    for (const THUDSprite* s : inv.Slots)
      if (s->Visible) ids.push_back(std::stoi(s->LibMaterialName().substr(4)));
    return ids;
  }
};

std::vector<int> Range(int first, int last) {
  std::vector<int> v;
  for (int i = first; i <= last; ++i) v.push_back(i);
  return v;
}

}  // namespace

TEST(Inventory, SelectItemPicksUpOrCombines) {
  struct TCase {
    int hand, clicked, hand_after, low, high;
  };
  const TCase cases[] = {
      {5, 3, -1, 3, 5},   // combined, smaller id first
      {3, 5, -1, 3, 5},
      {5, 5, 5, -1, -1},  // the same item again stays in the hand
      {-1, 7, 7, -1, -1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.hand) + " then " + std::to_string(c.clicked));
    TInventory inv;
    inv.ItemInHand = c.hand;
    inv.PairLow = inv.PairHigh = 9;
    SelectItem(inv, c.clicked);
    EXPECT_EQ(inv.ItemInHand, c.hand_after);
    EXPECT_EQ(inv.PairLow, c.low);
    EXPECT_EQ(inv.PairHigh, c.high);
  }
}

TEST(Inventory, SlotsFollowFirstShownAndNeverPointPastTheEnd) {
  TInventoryFixture f;
  f.Give(1, 14);
  EXPECT_EQ(f.Shown(), Range(1, 12)) << "items gained beyond twelve wait";
  RemoveItemAt(f.inv, 0);
  RefreshSlots(f.inv);
  EXPECT_EQ(f.inv.FirstShown, 1);
  EXPECT_EQ(f.Shown(), Range(3, 14)) << "the slots show list entries 2 to 13";
  RemoveItemAt(f.inv, 5);
  RemoveItemAt(f.inv, 99);
  EXPECT_EQ(f.inv.FirstShown, 0);
  EXPECT_EQ(f.inv.Items.size(), 12u);

  // With FirstShown above 0 and few items left, the slots past the end stay
  // empty instead of showing whatever lies beyond the list.
  f.inv.FirstShown = 1;
  f.inv.Items = {4, 5, 6};
  RefreshSlots(f.inv);
  EXPECT_EQ(f.Shown(), (std::vector<int>{5, 6}));
  EXPECT_EQ(SlotItem(f.inv, 2), -1);

  EXPECT_EQ(SlotAt(f.inv, 94, 573), -1) << "the bar starts below the screen";
}

TEST(Inventory, ItemPictureHasAtLeastThreeDigits) {
  const std::pair<int, const char*> cases[] = {{7, "inv_007"}, {42, "inv_042"}, {100, "inv_100"}, {1234, "inv_1234"}};
  for (const auto& [id, name] : cases) EXPECT_EQ(ItemPicture(id), name);
}

TEST(Inventory, TheBarRisesNearTheBottomEdgeAndSinksAboveIt) {
  struct TCase {
    float slide;
    int mouse_y;
    float after;
  };
  // One frame of 0.02 s moves the bar 0.12 of its way.
  const TCase cases[] = {
      {1, 545, 1},     // hidden: above the raise line it stays down
      {1, 551, 0.88f},  // below the line it rises
      {0, 540, 0},     // shown: on the bar it stays up
      {0, 530, 0.12f},  // above the bar it sinks
      {0.5f, 560, 0.38f},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.slide) + " at " + std::to_string(c.mouse_y));
    TInventoryFixture f;
    f.inv.Slide = c.slide;
    PlaceInventory(f.inv);
    InventoryFrame(f.inv, 400, c.mouse_y, 0.02f, false);
    EXPECT_NEAR(f.inv.Slide, c.after, 1e-5);
    EXPECT_NEAR(f.inv.Bar->PositionY, 568 + 64 * c.after, 1e-3);
    EXPECT_NEAR(f.inv.Slots[3]->PositionY, 573 + 64 * c.after, 1e-3);
    EXPECT_NEAR(f.inv.Slots[3]->PositionX, 94 + 200.0, 1e-3);
  }
  TInventoryFixture f;
  for (int frame = 0; frame < 9; ++frame) InventoryFrame(f.inv, 400, 590, 0.02f, false);
  EXPECT_EQ(f.inv.Slide, 0) << "a full slide takes a sixth of a second";
}

TEST(Inventory, CaptionStandsOverTheSlotAndKeepsOffTheLeftEdge) {
  TInventoryFixture f;
  f.inv.Captions[0] = "a rather long caption for the first slot";
  f.inv.Captions[1] = "ok";
  f.Give(1, 2);
  AddItem(f.inv, 65);  // no caption, but a picture
  RefreshSlots(f.inv);
  f.inv.Slide = 0;
  PlaceInventory(f.inv);
  THUDString text;
  LoadFontWidths(text, std::vector<uint8_t>(256, 14), 256);
  text.Height = 26;
  text.Alignment = 1;

  ItemCaption(f.inv, text, 100, 580);
  ASSERT_TRUE(text.Visible);
  EXPECT_EQ(text.Text, f.inv.Captions[0]);
  EXPECT_FLOAT_EQ(text.PositionX + LineOffset(text, 0), 32) << "pushed right to start at x 32";
  EXPECT_EQ(text.PositionY, 525);

  ItemCaption(f.inv, text, 170, 560);
  ASSERT_TRUE(text.Visible);
  EXPECT_EQ(text.Text, "ok");
  EXPECT_FLOAT_EQ(text.PositionX, SlotX(1)) << "a short caption is centred on its slot";

  ItemCaption(f.inv, text, 227, 573);
  EXPECT_TRUE(text.Visible);
  EXPECT_EQ(text.Text, "");
  ItemCaption(f.inv, text, 294, 573);
  EXPECT_FALSE(text.Visible) << "an empty slot has no caption";
  ItemCaption(f.inv, text, 100, 549);
  EXPECT_FALSE(text.Visible) << "24 pixels from the centre is outside the slot";
  ShowInventory(f.inv, false);
  ItemCaption(f.inv, text, 100, 580);
  EXPECT_FALSE(text.Visible);
}

TEST(Inventory, ButtonsShowTheirPicturesAndTheFirstVisibleOneIsHovered) {
  TInventoryFixture f;
  AddButton(f.inv, 4, "map", 100, 100, 40, 20, "map_n", "map_h", "map_p");
  AddButton(f.inv, 5, "map", 300, 300, 10, 10, "x", "y", "z");  // a second "map" is ignored
  AddButton(f.inv, 6, "hint", 110, 100, 40, 20, "hint_n", "hint_h", "hint_p");
  ASSERT_EQ(f.inv.Buttons.size(), 2u);
  EXPECT_EQ(FindButton(f.inv, "hint"), 1);
  EXPECT_EQ(FindButton(f.inv, "none"), -1);
  EXPECT_EQ(f.inv.Buttons[0].Sprite->LibMaterialName(), "") << "no picture until the first frame";

  struct TCase {
    int x, y;
    bool pressed;
    int hovered;
    const char *map, *hint;
  };
  const TCase cases[] = {
      {105, 100, false, 0, "map_h", "hint_n"},  // over both: the first wins
      {105, 100, true, 0, "map_p", "hint_n"},
      {125, 105, false, 1, "map_n", "hint_h"},
      {120, 110, false, -1, "map_n", "hint_n"},  // on the lower edge: outside
      {400, 400, true, -1, "map_n", "hint_n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(InventoryFrame(f.inv, c.x, c.y, 0, c.pressed), c.hovered);
    EXPECT_EQ(f.inv.HoveredButton, c.hovered);
    EXPECT_EQ(f.inv.Buttons[0].Sprite->LibMaterialName(), c.map);
    EXPECT_EQ(f.inv.Buttons[1].Sprite->LibMaterialName(), c.hint);
  }
  ShowButton(f.inv, 0, false);
  ShowButton(f.inv, 7, false);
  EXPECT_EQ(InventoryFrame(f.inv, 105, 100, 0, false), 1) << "a hidden button is passed over";
  ShowInventory(f.inv, false);
  EXPECT_EQ(InventoryFrame(f.inv, 105, 100, 0, false), -1);

  const int children = f.inv.Root->Count();
  ClearButtons(f.inv);
  EXPECT_TRUE(f.inv.Buttons.empty());
  EXPECT_EQ(f.inv.Root->Count(), children - 2) << "the button sprites are freed";
}

TEST(Inventory, ButtonRecordRoundTrip) {
  TInventoryFixture f;
  AddButton(f.inv, 17, std::string(40, 'n'), 123.5f, 456, 64, 32, "normal", "hover", "pressed");
  ShowButton(f.inv, 0, false);
  TBinaryWriter out;
  SaveButton(f.inv.Buttons[0], out);
  ASSERT_EQ(out.Size(), 153u);

  TInventoryFixture g;
  AddButton(g.inv, 0, "def", 0, 0, 0, 0, "", "", "");
  TBinaryReader in(out.Bytes());
  LoadButton(g.inv.Buttons[0], in);
  EXPECT_TRUE(in.AtEnd());
  const TInventoryButton &a = f.inv.Buttons[0], &b = g.inv.Buttons[0];
  EXPECT_EQ(b.Name, std::string(32, 'n'));
  EXPECT_EQ(std::tie(b.NormalImage, b.HoverImage, b.PressedImage, b.Function),
            std::tie(a.NormalImage, a.HoverImage, a.PressedImage, a.Function));
  EXPECT_EQ(std::tie(b.Sprite->Visible, b.Sprite->PositionX, b.Sprite->PositionY, b.Sprite->Width, b.Sprite->Height),
            std::tie(a.Sprite->Visible, a.Sprite->PositionX, a.Sprite->PositionY, a.Sprite->Width, a.Sprite->Height));
  EXPECT_EQ(b.Sprite->LibMaterialName(), "normal");
}

TEST(Inventory, CaptionFileShortOrMissingLeavesTheRestEmptyWithOneWarning) {
  TScratchDir dir("captions");
  std::string full;
  for (int k = 1; k <= 64; ++k) {
    std::string text = "item " + std::to_string(k);
    full += static_cast<char>(text.size()) + text + std::string(32 - text.size(), '\0');
  }
  struct TCase {
    size_t bytes;  // of the full file; npos: no file
    int read;
    bool warned;
  };
  const TCase cases[] = {{full.size(), 64, false}, {33 * 2 + 10, 2, true}, {0, 0, true}, {std::string::npos, 0, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.bytes);
    std::filesystem::remove(dir / "caption.inv");
    if (c.bytes != std::string::npos) dir.Write("caption.inv", full.substr(0, c.bytes));
    TInventory inv;
    inv.Captions[5] = "stale";
    testing::internal::CaptureStderr();
    LoadCaptions(inv, dir.Path);
    const std::string err = testing::internal::GetCapturedStderr();
    for (int k = 1; k <= 64; ++k)
      ASSERT_EQ(inv.Captions[static_cast<size_t>(k - 1)], k <= c.read ? "item " + std::to_string(k) : "") << k;
    EXPECT_EQ(err.find("caption.inv") != std::string::npos, c.warned) << err;
    EXPECT_LE(std::count(err.begin(), err.end(), '\n'), 1);
  }
}
