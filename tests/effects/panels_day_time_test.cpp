// Panel layers and the time of day on records built here, with a material
// library of the panel's pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "effects/effects.h"
#include "effects/effects_commands.h"
#include "platform/game_error.h"

namespace {

TGLMaterialLibrary& PanelLibrary(TGLMaterialLibrary& lib) {
  for (const char* name : {"mbl_bgr1", "mbl_bgr2", "mbl_bgr3", "mbl_shad_01", "mbl_shad_02", "absblack", "locpa_01"}) {
    TGLLibMaterial m;
    m.Name = name;
    lib.Add(m);
  }
  return lib;
}

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    s_.SystemLibrary = std::make_unique<TGLMaterialLibrary>();
    PanelLibrary(*s_.SystemLibrary);
    CreatePanelLayerGroup(s_, gl_.Root(), 0);
    CreatePanelLayerGroup(s_, gl_.Root(), 1);
  }
  THUDSprite& Pic(int i) { return *s_.PanelLayers[1].Pictures[static_cast<size_t>(i)]; }
  TGLScene gl_;
  TqvxScene s_;
};

TEST_F(PanelTest, SketchPanelSlidesOpenAndShutWithCounterFollowersAndEdge) {
  TqvxGameLayer& layer = s_.PanelLayers[1];
  ASSERT_EQ(layer.Pictures.size(), 7u);
  EXPECT_FALSE(layer.Parent->Visible);
  EXPECT_EQ(layer.Parent->Count(), 7 + kSketchSlots) << "the sketch sprites sit between the shadows and the edge";
  EXPECT_EQ(layer.Parent->IndexOf(s_.Sketches.Sketches[0].Sprite), 5);

  OpenPanel(s_.PanelLayers[0]);
  EXPECT_FALSE(s_.PanelLayers[0].Running) << "a layer without a sliding picture does not open";

  OpenPanel(layer);
  UpdatePanel(layer, 0.25f);
  EXPECT_FLOAT_EQ(layer.Progress, 0.5f);
  EXPECT_FLOAT_EQ(Pic(2).Width, 400);
  EXPECT_FLOAT_EQ(Pic(2).PositionX, 200);
  EXPECT_FLOAT_EQ(s_.SystemLibrary->At(0).TextureScale[0], 0.5f) << "revealed, not squeezed";
  EXPECT_EQ(Pic(6).LibMaterialName(), "locpa_05") << "4.5 rounds to 4";
  EXPECT_TRUE(Pic(6).Visible);
  EXPECT_FLOAT_EQ(Pic(6).PositionX, 400);
  EXPECT_FLOAT_EQ(Pic(3).PositionX, 782);
  EXPECT_FLOAT_EQ(Pic(4).PositionX, 782);

  UpdatePanel(layer, 0.3f);
  EXPECT_FLOAT_EQ(layer.Progress, 1);
  EXPECT_FALSE(layer.Running);
  EXPECT_FALSE(Pic(6).Visible) << "the counter shows only while the slide moves";
  OpenPanel(layer);
  EXPECT_FLOAT_EQ(layer.Progress, 0) << "opening again starts over";
  OpenPanelAtOnce(layer);
  EXPECT_FLOAT_EQ(Pic(2).Width, 800);
  EXPECT_FALSE(layer.Running);

  ClosePanel(layer);
  EXPECT_TRUE(Pic(5).Visible);
  for (int i = 0; i < 25 && !layer.JustClosed; ++i) UpdatePanel(layer, 0.02f);
  EXPECT_TRUE(layer.JustClosed);
  EXPECT_FALSE(Pic(2).Visible);
  EXPECT_FLOAT_EQ(Pic(5).Width, 800);
  EXPECT_FLOAT_EQ(Pic(3).PositionX, 382) << "followers back where they started";
  EXPECT_TRUE(layer.Running) << "the edge still fades";
  UpdatePanel(layer, 0.1f);
  EXPECT_FLOAT_EQ(s_.SystemLibrary->At(5).Diffuse[3], 0.8f);
  layer.Instant = true;
  UpdatePanel(layer, 0.02f);
  EXPECT_FALSE(Pic(5).Visible);
  EXPECT_FALSE(layer.Running);
}

// Command 69 on panel layer 0, given its sliding picture by 38/4 as a script
// would; a layer or mode out of range changes nothing.
TEST_F(PanelTest, SlidePanelCommandOpensClosesAndOpensAtOnce) {
  RegisterCommands(EffectsCommands());
  const auto run = [&](int32_t code, std::array<int32_t, 7> ops) {
    TScriptInstruction ins;
    ins.Code = code;
    std::copy(ops.begin(), ops.end(), ins.Op.begin());
    ins.Str[0] = "mbl_bgr1";
    CommandHandler(code)(s_, ins, 0.02f);
  };
  run(38, {4, 0, 150, 300, 300, 200, 1});
  TqvxGameLayer& layer = s_.PanelLayers[0];
  const struct {
    int32_t Layer, Mode;
    bool Running, Closing;
    float Progress;
  } cases[] = {{0, 0, true, false, 0}, {0, 1, true, true, 1}, {0, 2, false, false, 1},
               {0, 3, false, false, 1}, {2, 0, false, false, 1}, {-1, 1, false, false, 1}};
  for (const auto& c : cases) {
    run(69, {c.Layer, c.Mode});
    EXPECT_EQ(layer.Running, c.Running) << c.Layer << " " << c.Mode;
    EXPECT_EQ(layer.Closing, c.Closing) << c.Layer << " " << c.Mode;
    EXPECT_FLOAT_EQ(layer.Progress, c.Progress) << c.Layer << " " << c.Mode;
  }
  EXPECT_FLOAT_EQ(layer.Pictures[0]->Width, 300) << "opened at once to its full width";
  EXPECT_FALSE(s_.PanelLayers[1].Running);
}

TEST(PanelCounter, NamesRunFromOneToTenWithHalvesToEven) {
  const struct {
    float Progress;
    const char* Name;
  } cases[] = {{0, "locpa_01"}, {0.5f / 9, "locpa_01"}, {1.5f / 9, "locpa_03"}, {0.5f, "locpa_05"},
               {0.95f, "locpa_10"}, {1, "locpa_10"}, {-3, "locpa_01"}, {7, "locpa_10"}};
  for (const auto& c : cases) EXPECT_EQ(CounterPictureName(c.Progress), c.Name) << c.Progress;
}

TEST(DayTime, PresetCurvesAndDaylightReadInsideTheirSixKeys) {
  const struct {
    int32_t Preset;
    float Time, Value;
  } cases[] = {{0, 0.1f, 1}, {0, 0.2f, 1}, {0, 0.3f, 0.5f}, {0, 0.4f, 0}, {0, 0.5f, 0}, {0, 0.6f, 0},
               {0, 0.8f, 1}, {0, 0.9f, 1}, {0, 1.0f, 1}, {3, 0.69f, 0}, {3, 0.75f, 1}, {3, 0.8f, 1},
               {3, 0.9f, 1}, {3, 0.99f, 0}, {3, 0.0f, 0}, {1, 0.375f, 0.5f}, {4, 0.45f, 0.5f}};
  for (const auto& c : cases) {
    TDayTimeChannel channel;
    SetDayTimeCurve(channel, c.Preset);
    EXPECT_NEAR(ChannelValue(channel, c.Time), c.Value, 1e-5) << "preset " << c.Preset << " at " << c.Time;
  }
  const std::pair<float, float> light[] = {{0, 1}, {0.3f, 0.5f}, {0.6f, 0}, {0.85f, 0.5f}, {1, 1}, {1.5f, 1}};
  for (const auto& [time, value] : light) {
    TDayTime day;
    day.Time = time;
    EXPECT_NEAR(DayLight(day), value, 1e-5) << time;
  }
}

TEST(DayTime, ChannelsColourTheirMaterialsAndTheRecordKeepsItsRules) {
  TGLMaterialLibrary lib;
  PanelLibrary(lib);
  TDayTime day;
  ClearDayTime(day);
  EXPECT_TRUE(day.DayTimeActive) << "the first clear activates the record";
  EXPECT_FLOAT_EQ(day.Speed * 900, 1);
  EXPECT_EQ(AddDayTimeChannel(day, 1, -1), -1);
  const int32_t colour = AddDayTimeChannel(day, 1, 2);
  SetDayTimeCurve(day.Channels[static_cast<size_t>(colour)], 3);
  const int32_t alpha = AddDayTimeChannel(day, 0, 3);
  SetDayTimeCurve(day.Channels[static_cast<size_t>(alpha)], 7);
  EXPECT_FLOAT_EQ(day.Channels[1].KeyTime[2], 0.4f) << "preset 7 keeps the keys of kind 0 (preset 0)";
  day.Time = 0.8f;
  ApplyDayTime(day, lib, 0);
  EXPECT_FLOAT_EQ(lib.At(2).Diffuse[0], 1);
  EXPECT_FLOAT_EQ(lib.At(2).Diffuse[3], 1) << "colour leaves the alpha";
  EXPECT_FLOAT_EQ(lib.At(3).Diffuse[3], 1);
  ApplyDayTime(day, lib, 0.1f * 900);
  EXPECT_NEAR(day.Time, 0.9f, 1e-5);
  ApplyDayTime(day, lib, 0.3f * 900);
  EXPECT_NEAR(day.Time, 0.2f, 1e-4) << "wraps past 1";
  EXPECT_FLOAT_EQ(lib.At(2).Diffuse[1], 0);

  for (int i = 0; i < 40; ++i) AddDayTimeChannel(day, 0, 1);
  EXPECT_EQ(day.ChannelCount, kDayTimeChannels) << "a 33rd channel is refused";

  SetDayTimeOrbit(day, 100, 200, 50);
  day.Time = 0;
  EXPECT_NEAR(DayTimeOrbitX(day), 100 + 50 * std::cos(-0.1 * std::numbers::pi), 1e-3);
  EXPECT_LT(DayTimeOrbitY(day), 200) << "starts right of the centre, slightly above it";
  day.Time = 1;
  EXPECT_LT(DayTimeOrbitX(day), 100);

  TBinaryWriter out;
  SaveDayTime(day, out);
  EXPECT_EQ(out.Size(), 4 + 32 * 56 + 3 * 4 + 1 + 3 * 4u);
  TDayTime back;
  TBinaryReader in(out.Bytes());
  LoadDayTime(back, in);
  TBinaryWriter again;
  SaveDayTime(back, again);
  EXPECT_EQ(again.Bytes(), out.Bytes());
  EXPECT_TRUE(in.AtEnd());
  std::vector<uint8_t> bad = out.Bytes();
  bad[0] = 33;
  TBinaryReader badIn(bad);
  EXPECT_THROW(LoadDayTime(back, badIn), EGameError);

  day.Time = 0.7f;
  AdvanceDayTime(day, 0.5f);
  EXPECT_NEAR(day.Time, 0.2f, 1e-6);
  EXPECT_EQ(day.ChannelCount, 0);
  day.DayTimeActive = false;
  day.Time = 0.4f;
  AdvanceDayTime(day, 0.5f);
  EXPECT_EQ(day.Time, 0) << "an inactive record is reset instead";
}

}  // namespace
