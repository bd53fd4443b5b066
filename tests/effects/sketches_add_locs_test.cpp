// Sketch files, the sketch clockwork and additional locations on records
// built here.
#include <gtest/gtest.h>

#include <cmath>

#include "effects/effects.h"
#include "effects/sketch_file.h"
#include "platform/game_error.h"

namespace {

TSketchRecord Record(const std::string& picture, std::array<int32_t, kSketchValues> values, const std::string& sound) {
  TSketchRecord r;
  r.Values = values;
  r.Picture = SketchString(picture);
  r.Sound = SketchString(sound);
  return r;
}

std::vector<uint8_t> FileBytes(std::vector<TSketchRecord> records, const std::string& next, int32_t count = -1) {
  TSketchFile f;
  f.Records = std::move(records);
  f.Count = count >= 0 ? count : static_cast<int32_t>(f.Records.size());
  f.NextLocation = SketchString(next);
  return WriteSketchFile(f);
}

TEST(SketchFile, ReadsAtMostTheLimitRefusesImpossibleCountsAndRoundTrips) {
  std::vector<TSketchRecord> many;
  for (int i = 0; i < 17; ++i) many.push_back(Record("p" + std::to_string(i), {i, 2, 3}, i % 2 ? "s" : ""));
  std::vector<uint8_t> bytes = FileBytes(many, "lake.qvx");
  bytes[4 + 52 + 1] = 0x7F;  // a byte past the note's length: kept, not meant
  bytes.push_back(9);
  TBinaryReader in(bytes, "many.skt");
  const TSketchFile limited = ReadSketchFile(in, kSketchSlots);
  EXPECT_EQ(limited.Records.size(), 16u);
  EXPECT_EQ(SketchText(limited.NextLocation), "lake.qvx") << "read after all seventeen records";

  TBinaryReader whole(bytes);
  const TSketchFile file = ReadSketchFile(whole);
  EXPECT_EQ(WriteSketchFile(file), bytes);
  const TSketchFile parsed = ParseSketchText(FormatSketchText(file), "many.txt");
  EXPECT_EQ(WriteSketchFile(parsed), bytes) << FormatSketchText(file);

  const std::vector<uint8_t> bad[] = {FileBytes({}, "", 1), FileBytes(many, "", 18), FileBytes({}, "", 0x7FFFFFFF)};
  for (const auto& b : bad) {
    TBinaryReader r(b, "bad.skt");
    EXPECT_THROW(ReadSketchFile(r), EGameError);
  }
  const std::string badText[] = {"sketch width=x", "sketch colour=1", "count 2\nsketch\n", "sketch note_raw=00",
                                 "sketch picture=\"a\" picture_raw=" + std::string(512, '0'),
                                 "next_location=\"open", "sketch\nbogus"};
  for (const std::string& t : badText) EXPECT_THROW(ParseSketchText(t, "bad.txt"), EGameError) << t;
}

TEST(Sketches, ZoomHoldDelayAndSoundsRunInOrder) {
  TqvxSketchManager m;
  m.SketchCount = 3;
  TSketch& a = m.Sketches[0];
  a.Width = 100, a.Height = 50, a.Zoom = 1, a.ZoomSpeed = 10, a.MoveSpeed = 100, a.Direction = 90, a.Hold = 0.1f;
  a.Sound = "line1";
  TSketch& b = m.Sketches[1];
  b.Delay = 0.05f, b.AngleSpeed = 90, b.X = 7, b.Y = 8;  // zoom 0: done at once, no move, no turn
  m.Sketches[2].Zoom = 0;
  StartSketches(m);
  UpdateSketches(m, 0.05f);
  EXPECT_FLOAT_EQ(a.Zoom, 0.5f);
  EXPECT_NEAR(a.Y, -2.5f, 1e-4) << "drifts up by speed x step x zoom";
  UpdateSketches(m, 0.1f);
  EXPECT_TRUE(a.Done);
  EXPECT_EQ(m.SketchSound, "line1");
  EXPECT_EQ(m.CurrentSketch, 1);
  EXPECT_NEAR(m.SketchTimer, 0.15f, 1e-6) << "its hold and the next one's delay";
  EXPECT_NEAR(a.Y, -2.5f - 100 * 0.05f * -0.5f, 1e-4) << "only the part of the frame before zoom 0 moves it";
  UpdateSketches(m, 0.1f);
  EXPECT_FALSE(m.StepEnded);
  UpdateSketches(m, 0.1f);
  EXPECT_TRUE(m.StepEnded);
  UpdateSketches(m, 0.02f);
  EXPECT_TRUE(b.Done);
  EXPECT_EQ(m.SketchSound, "_none");
  EXPECT_FLOAT_EQ(b.X, 7);
  EXPECT_FLOAT_EQ(b.Angle, 0);
  EXPECT_FALSE(std::isnan(b.Zoom));
  UpdateSketches(m, 0.02f);
  EXPECT_EQ(m.CurrentSketch, 3);
  UpdateSketches(m, 0.02f);
  EXPECT_EQ(m.CurrentSketch, -1) << "the last hold ran out";
}

TEST(AddLocs, ZonesAreStrictTriedInOrderAndClickOnRelease) {
  TqvxAddLoc a;
  InitAddLoc(a, nullptr, nullptr);
  AddLocZone(a, 4, 3, 100, 100, 20, 10);  // 90..110 x 95..105
  AddLocZone(a, 5, 6, 110, 100, 20, 10);  // overlaps the first on 100..110
  const struct {
    float X, Y;
    int32_t Cursor;
  } points[] = {{90, 100, 1}, {90.01f, 100, 3}, {100, 95, 1}, {100, 104.9f, 3}, {105, 100, 3},
                {110, 100, 6}, {119.9f, 100, 6}, {120, 100, 1}, {100, 105, 1}};
  for (const auto& p : points) EXPECT_EQ(AddLocCursor(a, p.X, p.Y), p.Cursor) << p.X << "," << p.Y;
  a.Zones[0].Enabled = false;
  EXPECT_EQ(AddLocCursor(a, 105, 100), 6) << "disabled zones are skipped";
  a.Zones[0].Enabled = true;

  EXPECT_EQ(AddLocClick(a, true, 105, 100), -1);
  EXPECT_EQ(AddLocClick(a, true, 300, 300), -1);
  EXPECT_EQ(AddLocClick(a, false, 115, 100), 5) << "the zone under the release takes it";
  EXPECT_EQ(AddLocClick(a, false, 115, 100), -1);

  for (int i = 0; i < 20; ++i) {
    AddLocZone(a, i, 1, 0, 0, 1, 1);
    AddLocCopyFunction(a, TqvxFunction{{}, "f" + std::to_string(i)});
    AddLocSprite(a, "x", 0, 0, 1, 1);
  }
  EXPECT_EQ(a.ZoneCount, 16);
  EXPECT_EQ(a.AddLocFunctions.size(), 16u);
  EXPECT_EQ(a.SpriteCount, 16);
  EXPECT_EQ(AddLocFindFunction(a, "f3"), 3);
  EXPECT_EQ(AddLocFindFunction(a, "f16"), -1);
}

TEST(AddLocs, SaveBlockKeepsSpritesFunctionsAndOneZoneMoreThanItCounts) {
  TGLScene gl;
  for (int zones : {3, 16}) {
    TqvxAddLoc a;
    InitAddLoc(a, &gl.Root(), nullptr);
    AddLocSprite(a, "map", 400, 300, 640, 480);
    AddLocSprite(a, "pin", 10, 20, 30, 40);
    a.AddLocSprites[1]->Visible = false;
    AddLocCopyFunction(a, TqvxFunction{{}, "go"});
    for (int i = 0; i < zones; ++i) AddLocZone(a, 0, 2 + i, 10.0f * i, 5, 8, 8);
    TBinaryWriter out;
    SaveAddLoc(a, out);
    EXPECT_EQ(out.Size(), 4 + 2 * 50 + 4 + 35 + 4 + (zones + 1) * 25u) << zones;
    TqvxAddLoc back;
    InitAddLoc(back, &gl.Root(), nullptr);
    TBinaryReader in(out.Bytes());
    LoadAddLoc(back, in);
    EXPECT_TRUE(in.AtEnd());
    TBinaryWriter again;
    SaveAddLoc(back, again);
    EXPECT_EQ(again.Bytes(), out.Bytes()) << zones;
    EXPECT_EQ(back.AddLocSprites[0]->LibMaterialName(), "map");
    EXPECT_FALSE(back.AddLocSprites[1]->Visible);
    EXPECT_FALSE(AddLocShown(back)) << "restored hidden until a script shows it";
  }
  TBinaryWriter hostile;
  hostile.WriteInt32(0), hostile.WriteInt32(0), hostile.WriteInt32(1000000);
  TqvxAddLoc a;
  TBinaryReader in(hostile.Bytes(), "save");
  EXPECT_THROW(LoadAddLoc(a, in), EGameError);
}

}  // namespace
