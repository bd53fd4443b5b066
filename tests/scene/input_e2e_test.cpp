// Mouse and keyboard through the real game in driver mode: scripted input is
// fed into the same input state the window fills, and the state dump shows
// what the clicks and keys did.
#include <gtest/gtest.h>

#include <string>

#include "render/nodes.h"
#include "scene/input.h"
#include "support/game_dir.h"
#include "support/sound_game.h"

namespace {

// The start location fades in for 0.5 s (26 frames of 0.02 s) before play
// and input begin; scripted input starts at this frame.
constexpr int kPlay = 30;

std::string Move(int frame, int x, int y) {
  return std::to_string(frame) + " move " + std::to_string(x) + " " + std::to_string(y) + "\n";
}
std::string Down(int frame, const std::string& key) { return std::to_string(frame) + " down " + key + "\n"; }
std::string Up(int frame, const std::string& key) { return std::to_string(frame) + " up " + key + "\n"; }
// Pressed in `frame`, released in the next.
std::string Click(int frame, int x, int y, const std::string& button = "left") {
  return Move(frame, x, y) + Down(frame, button) + Up(frame + 1, button);
}
std::string Tap(int frame, int vk) { return Down(frame, std::to_string(vk)) + Up(frame + 1, std::to_string(vk)); }

int Var(const TRunResult& r, int i) { return ::Var(r.State, i); }

// Adds 1 to variable `v`.
std::string Count(int v) { return "  add_to_variables op1=" + std::to_string(v) + " op2=1 op3=1\n"; }

// A region around (400, 300) whose function counts clicks in variable 0;
// `start` is the rest of function 0, `extra` goes before the region.
std::string RegionLocation(const std::string& start, const std::string& extra = {}) {
  return LocationSource(40, extra + "region x=400 y=300 width=200 height=200 function=1 cursor=2\n"
                                    "function \"start\"\n" + start + "end\nfunction \"hit\"\n" + Count(0) + "end\n");
}

// A 40-column location whose hero stands on cell (column, row); `extra` holds
// further grid cells, regions and objects, `start` the rest of function 0
// and `functions` the functions after it.
std::string HeroLocation(int column, int row, const std::string& extra, const std::string& start,
                         const std::string& functions = {}) {
  return LocationSource(40, "cell " + std::to_string(column) + " " + std::to_string(row) + " 2\n" + extra +
                                "object layer=1 name=\"hero\" x=0 y=0 width=20 height=40 picture=\"h_stand\"\n"
                                "function \"start\"\n  set_hero str1=\"hero\"\n" +
                                start + "end\n" + functions);
}

const nlohmann::json& Hero(const TRunResult& r) { return r.State["hero"]; }
const nlohmann::json& HeroObject(const TRunResult& r) { return r.State["objects"][r.State["hero"]["index"].get<int>()]; }

}  // namespace

TEST(InputEndToEnd, AClickIsTheReleaseAndTheNextWaitsForTheDelayAndTheGamesWait) {
  TTestGameDir game("click_delay");
  game.WriteLocation("init.qvx", RegionLocation(""));
  const std::string held = Move(kPlay, 400, 300) + Down(kPlay + 1, "left");
  auto r = game.RunWithInput(kPlay + 5, held);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(Var(r, 0), 0) << "pressing and holding the button is no click";

  // Released in frame kPlay+5; a second click 0.04 s later is ignored, a
  // third after the 0.2 s delay is taken.
  const std::string clicks = held + Up(kPlay + 5, "left") + Click(kPlay + 7, 400, 300) + Click(kPlay + 20, 400, 300);
  r = game.RunWithInput(kPlay + 6, clicks);
  EXPECT_EQ(Var(r, 0), 1);
  r = game.RunWithInput(kPlay + 18, clicks);
  EXPECT_EQ(Var(r, 0), 1) << "a click within 0.2 s of the last is ignored";
  r = game.RunWithInput(kPlay + 25, clicks);
  EXPECT_EQ(Var(r, 0), 2);

  // While the game waits (until about frame 76) clicks are ignored; a right
  // click without a spoken line does not end the wait.
  game.WriteLocation("init.qvx", RegionLocation("  wait op1=1000\n"));
  const std::string input = Click(kPlay, 400, 300) + Click(kPlay + 3, 400, 300, "right") + Click(90, 400, 300);
  r = game.RunWithInput(kPlay + 6, input);
  EXPECT_EQ(Var(r, 0), 0);
  EXPECT_GT(r.State["wait_time"].get<double>(), 0.7);
  r = game.RunWithInput(95, input);
  EXPECT_EQ(Var(r, 0), 1) << "after the wait clicks are taken again";
}

TEST(InputEndToEnd, EveryEnabledRegionUnderThePointerRunsInRegionOrder) {
  TTestGameDir game("regions");
  game.WriteLocation("init.qvx", LocationSource(40,
      "region x=400 y=300 width=200 height=200 function=1 cursor=2\n"
      "region x=450 y=300 width=200 height=200 function=2 cursor=2\n"
      "region x=420 y=300 width=100 height=100 function=3 cursor=2\n"
      "region x=700 y=100 width=50 height=50 function=3 cursor=2\n"
      "function \"start\"\n  set_region op1=2 op2=0\nend\n"
      "function \"first\"\n" + Count(0) + Count(2) + "end\n"
      // Copies variable 0: 1 only if "first" ran before.
      "function \"second\"\n  variable_op op1=2 op2=1 op3=0\n" + Count(2) + "end\n"
      "function \"other\"\n" + Count(3) + "end\n"));
  auto r = game.RunWithInput(kPlay + 3, Click(kPlay, 420, 300));
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(Var(r, 2), 2) << "both overlapping regions ran";
  EXPECT_EQ(Var(r, 1), 1) << "region 0 ran before region 1";
  EXPECT_EQ(Var(r, 3), 0) << "a disabled region and one elsewhere did not run";
}

TEST(InputEndToEnd, AHiddenPointerTakesNoClickUnlessSomethingIsDragged) {
  TTestGameDir game("hidden");
  const std::string box = "object layer=1 name=\"box\" x=50 y=50 width=10 height=10 picture=\"\"\n";
  game.WriteLocation("init.qvx", RegionLocation("  hide_cursor\n", box));
  const std::string input = Click(kPlay, 420, 310);
  auto r = game.RunWithInput(kPlay + 3, input);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_FALSE(r.State["cursor"]["visible"]);
  EXPECT_EQ(Var(r, 0), 0);

  game.WriteLocation("init.qvx", RegionLocation("  hide_cursor\n  drag_object str1=\"box\"\n", box));
  r = game.RunWithInput(kPlay + 3, input);
  EXPECT_EQ(Var(r, 0), 1) << "while an object is dragged the click is taken";
  EXPECT_EQ(r.State["drag_object"], 0);
  EXPECT_EQ(r.State["objects"][0]["x"], 420) << "the dragged object follows the mouse";
  EXPECT_EQ(r.State["objects"][0]["y"], 310);
}

TEST(InputEndToEnd, ThePointerPictureTheWalkMarkerAndAClickOnTheHero) {
  TTestGameDir game("pointer");
  const std::string extra =
      "cell 30 25 1\n"
      "region x=500 y=200 width=100 height=100 function=0 cursor=3\n"
      "region x=760 y=20 width=80 height=40 function=0 cursor=5\n";
  // A click on the hero runs his global function.
  game.WriteLocation("init.qvx", HeroLocation(10, 20, extra,
                                              "  hero_setup op1=-1 op2=20 op3=40\n"
                                              "  call op1=2 str1=\"on hero\"\n"
                                              "  hero_setup op1=-2 str1=\"on hero\"\n",
                                              "function \"on hero\"\n" + Count(5) + "end\n"));
  auto r = game.RunWithInput(kPlay + 3, Click(kPlay, 205, 390));
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(Var(r, 5), 1);
  EXPECT_FALSE(Hero(r)["walking"]);
  struct TCase {
    int x, y;
    const char* picture;
    bool feet;
  };
  const TCase cases[] = {
      {200, 370, "cursor00", false},  // the hero's box: 20 by 40 around (200, 400)
      {500, 200, "cursor03", false},  // region 0
      {750, 20, "cursor01", false},   // region 1, but in the menu button's corner
      {400, 300, "cursor01", true},   // free ground
      {610, 505, "cursor01", false},  // cell (30, 25) is blocked
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    r = game.RunWithInput(kPlay + 2, Move(kPlay, c.x, c.y));
    ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
    EXPECT_EQ(r.State["cursor"]["picture"], c.picture);
    EXPECT_EQ(r.State["cursor"]["x"], c.x + 22);
    EXPECT_EQ(r.State["cursor"]["y"], c.y + 22);
    EXPECT_EQ(r.State["feet_marker"]["visible"], c.feet);
    if (c.feet) {
      EXPECT_EQ(r.State["feet_marker"]["x"], c.x + 52);
      EXPECT_EQ(r.State["feet_marker"]["y"], c.y + 16);
    }
  }

  // The hero's box shrinks with the hero: at half size 30 pixels above his
  // centre is no longer on him.
  game.WriteLocation("init.qvx", HeroLocation(10, 20, extra,
                                              "  hero_setup op1=-1 op2=20 op3=40\n"
                                              "  hero_scaling op1=0 op2=0 op3=600 op4=500 op5=500\n"));
  r = game.RunWithInput(kPlay + 2, Move(kPlay, 200, 370));
  EXPECT_EQ(r.State["cursor"]["picture"], "cursor01");
  r = game.RunWithInput(kPlay + 2, Move(kPlay, 200, 385));
  EXPECT_EQ(r.State["cursor"]["picture"], "cursor00");
}

TEST(InputEndToEnd, ABoundKeyRunsPressHoldAndRelease) {
  TTestGameDir game("keys");
  // Entry 1 is the left arrow (37) after every location load.
  game.WriteLocation("init.qvx", LocationSource(40,
      "function \"start\"\n"
      "  bind_key_press op1=1 str1=\"press\"\n"
      "  bind_key_hold op1=1 str1=\"hold\"\n"
      "  bind_key_release op1=1 str1=\"release\"\n"
      "end\n"
      "function \"press\"\n" + Count(0) + "end\n"
      "function \"hold\"\n" + Count(1) + "end\n"
      "function \"release\"\n" + Count(2) + "end\n"));
  const std::string input =
      Down(kPlay, "37") + Up(kPlay + 3, "37") +           // three frames down
      Tap(kPlay + 10, 37) +                               // one frame down
      Down(kPlay + 20, "37") + Up(kPlay + 22, "37");      // two frames down
  auto r = game.RunWithInput(kPlay + 5, input);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(Var(r, 0), 1);
  EXPECT_EQ(Var(r, 1), 2) << "held in the two frames after the press";
  EXPECT_EQ(Var(r, 2), 1);
  EXPECT_EQ(r.State["keys"][1]["state"], 0);

  r = game.RunWithInput(kPlay + 15, input);
  EXPECT_EQ(Var(r, 0), 2);
  EXPECT_EQ(Var(r, 2), 1) << "a key up after one frame runs no release";
  EXPECT_EQ(r.State["keys"][1]["state"], 1);

  r = game.RunWithInput(kPlay + 25, input);
  EXPECT_EQ(Var(r, 0), 2) << "the press after a one-frame tap goes straight to holding";
  EXPECT_EQ(Var(r, 1), 4);
  EXPECT_EQ(Var(r, 2), 2);
}

TEST(InputEndToEnd, EscSkipsACutSceneAndForgetsItsKeyPresses) {
  TTestGameDir game("skip");
  game.WriteLocation("init.qvx", LocationSource(40,
      "function \"start\"\n"
      "  bind_key_press op1=5 str1=\"space\"\n"
      "  set_skip_location str1=\"after.qvx\"\n"
      "  enable_input op1=0\n"
      "end\n"
      "function \"space\"\n" + Count(1) + "end\n"));
  game.WriteLocation("after.qvx", LocationSource(40,
      "function \"start\"\n  bind_key_press op1=5 str1=\"space\"\nend\n"
      "function \"space\"\n" + Count(0) + "end\n"));
  // Space goes down and up between two frames of the cut scene; Esc is let
  // go in frame kPlay+6 and seen in the frame after.
  const std::string input = Down(kPlay + 2, "32") + Up(kPlay + 2, "32") + Tap(kPlay + 5, 27);
  auto r = game.RunWithInput(kPlay + 8, input);
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(r.State["location"], "after.qvx");
  EXPECT_GT(r.State["location_timer"].get<double>(), 0.9);
  EXPECT_EQ(r.State["previous_location"], "init.qvx");

  r = game.RunWithInput(110, input);
  EXPECT_EQ(r.State["location"], "after.qvx");
  EXPECT_TRUE(r.State["input_enabled"]);
  EXPECT_EQ(Var(r, 0), 0) << "the space press of the cut scene reached the new location";
  EXPECT_EQ(Var(r, 1), 0);

  r = game.RunWithInput(115, input + Tap(110, 32));
  EXPECT_EQ(Var(r, 0), 1) << "space is bound in the new location";
}

TEST(InputEndToEnd, EscOpensTheMenuOnlyWhileTheMenuIsEnabledF5RunsTheDayFastF3Loads) {
  TTestGameDir game("quick");
  game.WriteLocation("init.qvx", LocationSource(40, "function \"start\"\n  enable_menu op1=1\nend\n"));
  game.WriteLocation("loadgame.qvx", LocationSource(40, "function \"start\"\n" + Count(7) + "end\n"));
  auto r = game.RunWithInput(kPlay + 4, Tap(kPlay, 27));
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_TRUE(r.State["menu_active"]);
  EXPECT_EQ(r.State["menu_page"], 1);

  game.WriteLocation("init.qvx", LocationSource(40, "function \"start\"\nend\n"));
  r = game.RunWithInput(kPlay + 4, Tap(kPlay, 27));
  EXPECT_FALSE(r.State["menu_active"]);

  // Ten frames with F5 down: a day lasts four seconds.
  r = game.RunWithInput(kPlay + 12, Down(kPlay, "116") + Up(kPlay + 10, "116"));
  EXPECT_NEAR(r.State["day_phase"].get<double>(), 10 * 0.02 / 4, 1e-5);

  // F2 saves, then F3 takes the loader location to load that save.
  r = game.RunWithInput(kPlay + 5, Tap(kPlay, 113) + Tap(kPlay + 2, 114));
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_EQ(r.State["location"], "loadgame.qvx");
  EXPECT_EQ(r.State["pending_load"], "quick.save");
  EXPECT_EQ(Var(r, 7), 1) << "the loader's function 0 ran";
  EXPECT_GT(r.State["fade_level"].get<double>(), 0.8) << "the loader fades in";
}

TEST(InputEndToEnd, AGroundClickWalksTheHeroAlongTheFoundRouteAndAnyClickStopsHim) {
  TTestGameDir game("walk");
  // Straight along row 20 from cell (5, 20); a region without a function
  // around (600, 400) takes the click and gives no walk.
  game.WriteLocation("init.qvx",
                     HeroLocation(5, 20, "region x=600 y=400 width=100 height=100 function=0 cursor=1\n", ""));
  auto r = game.RunWithInput(kPlay + 3, Click(kPlay, 600, 400));
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_FALSE(Hero(r)["walking"]);
  EXPECT_TRUE(Hero(r)["waypoints"].empty());
  EXPECT_EQ(HeroObject(r)["x"], 100);

  const std::string input = Click(kPlay, 305, 410);
  r = game.RunWithInput(kPlay + 3, input);
  EXPECT_TRUE(Hero(r)["walking"]);
  EXPECT_EQ(Hero(r)["waypoints"], nlohmann::json::parse("[[300, 400]]"));
  EXPECT_FALSE(r.State["input_enabled"]) << "a walk takes input until it ends";
  EXPECT_FALSE(r.State["feet_marker"]["visible"]);

  r = game.RunWithInput(kPlay + 120, input);
  EXPECT_FALSE(Hero(r)["walking"]);
  EXPECT_EQ(HeroObject(r)["x"], 300);
  EXPECT_EQ(HeroObject(r)["y"], 400);
  EXPECT_TRUE(r.State["input_enabled"]);

  for (const char* button : {"left", "right"}) {
    SCOPED_TRACE(button);
    r = game.RunWithInput(kPlay + 25, Click(kPlay, 705, 410) + Click(kPlay + 20, 400, 100, button));
    EXPECT_FALSE(Hero(r)["walking"]);
    EXPECT_TRUE(r.State["input_enabled"]);
    const double x = HeroObject(r)["x"].get<double>();
    EXPECT_GT(x, 100);
    EXPECT_LT(x, 400) << "stopped where it stood, not walking to the second click";
  }
}

TEST(InputEndToEnd, ARightClickSkipsASpokenLineUnlessTheLeftButtonGoesUpWithIt) {
  TTestGameDir game("spoken_skip");
  WriteTone(game, "line.wav", 2000);
  WriteSoundSet(game, "t.set", "sample name=\"line\" file=\"line.wav\" loop=0 comment=1\n");
  WriteCommentTable(game, {{1, "A line"}});
  game.WriteLocation("init.qvx", RegionLocation("  load_sound_set str1=\"t.set\"\n  sound op1=0 op5=1 str1=\"line\"\n"));
  auto r = game.RunWithInput(kPlay + 3, Click(kPlay, 400, 300, "right"));
  ASSERT_EQ(r.ExitCode, 0) << r.Stderr;
  EXPECT_LT(r.State["wait_time"].get<double>(), 0) << "the wait is over";
  EXPECT_FALSE(r.State["subtitle_shown"]);
  EXPECT_EQ(Var(r, 0), 0) << "the click ran no region";

  r = game.RunWithInput(kPlay + 3, Move(kPlay, 400, 300) + Down(kPlay, "left") + Down(kPlay, "right") +
                                       Up(kPlay + 1, "left") + Up(kPlay + 1, "right"));
  EXPECT_GT(r.State["wait_time"].get<double>(), 1.0) << "released with the left button it is no right click";
  EXPECT_TRUE(r.State["subtitle_shown"]);
  EXPECT_EQ(r.State["sound"]["subtitle"], "A line");
}

// The end-to-end games do not scroll: a dragged object in a scrolled view, on
// a scene record.
TEST(InputOnARecord, ADraggedObjectStaysUnderThePointerInAScrolledView) {
  TDummyCube root;
  TqvxScene scene;
  scene.Cursor = root.AddNewChild<THUDSprite>();
  scene.Objects.resize(1);
  scene.DragObject = 0;
  scene.ScrollX = 250;
  scene.Input.CursorX = 300;
  scene.Input.CursorY = 200;
  UpdateCursor(scene);
  EXPECT_EQ(scene.Objects[0].X, 550) << "location x = screen x + scroll";
  EXPECT_EQ(scene.Objects[0].Y, 200);
}
