#include "state/scene_state.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(SceneState, ResetKeepsWhatLivesAcrossLocationsAndSetsTheFurniture) {
  TGLScene gl;
  TqvxScene s;
  s.Variables[5] = 42;
  s.GlobalFunctions.push_back(TqvxFunction{{}, "g"});
  s.Functions.push_back(TqvxFunction{{}, "f"});
  s.DelayedGlobalFunctions[3] = {0, 2.0f, false};
  s.DelayedFunctions[4] = {0, 1.0f, true};
  s.Inventory.Items = {3, 7};
  s.LocationMusic = 2;
  s.Objects.resize(3);
  s.ScrollX = 120, s.HeroSpeed = 10, s.InputEnabled = false, s.ScriptExecuting = false;
  s.KeyTable[0] = {65, 1, 2, 3, 2};
  s.MenuButton = gl.Root().AddNewChild<THUDSprite>();
  s.Cursor = gl.Root().AddNewChild<THUDSprite>();
  s.SubPanel = gl.Root().AddNewChild<THUDSprite>();
  s.Subtitle = gl.Root().AddNewChild<THUDString>();
  s.Cursor->Visible = false;
  s.Subtitle->Text = "hello";

  ResetScene(s);

  EXPECT_EQ(std::tuple(s.Variables[5], s.GlobalFunctions.size(), s.DelayedGlobalFunctions[3].Function,
                       s.Inventory.Items, s.LocationMusic),
            std::tuple(42, 1u, 0, std::vector<int32_t>{3, 7}, 2));
  EXPECT_TRUE(s.Functions.empty() && s.Objects.empty());
  EXPECT_EQ(std::tuple(s.DelayedFunctions[4].Function, s.ScrollX, s.HeroSpeed, s.WaitTime, s.InputEnabled,
                       s.ScriptExecuting),
            std::tuple(-1, 0.0f, 150, -1.0f, true, true));
  const int32_t keys[kKeyEntries] = {-1, 37, 39, 38, 40, 32, 2, 1, -1, -1};
  for (int i = 0; i < kKeyEntries; ++i)
    EXPECT_EQ(std::tuple(s.KeyTable[i].Key, s.KeyTable[i].PressFunction, s.KeyTable[i].State),
              std::tuple(keys[i], -1, 0)) << "entry " << i;
  // The menu button and the subtitle panel hide, the pointer shows.
  EXPECT_EQ(std::tuple(s.MenuButton->Visible, s.Cursor->Visible, s.SubPanel->Visible, s.Subtitle->Text),
            std::tuple(false, true, false, ""));
}

TEST(SceneState, ClearVariablesBounds) {
  TqvxScene s;
  for (auto& v : s.Variables) v = 9;
  ClearVariables(s, 1000, 30);  // 1030 is not below 1024
  ClearVariables(s, 1000, 24);  // 1024 is not below 1024 either
  ClearVariables(s, -1, 5);
  ClearVariables(s, 3, 0);
  ClearVariables(s, 2147483000, 2000);  // must not overflow into a valid range
  for (int i = 0; i < kVariableCount; ++i) ASSERT_EQ(s.Variables[i], 9) << i;
  ClearVariables(s, 1000, 23);
  EXPECT_EQ(std::tuple(s.Variables[999], s.Variables[1000], s.Variables[1022], s.Variables[1023]),
            std::tuple(9, 0, 0, 9));

  for (auto& v : s.Variables) v = 9;
  ClearGameState(s);
  EXPECT_EQ(std::tuple(s.Variables[0], s.Variables[1022], s.Variables[1023]), std::tuple(0, 0, 9))
      << "a new game keeps variable 1023";

  SwapVariables(s, 0, 1023);
  EXPECT_EQ(s.Variables[0], 9);
  SwapVariables(s, 0, 1024);  // out of range: nothing
  EXPECT_EQ(s.Variables[0], 9);
}

TEST(SceneState, DelayedSlots) {
  TqvxScene s;
  s.Functions.resize(3);
  s.GlobalFunctions.resize(2);
  AddDelayedFunction(s, 3, false, 1);  // outside the tables: no slot
  AddDelayedGlobalFunction(s, 2, 1);
  for (int i = 0; i <= kDelayedSlots; ++i) AddDelayedFunction(s, i % 3, false, 1.0f + i);  // the last finds none
  CancelDelayedFunction(s, 1);
  CancelDelayedFunction(s, -1);  // cancels no free slot
  AddDelayedFunction(s, 2, true, 5);
  std::vector<int32_t> functions;
  for (const auto& slot : s.DelayedFunctions) functions.push_back(slot.Function);
  EXPECT_EQ(functions, (std::vector<int32_t>{0, 2, 2, 0, -1, 2, 0, -1, 2, 0, -1, 2, 0, -1, 2, 0, -1, 2, 0, -1}))
      << "the first free slot is taken";
  EXPECT_EQ(std::tuple(s.DelayedFunctions[1].Forced, s.DelayedFunctions[19].Delay), std::tuple(true, 20.0f));

  s.DelayedGlobalFunctions[0].Function = -5;  // any negative value is free
  AddDelayedGlobalFunction(s, 1, 3);
  EXPECT_EQ(std::tuple(s.DelayedGlobalFunctions[0].Function, s.DelayedGlobalFunctions[1].Function), std::tuple(1, -1));
}

TEST(SceneState, SetHeroTakesTheRightmostColumnsTopmostTwo) {
  TqvxScene s;
  s.WalkGrid.resize(10);
  s.WalkGrid[3][5] = s.WalkGrid[7][12] = s.WalkGrid[7][20] = 2;
  s.Objects.resize(2);
  s.Objects[1].Name = "hero";
  s.Objects[1].X = s.Objects[1].Y = 5;
  s.Objects[1].HotSpots = {{4, 10, 10}};
  SetHero(s, "hero");
  // Cell (7, 12) at 20 pixels a cell; the hot spots move with the object.
  EXPECT_EQ(std::tuple(s.HeroIndex, s.Objects[1].X, s.Objects[1].Y, s.Objects[1].HotSpots[0].X,
                       s.Objects[1].HotSpots[0].Y),
            std::tuple(1, 140.0f, 240.0f, 145.0f, 245.0f));
  SetHero(s, "nobody");
  EXPECT_EQ(s.HeroIndex, -1);
  SetObjectPosition(s, 2, 1, 1);  // no such object: nothing
}

TEST(SceneState, RandomFollowsTheGenerator) {
  TqvxScene s;
  SeedRandom(s, 0);
  EXPECT_EQ(Random(s, 100), 0);  // state 1: 100 * 1 >> 32
  EXPECT_EQ(s.RandomState, 1u);
  EXPECT_EQ(Random(s, 100), static_cast<int32_t>((uint64_t{134775814} * 100) >> 32));
  SeedRandom(s, 12345);
  for (int i = 0; i < 1000; ++i) {
    const int32_t r = Random(s, 7);
    ASSERT_TRUE(r >= 0 && r < 7) << r;
  }
  EXPECT_EQ(Random(s, 0), 0);
}
