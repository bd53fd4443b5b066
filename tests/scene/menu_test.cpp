// The main menu: hit rectangles, what each page holds, the clicks of the main
// page, the panels and the authors page, and the whole menu through the real
// program from the start location's open to a new game and back.
#include <gtest/gtest.h>

#include "menu/menu.h"
#include "scene/input.h"
#include "scene/menu_frame.h"
#include "scene/scene_fixture.h"

namespace {

constexpr int kLeft = 1;
// "Пусто" in the game's code page.
const std::string kEmpty = "\xCF\xF3\xF1\xF2\xEE";

// A slot file: picture number, then the caption as a str50.
std::string SlotFile(int32_t picture, const std::string& caption) {
  std::string bytes(55, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((static_cast<uint32_t>(picture) >> (8 * i)) & 0xFF);
  bytes[4] = static_cast<char>(caption.size());
  bytes.replace(5, caption.size(), caption);
  return bytes;
}

class MenuTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    game_->WriteArchive("GFX/menu.wgw", {{"m_bgr", 8, 8, 0x000000FF}, {"fnt1", 16, 16, 0xFFFFFFFF}});
    game_->WriteFile("save/slot02.save", SlotFile(7, "01.02.2026 10:11:12"));
    game_->WriteFile("save/slot03.save", SlotFile(3, ""));
    s_.ScriptRoot = gl_.Root().AddNewChild<TDummyCube>();
    s_.Cursor = gl_.Root().AddNewChild<THUDSprite>();
    s_.MenuButton = gl_.Root().AddNewChild<THUDSprite>();
    Run("  reload_menu\n");
  }
  // Frames with the pointer at (x, y) and the left button as given.
  void Frame(int x, int y, bool left = false, bool esc = false) {
    s_.Input.CursorX = x;
    s_.Input.CursorY = y;
    s_.Input.SetKey(kLeft, left);
    s_.EscReleased = esc;
    MenuFrame(s_, 0.02f);
  }
  void ClickAt(int x, int y) {
    Frame(x, y, true);
    Frame(x, y, false);
  }
  int UsedButtons() const {
    int n = 0;
    for (const TMenuButton& b : s_.Menu.Buttons) n += b.Used;
    return n;
  }
  bool Shown(int entry) const { return ButtonShown(s_.Menu, s_.MenuButtonIds[entry]); }
};

TEST_F(MenuTest, HitRectanglesAreStrictOnAllFourSides) {
  BuildMenuPage(s_, kMainPage);
  const int32_t newGame = s_.MenuButtonIds[0];  // hit rectangle (301, 106, 166, 31)
  const struct {
    int X, Y;
    bool Hovered;
  } kCases[] = {{301, 120, false}, {302, 120, true},  {467, 120, false}, {466, 120, true},
                {350, 106, false}, {350, 107, true},  {350, 137, false}, {350, 136, true}};
  for (const auto& c : kCases)
    EXPECT_EQ(IsButtonHovered(s_.Menu, newGame, c.X, c.Y), c.Hovered) << c.X << "," << c.Y;
  EXPECT_FALSE(IsButtonHovered(s_.Menu, 31, 350, 120)) << "a free slot is never hovered";

  ClearMenuPage(s_.Menu);
  for (int i = 0; i < kMenuButtons; ++i) EXPECT_EQ(AddMenuButton(s_.Menu, "m_bgr", "", "", 0, 0, 0, 8, 8), i);
  EXPECT_EQ(AddMenuButton(s_.Menu, "m_bgr", "", "", 0, 0, 0, 8, 8), -1);
}

TEST_F(MenuTest, PagesHoldTheirButtonsSlotsAndCaptions) {
  const struct {
    int32_t Page;
    int Buttons, Texts;
  } kPages[] = {{kMainPage, 6, 0}, {kLoadPage, 15, 12}, {kSavePage, 15, 12}, {kAuthorsPage, 3, 0}, {7, 0, 0}};
  for (const auto& p : kPages) {
    BuildMenuPage(s_, p.Page);
    int texts = 0;
    for (const THUDString* t : s_.Menu.Texts) texts += t->Visible;
    EXPECT_EQ(UsedButtons(), p.Buttons) << "page " << p.Page;
    EXPECT_EQ(texts, p.Texts) << "page " << p.Page;
    EXPECT_EQ(s_.CurrentPage, p.Page);
  }
  // The main page read the slots: its entries hide until hovered.
  BuildMenuPage(s_, kMainPage);
  for (int k = 0; k < 5; ++k) EXPECT_FALSE(Shown(k));
  EXPECT_EQ(s_.SlotPictures[1], 7);
  EXPECT_EQ(s_.SlotNames[1], "01.02.2026 10:11:12");
  EXPECT_EQ(s_.SlotPictures[0], 0) << "a missing slot file is an empty slot";

  BuildMenuPage(s_, kLoadPage);
  const auto slot = [&](int n) { return s_.Menu.Buttons[s_.SlotButtonIds[n - 1]].Sprite; };
  EXPECT_EQ(slot(2)->LibMaterialName(), "sav07");
  EXPECT_EQ(slot(1)->LibMaterialName(), "sav00");
  EXPECT_EQ(slot(2)->PositionX, 350);
  EXPECT_EQ(slot(2)->PositionY, 190);
  EXPECT_EQ(s_.Menu.Texts[1]->Text, "01.02.2026 10:11:12");
  EXPECT_EQ(s_.Menu.Texts[1]->Height, 12);
  EXPECT_EQ(s_.Menu.Texts[2]->Text, kEmpty) << "a used slot with no caption";
  EXPECT_EQ(s_.Menu.Texts[2]->Height, 16);
  EXPECT_EQ(s_.Menu.Texts[0]->PositionY, 230);
}

TEST_F(MenuTest, TheMainPageWithoutAGameBehindItOffersNoSaveAndKeepsEsc) {
  Run("  open_menu op1=1 op2=-1\n");
  ASSERT_TRUE(s_.MenuActive);
  EXPECT_EQ(s_.Menu.ResumeAllowed, 0);
  Frame(380, 160);  // over the save entry
  EXPECT_FALSE(Shown(1));
  ClickAt(380, 160);
  Frame(380, 160, false, true);
  EXPECT_EQ(s_.Menu.PageRequest, -1);
  EXPECT_TRUE(s_.MenuActive) << "Esc does not close a menu with nothing to resume";

  Frame(384, 203);  // over load
  EXPECT_TRUE(Shown(2));
  EXPECT_FALSE(Shown(0)) << "the entries show only under the pointer";
  // Pressed over load, released over authors: the release decides.
  Frame(384, 203, true);
  Frame(394, 252, false);
  EXPECT_EQ(s_.Menu.PageRequest, kAuthorsPage);
  Frame(394, 252);
  EXPECT_EQ(s_.CurrentPage, kAuthorsPage) << "the page changes on the next frame";
  Frame(138, 483);
  EXPECT_EQ(s_.Menu.Buttons[s_.MenuButtonIds[0]].Sprite->LibMaterialName(), "m_butb2");
  Frame(138, 483, false, true);
  EXPECT_EQ(s_.CurrentPage, kAuthorsPage) << "Esc does nothing on the authors page";
  ClickAt(138, 483);
  Frame(0, 0);
  EXPECT_EQ(s_.CurrentPage, kMainPage);

  // With a game behind it Esc goes back to the game.
  s_.Menu.ResumeAllowed = 1;
  Frame(380, 160);
  EXPECT_TRUE(Shown(1));
  Frame(0, 0, false, true);
  EXPECT_FALSE(s_.MenuActive);
}

TEST_F(MenuTest, TheLoadPanelLightsAndTakesOnlyUsedSlots) {
  RefreshSlots(s_);
  BuildMenuPage(s_, kLoadPage);
  ShowMenu(s_);
  const auto picture = [&](int n) { return s_.Menu.Buttons[s_.SlotButtonIds[n - 1]].Sprite->LibMaterialName(); };
  Frame(220, 190);  // slot 1, empty
  EXPECT_EQ(picture(1), "sav00");
  ClickAt(220, 190);
  EXPECT_TRUE(s_.MenuActive) << "an empty slot cannot be loaded";
  Frame(350, 190);
  EXPECT_EQ(picture(2), "Lsav07");
  EXPECT_EQ(picture(1), "sav00");

  BuildMenuPage(s_, kSavePage);
  Frame(220, 190);
  EXPECT_EQ(picture(1), "Lsav00") << "the save panel lights empty slots too";
}

TEST_F(MenuTest, TheMenuButtonLightsUpAndOpensTheMenuWhenEnabled) {
  s_.Input.CursorX = 750;
  s_.Input.CursorY = 20;
  UpdateCursor(s_);
  EXPECT_EQ(s_.MenuButton->LibMaterialName(), "menubm");
  s_.Input.CursorX = 730;
  s_.Input.CursorY = 40;
  UpdateCursor(s_);
  EXPECT_EQ(s_.MenuButton->LibMaterialName(), "menubo") << "the highlight needs x > 736 and y < 44";

  for (int32_t enabled : {0, 1}) {
    s_.MenuEnabled = enabled;
    s_.ClickDelay = -1;
    s_.Input.SetKey(kLeft, true);
    LeftClick(s_, 0.02f);
    s_.Input.SetKey(kLeft, false);
    LeftClick(s_, 0.02f);
    EXPECT_EQ(s_.MenuActive, enabled == 1) << "clicks right of 722 above 48 reach the button";
  }
  EXPECT_EQ(s_.CurrentPage, kMainPage);
  EXPECT_EQ(s_.Menu.ResumeAllowed, 1);
}

TEST(MenuEndToEnd, TheStartMenuBeginsANewGameAndEscReturnsToIt) {
  TTestGameDir game("menu_e2e");
  game.WriteArchive("GFX/menu.wgw", {{"m_bgr", 8, 8, 0x000000FF}, {"fnt1", 16, 16, 0xFFFFFFFF}});
  game.WriteLocation("init.qvx", LocationSource(40, "function \"start\"\n  reload_menu\n  open_menu op1=1 op2=-1\nend\n"));
  game.WriteLocation("mov04.qvx", LocationSource(40, "function \"start\"\n  enable_menu op1=2\nend\n"));
  // New game at frame 5, then Esc once the new location has faded in.
  const std::string input =
      "3 move 382 127\n5 down left\n6 up left\n60 down 27\n61 up 27\n";
  const TRunResult r = game.RunWithInput(64, input);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(r.State["location"], "mov04.qvx");
  const nlohmann::json& menu = r.State["menu"];
  EXPECT_TRUE(menu["active"]);
  EXPECT_EQ(menu["page"], 1);
  EXPECT_EQ(menu["resume_allowed"], 1);
  EXPECT_EQ(menu["slots"].size(), 12u);
  EXPECT_EQ(r.State["menu_enabled"], 2);

  // Quit ends the program normally.
  const TRunResult quit = game.RunWithInput(200, "3 move 406 292\n5 down left\n6 up left\n");
  EXPECT_EQ(quit.ExitCode, 0) << quit.Stderr;
}

}  // namespace
