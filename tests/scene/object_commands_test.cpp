#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "render/materials.h"
#include "scene/location_commands.h"
#include "scene/object_commands.h"
#include "scene_fixture.h"

namespace {

constexpr float kFrame = 0.02f;

// The shared scene with a rock at (100, 200) on layer 1.
class ObjectCommandsTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    rock_ = Object("rock", 100, 200);
  }
  int32_t Object(const std::string& name, float x, float y) {
    const int32_t i = AddObject(s_, name, 1);
    s_.Objects[size_t(i)].X = x;
    s_.Objects[size_t(i)].Y = y;
    return i;
  }
  TqvxObject& Obj(int32_t i) { return s_.Objects[size_t(i)]; }

  int32_t rock_ = -1;
};

TEST_F(ObjectCommandsTest, SetPropertiesWithSideEffectsAndOutOfRangeNumbers) {
  Run("set_properties str1=\"rock\" op1=12 op2=1 op3=10");
  EXPECT_EQ(Obj(rock_).PivotX, 10);
  EXPECT_EQ(Obj(rock_).X, 110) << "the pivot's value is added to the position";
  Run("set_properties str1=\"rock\" op1=14 op2=2 op3=60 op4=80");
  EXPECT_FLOAT_EQ(Obj(rock_).Radius, 50) << "half the diagonal of 60 by 80";

  // Numbers outside 0..32 are skipped one by one; the rest of the list applies.
  Run("set_properties str1=\"rock\" op1=-1 op2=2 op3=5 op4=7\n"
      "set_properties str1=\"rock\" op1=32 op2=3 op3=9 op4=1 op5=1\n"
      "set_properties str1=\"rock\" op1=2147483647 op2=3 op3=1 op4=1 op5=1");
  EXPECT_EQ(Obj(rock_).UserValue, 7);
  EXPECT_EQ(Obj(rock_).TargetY, 9);
  EXPECT_FALSE(Obj(rock_).MovingToTarget);
  EXPECT_FALSE(Obj(rock_).BoundsOn);
  EXPECT_EQ(Obj(rock_).MinX, 0);

  Run("add_to_properties str1=\"rock\" op1=1 op2=2 op3=5 op4=-3");
  EXPECT_EQ(Obj(rock_).X, 115);
  EXPECT_EQ(Obj(rock_).Y, 197);

  // 60: every listed bound draws a number, also for a property that is skipped.
  SeedRandom(s_, 99);
  const int32_t tx = Random(s_, 100), ty = Random(s_, 50);
  Random(s_, 7);
  const uint32_t after = s_.RandomState;
  SeedRandom(s_, 99);
  Run("randomize_properties str1=\"rock\" op1=31 op2=3 op3=100 op4=50 op5=7");
  EXPECT_EQ(Obj(rock_).TargetX, tx);
  EXPECT_EQ(Obj(rock_).TargetY, ty);
  EXPECT_EQ(s_.RandomState, after);
}

TEST_F(ObjectCommandsTest, PlaceWithAndWithoutAnAnchor) {
  Obj(rock_).HotSpots = {{10, 100, 200}};
  const int32_t tree = Object("tree", 300.5f, 51.5f);
  for (const std::string anchor : {"", "nobody", "tree"}) {
    SCOPED_TRACE(anchor);
    SeedRandom(s_, 1234);
    const int32_t rx = Random(s_, 30);
    const int32_t ry = Random(s_, 40);
    SeedRandom(s_, 1234);
    const float spotDx = Obj(rock_).HotSpots[0].X - Obj(rock_).X;
    Run("place_object str1=\"rock\" str2=\"" + anchor + "\" op1=10 op2=20 op3=30 op4=40");
    // The anchor's position is rounded, halves to even: 300.5 -> 300, 51.5 -> 52.
    const float bx = anchor == "tree" ? 300 : 0, by = anchor == "tree" ? 52 : 0;
    EXPECT_EQ(Obj(rock_).X, bx + 10 + rx);
    EXPECT_EQ(Obj(rock_).Y, by + 20 + ry);
    EXPECT_EQ(Obj(rock_).HotSpots[0].X - Obj(rock_).X, spotDx) << "hot spots move along";
  }
  EXPECT_EQ(Obj(tree).X, 300.5f);
}

TEST_F(ObjectCommandsTest, PropertiesAndVariables) {
  const std::pair<float, int32_t> cases[] = {{2.5f, 2}, {3.5f, 4}, {-2.5f, -2}, {-3.7f, -4}, {1e10f, 2147483647}};
  for (const auto& [value, rounded] : cases) {
    Obj(rock_).UserValue = value;
    Run("property_to_variable str1=\"rock\" op1=5 op2=0");
    EXPECT_EQ(s_.Variables[5], rounded) << value;
  }
  Run("property_to_variable str1=\"rock\" op1=5 op2=33");
  EXPECT_EQ(s_.Variables[5], 2147483647) << "property 33 reads nothing";

  s_.Variables[10] = -7;
  Run("variable_to_property str1=\"rock\" op1=10 op2=4\n"
      "variable_to_property str1=\"rock\" op1=1024 op2=0\n"
      "variable_to_property str1=\"rock\" op1=10 op2=-1");
  EXPECT_EQ(Obj(rock_).Rotation, -7);
  EXPECT_EQ(Obj(rock_).UserValue, 1e10f);
}

TEST_F(ObjectCommandsTest, BoundsNudgeAndSpin) {
  // Op1 1 sets and turns the bounds on, 0 turns them off and keeps them, 2 is nothing.
  Run("set_bounds str1=\"rock\" op1=1 op2=50 op3=150 op4=100 op5=210");
  TqvxObject& o = Obj(rock_);
  EXPECT_EQ(std::tuple(o.BoundsOn, o.MinX, o.MaxX, o.MinY, o.MaxY), std::tuple(true, 50, 150, 100, 210));
  Run("set_bounds str1=\"rock\" op1=2\nset_bounds str1=\"rock\" op1=0");
  EXPECT_EQ(std::tuple(o.BoundsOn, o.MaxX), std::tuple(false, 150));

  Obj(rock_).HotSpots = {{10, 100, 200}};
  Run("nudge_object str1=\"rock\" op1=100 op2=-50", 0.02f);
  // 100 and -50 pixels a second for one 0.02 s frame; the hot spots move along.
  EXPECT_EQ(std::tuple(Obj(rock_).X, Obj(rock_).Y, Obj(rock_).HotSpots[0].X), std::tuple(102, 199, 102));

  Run("spin_object str1=\"rock\" op1=0 op2=90");
  for (int i = 0; i < 25; ++i) MoveObject(s_, rock_, kFrame);
  EXPECT_NEAR(Obj(rock_).Rotation, 45, 1e-3);
  Run("spin_object str1=\"rock\" op1=1");
  MoveObject(s_, rock_, kFrame);
  EXPECT_NEAR(Obj(rock_).Rotation, 45, 1e-3);
}

TEST_F(ObjectCommandsTest, MoveToAPointArrivesAndRunsTheArrivalFunction) {
  // Function 0 is the location's entry; an arrival function is 1 or above.
  Define("function \"start\"\nend\nfunction \"arrive\"\n  spin_object str1=\"rock\" op1=0 op2=1\nend\n");
  Run("set_arrival_function str1=\"rock\" op1=1 str2=\"arrive\"");
  EXPECT_EQ(Obj(rock_).ArrivalFunction, 1);
  Run("move_object_to str1=\"rock\" op1=100 op2=100 op3=200");
  EXPECT_FLOAT_EQ(Obj(rock_).Heading, 90) << "a point above is straight up";

  // From (100, 200) to each point in turn; every trip ends on the point.
  const std::pair<int, int> points[] = {{100, 100}, {300, 150}, {120, 400}, {-50, 380}, {0, 0}};
  for (const auto& [x, y] : points) {
    SCOPED_TRACE(std::to_string(x) + "," + std::to_string(y));
    Obj(rock_).Spinning = false;
    Run("move_object_to str1=\"rock\" op1=" + std::to_string(x) + " op2=" + std::to_string(y) + " op3=200");
    int frames = 0;
    while (Obj(rock_).MovingToTarget && frames < 500) {
      MoveObject(s_, rock_, kFrame);
      ++frames;
    }
    EXPECT_EQ(Obj(rock_).X, x);
    EXPECT_EQ(Obj(rock_).Y, y);
    EXPECT_TRUE(Obj(rock_).Spinning) << "the arrival function ran";
    EXPECT_LT(frames, 150);
  }

  Run("set_arrival_function str1=\"rock\" op1=0 str2=\"arrive\"\n"
      "set_arrival_function str1=\"rock\" op1=1 str2=\"nothing\"");
  EXPECT_EQ(Obj(rock_).StoredFunction, 1);
  EXPECT_EQ(Obj(rock_).ArrivalFunction, -1);
}

TEST_F(ObjectCommandsTest, DraggingAMissingObjectDropsTheDraggedOne) {
  Run("drag_object str1=\"rock\"");
  EXPECT_EQ(s_.DragObject, rock_);
  Run("drag_object str1=\"nobody\"");
  EXPECT_EQ(s_.DragObject, -1);
}

// Command 40's selector: 0 location, 1 person, 2 the menu pair when given,
// 3 system, anything else the location.
TEST_F(ObjectCommandsTest, ImagePropertySelectsTheArchive) {
  const int black = s_.SystemLibrary->IndexOf("absblack");
  ASSERT_GE(black, 0);
  Run("set_image_property op1=3 op2=6 op3=250 str1=\"absblack\"");
  EXPECT_FLOAT_EQ(s_.SystemLibrary->At(black).Diffuse[3], 0.25f) << "library 3 is the system's";
  Run("set_image_property op1=2 op2=6 op3=0 op4=1");
  EXPECT_FLOAT_EQ(s_.SystemLibrary->At(black).Diffuse[3], 0.25f) << "library 2 is the menu's, not the system's";
  EXPECT_FLOAT_EQ(s_.LocationLibrary->At(0).Diffuse[3], 1.0f) << "no menu pair given: nothing";
  Run("set_image_property op1=77 op2=6 op3=250 str1=\"leaf\"");
  EXPECT_FLOAT_EQ(s_.LocationLibrary->At(1).Diffuse[3], 0.25f);
  EXPECT_FLOAT_EQ(s_.LocationLibrary->At(0).Diffuse[3], 1.0f);
  SetImageProperty(s_, 2, 2, false, "rock", -40, {&s_.LocationArchive, s_.LocationLibrary.get()});
  EXPECT_EQ(MatLibEntry(s_.LocationArchive, 0)->OffsetSpeedY, -40);
  Run("set_image_property op1=0 op2=12 op3=-500 op4=1");
  for (const TImageEntry& e : s_.LocationArchive.TargaEntries) EXPECT_EQ(e.ColorSpeed[3], -500) << e.Name;
}

// Location changes: a second location whose functions would show if a run
// went on reading the new table after the change.
class ChangeLocationTest : public ObjectCommandsTest {
 protected:
  void SetUp() override {
    ObjectCommandsTest::SetUp();
    game_->WriteLocation("a.qvx", LocationSource(40,
        "object layer=1 name=\"a_rock\" x=10 y=10 width=8 height=8 picture=\"rock\"\n"
        "function \"start\"\nend\n"
        "function \"go\"\n"
        "  change_location op2=1 str1=\"b.qvx\"\n"
        "  spin_object str1=\"b_rock\" op1=0 op2=5\n"
        "end\n"
        "function \"outer\"\n"
        "  call str1=\"go\"\n"
        "  spin_object str1=\"b_rock\" op1=0 op2=6\n"
        "end\n"));
    game_->WriteLocation("b.qvx", LocationSource(40,
        "object layer=1 name=\"b_rock\" x=10 y=10 width=8 height=8 picture=\"rock\"\n"
        "function \"start\"\n  set_properties str1=\"b_rock\" op2=1 op3=42\nend\n"
        "function \"same index as go\"\n"
        "  set_properties str1=\"b_rock\" op1=4 op2=1 op3=1\n"
        "  drag_object str1=\"b_rock\"\n"
        "end\n"
        "function \"same index as outer\"\n"
        "  set_properties str1=\"b_rock\" op1=4 op2=1 op3=1\n"
        "  drag_object str1=\"b_rock\"\n"
        "end\n"));
    UnloadLocation(s_);
    LoadLocation(s_, "a.qvx");
    s_.FadeLevel = -1;
  }
};

TEST_F(ChangeLocationTest, SameLocationDoesNothing) {
  s_.PreviousLocation = "before.qvx";
  Run("change_location str1=\"a.qvx\"\nchange_location op2=1 str1=\"a.qvx\"");
  EXPECT_EQ(s_.FadeLevel, -1);
  EXPECT_EQ(s_.LocationTimer, -1);
  EXPECT_EQ(s_.PreviousLocation, "before.qvx");
  EXPECT_EQ(s_.Objects[0].Name, "a_rock") << "nothing was reloaded";
}

TEST_F(ChangeLocationTest, NoFadeChangesInTheNextFrameAndKeepsThePreviousLocation) {
  s_.PreviousLocation = "before.qvx";
  Run("change_location op1=-1\nchange_location str1=\"b.qvx\"");
  EXPECT_EQ(s_.LocationName, "b.qvx");
  EXPECT_EQ(s_.PreviousLocation, "before.qvx");
  SceneUpdate(s_, kFrame);
  ASSERT_EQ(s_.Objects.size(), 1u) << "changed in the first frame, without a fade to black";
  EXPECT_EQ(s_.Objects[0].Name, "b_rock");
  EXPECT_EQ(s_.Objects[0].UserValue, 42) << "the new location's start function ran";

  // With fades, the old location stays for the half second of the fade.
  Run("change_location str1=\"a.qvx\"");
  EXPECT_EQ(s_.PreviousLocation, "b.qvx");
  SceneUpdate(s_, kFrame);
  EXPECT_EQ(s_.Objects[0].Name, "b_rock");
}

TEST_F(ChangeLocationTest, AnImmediateChangeEndsTheRunningFunction) {
  const int32_t go = FindLocationFunction(s_, "go");
  const int32_t outer = FindLocationFunction(s_, "outer");
  struct Entry {
    const char* how;
    int32_t function;
    bool forced;
  };
  for (const Entry& e : {Entry{"not forced", go, false}, Entry{"forced", go, true},
                         Entry{"called", outer, false}, Entry{"called, forced", outer, true}}) {
    SCOPED_TRACE(e.how);
    UnloadLocation(s_);
    LoadLocation(s_, "a.qvx");
    RunFunction(s_, e.function, 0, e.forced, kFrame);
    ASSERT_EQ(s_.LocationName, "b.qvx");
    ASSERT_EQ(s_.Objects.size(), 1u);
    const TqvxObject& rock = s_.Objects[0];
    EXPECT_EQ(rock.UserValue, 42) << "the new location's start function ran";
    EXPECT_FALSE(rock.Spinning) << "the old function's later instructions did not run";
    EXPECT_EQ(s_.DragObject, -1) << "nor the new table's instructions at the old place";
    EXPECT_EQ(s_.SuspendedFunction, -1);
    EXPECT_EQ(s_.PreviousLocation, "a.qvx");
    EXPECT_EQ(s_.LocationTimer, -1) << "no second, faded change follows";
  }
}

}  // namespace

// Command 66 aims as the hero does: 0 to 360, and 270 both for a point
// straight below and for the object's own position.
TEST_F(ObjectCommandsTest, MoveToHeadingRunsFromZeroTo360) {
  const std::pair<const char*, int32_t> cases[] = {
      {"op1=200 op2=300", 315}, {"op1=100 op2=300", 270}, {"op1=0 op2=300", 225}, {"op1=100 op2=200", 270}};
  for (const auto& [target, heading] : cases) {
    Obj(rock_).X = 100;
    Obj(rock_).Y = 200;
    Run(std::string("move_object_to str1=\"rock\" op3=50 ") + target +
        "\nproperty_to_variable str1=\"rock\" op1=5 op2=3");
    EXPECT_EQ(s_.Variables[5], heading) << target;
  }
}
