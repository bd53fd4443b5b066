#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <tuple>

#include "platform/game_error.h"
#include "scene/command_bindings.h"
#include "scene/location.h"
#include "scene/location_commands.h"
#include "scene/location_file.h"
#include "scene/location_text.h"
#include "scene/scene_update.h"
#include "scene_fixture.h"
#include "support/scratch_dir.h"

namespace fs = std::filesystem;

namespace {

// A location file's header and object count, then the numbers in `more`.
std::vector<uint8_t> Header(int32_t objects, std::initializer_list<int32_t> more = {}) {
  TBinaryWriter w;
  w.WriteStr(30, "h");
  w.WriteStr(150, "");
  w.WriteInt32(objects);
  for (int32_t v : more) w.WriteInt32(v);
  return w.Bytes();
}

void ExpectRefused(const std::vector<uint8_t>& bytes, const std::string& words) {
  TBinaryReader in(bytes, "SCENE\\bad.qvx");
  TLocationData d;
  try {
    ReadLocationData(in, d);
    ADD_FAILURE() << "accepted a file with " << words;
  } catch (const EGameError& e) {
    EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("SCENE\\bad.qvx"), std::string::npos) << e.what();
  }
}

}  // namespace

TEST(LocationFile, AbsurdCountsAndLayersAreRefused) {
  ExpectRefused(Header(1000001), "object count");
  ExpectRefused(Header(1, {3}), "layer 3");
  ExpectRefused(Header(0, {100001}), "grid width");
  ExpectRefused(Header(0, {-5}), "grid width");
}

TEST(LocationFile, ShortFileKeepsWhatItLacksAndTextRoundTrips) {
  const auto bytes = Header(0);  // ends after the object count
  TBinaryReader in(bytes);
  TLocationData d;
  d.Grid.resize(7);
  d.Grid[6][29] = 5;
  ReadLocationData(in, d);
  EXPECT_EQ(d.HeaderName, "h");
  ASSERT_EQ(d.Grid.size(), 7u) << "a grid the file lacks keeps the one before";
  EXPECT_EQ(d.Grid[6][29], 5);

  const std::string src = LocationSource(3, "object layer=2 name=\"a\" x=1.5 y=-2 width=3 height=4 picture=\"p\"\n"
                                            "  hotspot x=1 y=2 radius=4\nregion x=1 y=2 width=3 height=4 function=5\n"
                                            "road 1,2 3,4\nfunction \"f\"\n  end_function\nend\n");
  const TLocationData a = ParseLocationText(src, "a.loc", ".");
  const auto fileA = WriteLocationData(a);
  TBinaryReader back(fileA);
  TLocationData b;
  ReadLocationData(back, b);
  EXPECT_EQ(WriteLocationData(ParseLocationText(FormatLocationText(b), "b.loc", ".")), fileA);
  EXPECT_THROW(ParseLocationText("object layer=3\n", "c.loc", "."), EGameError);
  EXPECT_THROW(ParseLocationText("grid 2\n  ..\n", "d.loc", "."), EGameError) << "too few grid rows";
  EXPECT_THROW(ParseLocationText("function \"f\"\nobject layer=1\nend\n", "e.loc", "."), EGameError)
      << "an object inside a function";
}

TEST_F(SceneTest, LoadingBuildsObjectsAndRunsFunctionZero) {
  game_->WriteLocation("a.qvx", LocationSource(60,
      "object layer=1 name=\"water\" x=100 y=300 width=60 height=80 picture=\"w1\"\n"
      "  hotspot x=100 y=300 radius=4\n"
      "object layer=1 name=\"rock\" x=200 y=100 width=8 height=8 picture=\"rock\"\n"
      "object layer=1 name=\"ghost\" x=300 y=200 width=8 height=8 picture=\"nothing\"\n"
      "region x=10 y=10 width=4 height=4 function=1\n"
      "function \"start\"\n  change_location str1=\"b.qvx\"\nend\n"));
  LoadLocation(s_, "a.qvx");
  ASSERT_EQ(s_.Objects.size(), 3u);
  const TqvxObject& water = s_.Objects[0];
  EXPECT_EQ(water.HotSpots[0].Radius, 10) << "a radius below 10 is stored as 10";
  EXPECT_FLOAT_EQ(water.Radius, 50);
  EXPECT_EQ(water.Sprite->LibMaterialName(), "w1");
  EXPECT_EQ(water.NextPicture, "w2");
  EXPECT_FLOAT_EQ(water.FrameTime, 0.1f);
  EXPECT_EQ(water.Sprite->Tag, 0);
  EXPECT_EQ(s_.Objects[2].Sprite->LibMaterialName(), "") << "a picture not in the archive changes nothing";
  EXPECT_EQ(std::tuple(s_.GridWidth, s_.Regions.size()), std::tuple(60, 1u));
  // Function 0 ran: it asked for the next location, which fades to black
  // first; the load's own fade-in comes after function 0.
  EXPECT_EQ(std::tuple(s_.LocationName, s_.PreviousLocation, s_.LocationTimer, s_.FadeLevel, s_.FadeIn),
            std::tuple("b.qvx", "a.qvx", 1.0f, 1.0f, true));
  // Layer 1 is drawn by increasing Y.
  TDummyCube* layer = s_.LayerRoots[1];
  for (int i = 0; i < 3; ++i) EXPECT_EQ(layer->Child(i)->Tag, (i + 1) % 3);

  UnloadLocation(s_);
  EXPECT_EQ(layer->Count(), 0) << "the objects' sprites are freed";
  EXPECT_TRUE(s_.Objects.empty());
  EXPECT_TRUE(s_.Functions.empty());
}

TEST_F(SceneTest, DepthSortOrdersLayerOneAndKeepsEqualDepthsSteady) {
  const float ys[] = {300, 100, 200, 200, 50};
  for (float y : ys) s_.Objects[size_t(AddObject(s_, "o", 1))].Y = y;
  AddObject(s_, "sky", 0);
  auto order = [&] {
    std::vector<int32_t> tags;
    for (int i = 0; i < s_.LayerRoots[1]->Count(); ++i) tags.push_back(s_.LayerRoots[1]->Child(i)->Tag);
    return tags;
  };
  SortLayer(s_);
  const std::vector<int32_t> sorted = {4, 1, 2, 3, 0};
  EXPECT_EQ(order(), sorted);
  // Two sprites at one depth must not trade places from frame to frame.
  for (int frame = 0; frame < 3; ++frame) SortLayer(s_);
  EXPECT_EQ(order(), sorted);
  s_.Objects[0].Y = 10;
  s_.Objects[4].Y = 400;
  SortLayer(s_);
  EXPECT_EQ(order(), (std::vector<int32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(s_.LayerRoots[0]->Count(), 1) << "other layers are not touched";
}

TEST_F(SceneTest, ScrollClampsAndParallaxScales) {
  s_.GridWidth = 60;
  int32_t o = AddObject(s_, "far", 0);
  s_.Objects[size_t(o)].X = 600, s_.Objects[size_t(o)].Parallax = 0.5f, s_.Objects[size_t(o)].Radius = 10;
  int32_t follow = AddObject(s_, "follow", 1);
  s_.ScrollObject = follow;
  for (float x : {1100.0f, 5000.0f}) {
    s_.Objects[size_t(follow)].X = x;
    UpdateScroll(s_, 0.02f);
    EXPECT_EQ(s_.ScrollX, 400) << "a 60-column location scrolls at most 400 pixels";
  }
  EXPECT_FLOAT_EQ(s_.Objects[size_t(o)].Sprite->PositionX, 100) << "(600 - 400) * 0.5";
  s_.Objects[size_t(follow)].X = 450;
  UpdateScroll(s_, 0.02f);
  EXPECT_EQ(s_.ScrollX, 50);
  EXPECT_FLOAT_EQ(s_.Objects[size_t(o)].Sprite->PositionX, 275) << "half the scroll speed";
  EXPECT_FLOAT_EQ(s_.Objects[size_t(follow)].Sprite->PositionX, 400) << "the full scroll";
  for (float x : {10.0f, std::nanf("")}) {
    s_.Objects[size_t(follow)].X = x;
    UpdateScroll(s_, 0.02f);
    EXPECT_EQ(s_.ScrollX, 0) << "left of the start, or a damaged save's position";
  }
  for (int columns : {40, 30}) {
    s_.GridWidth = columns;
    s_.Objects[size_t(follow)].X = 2000;
    UpdateScroll(s_, 0.02f);
    EXPECT_EQ(s_.ScrollX, 0) << columns << " columns never scroll";
  }
  // Culling: an object wholly left of the screen is hidden.
  s_.Objects[size_t(o)].X = -30;
  PlaceSprites(s_);
  EXPECT_FALSE(s_.Objects[size_t(o)].Sprite->Visible);
}

// While a location fades in (half a second), nothing in it moves and no
// timer runs, even a forced one.
TEST_F(SceneTest, NothingMovesWhileTheLocationFadesIn) {
  game_->WriteLocation("a.qvx", LocationSource(40,
      "object layer=1 name=\"runner\" x=100 y=300 width=8 height=8 picture=\"rock\"\n"
      "function \"start\"\n  move_object_to str1=\"runner\" op1=300 op2=300 op3=100\n"
      "  delayed_call op1=20 op2=1 str1=\"late\"\nend\n"
      "function \"late\"\n  set_variables op1=3 op2=1 op3=7\nend\n"));
  LoadLocation(s_, "a.qvx");
  for (int frame = 0; frame < 24; ++frame) SceneUpdate(s_, 0.02f);
  EXPECT_EQ(std::tuple(s_.Objects[0].X, s_.Variables[3]), std::tuple(100, 0));
  for (int frame = 0; frame < 4; ++frame) SceneUpdate(s_, 0.02f);
  EXPECT_GT(s_.Objects[0].X, 100);
  EXPECT_EQ(s_.Variables[3], 7);
}

TEST_F(SceneTest, FlightSpeedsUpButStaysFinite) {
  const int32_t o = AddObject(s_, "bird", 2);
  TqvxObject& bird = s_.Objects[size_t(o)];
  bird.FlightHeading = 90;
  bird.FlightSpeed = 60;
  MoveObject(s_, o, 0.05f);
  EXPECT_NEAR(bird.Y, -3, 1e-4) << "up is negative y";
  EXPECT_FLOAT_EQ(bird.FlightSpeed, 63);
  // An hour of flight without bounds: fast, far, but never infinite.
  for (int frame = 0; frame < 72000; ++frame) MoveObject(s_, o, 0.05f);
  EXPECT_TRUE(std::isfinite(bird.X) && std::isfinite(bird.Y));
  EXPECT_TRUE(std::isfinite(bird.FlightSpeed));
}

TEST_F(SceneTest, MovesToAPointAndBoundsRunTheArrivalFunction) {
  Define("function \"start\"\nend\nfunction \"arrive\"\n  change_location str1=\"next.qvx\"\nend\n");
  int32_t i = AddObject(s_, "bird", 2);
  TqvxObject* o = &s_.Objects[size_t(i)];
  o->X = 10, o->Y = 10, o->HotSpots = {{10, 10, 10}}, o->Speed = 100, o->Heading = 0;
  o->MovingToTarget = true, o->TargetX = 11, o->TargetY = 10, o->ArrivalFunction = 1;
  MoveObject(s_, i, 0.02f);
  o = &s_.Objects[size_t(i)];
  EXPECT_EQ(std::tuple(o->X, o->Speed, o->MovingToTarget), std::tuple(11, 0, false));
  EXPECT_EQ(o->HotSpots[0].X, 10) << "the last step to the target leaves the hot spots";
  EXPECT_EQ(s_.LocationName, "next.qvx") << "the arrival function ran";

  s_.LocationName.clear();
  o->Speed = 100, o->Heading = 90;  // up
  o->BoundsOn = true, o->MinX = 0, o->MaxX = 100, o->MinY = 9, o->MaxY = 100;
  o->Spinning = true, o->SpinSpeed = 90;
  MoveObject(s_, i, 0.02f);
  o = &s_.Objects[size_t(i)];
  EXPECT_EQ(std::tuple(o->Y, o->Speed), std::tuple(9, 0)) << "clamped to the bounds";
  EXPECT_EQ(s_.LocationName, "next.qvx");
  EXPECT_FLOAT_EQ(o->Rotation, 1.8f) << "spin runs in the same frame";
}

TEST(LocationFile, CountsTheDataCannotHoldMakeNoRecords) {
  // Each file states a million records of one table (a hundred thousand grid
  // columns) where one byte is left: none of them is there.
  TBinaryWriter object;
  object.WriteInt32(1);
  object.WriteStr(20, "o");
  for (int f = 0; f < 5; ++f) object.WriteFloat(1);
  object.WriteStr(30, "p");
  object.WriteInt32(1000000);
  std::vector<uint8_t> spots = Header(1);
  spots.insert(spots.end(), object.Bytes().begin(), object.Bytes().end());
  const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
      {"objects", Header(1000000)},          {"hot spots", spots},
      {"grid columns", Header(0, {100000})}, {"regions", Header(0, {0, 1000000})},
      {"roads", Header(0, {0, 0, 1000000})}, {"road points", Header(0, {0, 0, 1, 1000000})},
      {"functions", Header(0, {0, 0, 0, 1000000})},
  };
  for (auto [what, bytes] : cases) {
    bytes.push_back(1);
    TBinaryReader in(bytes, "SCENE\\liar.qvx");
    TLocationData d;
    try {
      ReadLocationData(in, d);
    } catch (const EGameError&) {
      // Refusing the file is as good as reading the records that are there.
    }
    // At most the one object, column or road that is really there.
    size_t records = d.Objects.size() + d.Grid.size() + d.Regions.size() + d.Roads.size() + d.Functions.size();
    for (const auto& o : d.Objects) records += o.HotSpots.size();
    for (const auto& r : d.Roads) records += r.Points.size();
    EXPECT_LE(records, 1u) << what;
  }
}

TEST_F(SceneTest, NamesOutsideTheGameDirectoryOrOfSpecialFilesAreRefused) {
  // Files that exist beside the game directory, and a pipe where a location
  // should be: none may be opened, and the error names the file.
  const TScratchDir outside("outside");
  WriteFileBytes(outside / "SECRET.qvx", WriteLocationData(TLocationData{}));
  WriteFileBytes(outside / "secret.wgw", std::vector<uint8_t>(20, 0));
  fs::create_directories(game_->Dir() / "SCENE");
  ASSERT_EQ(::mkfifo((game_->Dir() / "SCENE" / "pipe.qvx").c_str(), 0600), 0);
  const std::string up = "..\\..\\" + outside.Path.filename().string();
  const std::vector<std::pair<std::string, std::function<void()>>> cases = {
      {up + "\\SECRET.qvx", [&] { ReadLocation(s_, up + "\\SECRET.qvx"); }},
      {"pipe.qvx", [&] { ReadLocation(s_, "pipe.qvx"); }},
      {up + "\\secret.wgw",
       [&] { LoadArchiveInto(s_.LocationArchive, *s_.LocationLibrary, "GFX\\" + up + "\\secret.wgw"); }},
  };
  for (const auto& [name, open] : cases) {
    try {
      open();
      ADD_FAILURE() << "opened " << name;
    } catch (const EGameError& e) {
      EXPECT_NE(std::string(e.what()).find("Cannot open file"), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
    }
  }
}

// An oriented flight faces along this frame's velocity: the flight speed
// after its growth by (1 + dt), plus the object's own motion.
TEST_F(SceneTest, OrientedFlightFacesTheGrownVelocity) {
  const int32_t o = AddObject(s_, "bird", 2);
  TqvxObject& bird = s_.Objects[size_t(o)];
  bird.FlightHeading = 0;
  bird.FlightSpeed = 100;
  bird.FlightOrient = 1;
  bird.Heading = 90;
  bird.Speed = 100;
  for (int frame = 0; frame < 4; ++frame) MoveObject(s_, o, 0.05f);
  EXPECT_NEAR(bird.Rotation, 129.444f, 1e-3) << "atan2(100, 100 * 1.05^4) + 90";
  for (int frame = 4; frame < 10; ++frame) MoveObject(s_, o, 0.05f);
  EXPECT_NEAR(bird.Rotation, 121.546f, 1e-3) << "atan2(100, 100 * 1.05^10) + 90";
}
