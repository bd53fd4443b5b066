#include "state/scene_state.h"

#include <gtest/gtest.h>

TEST(SceneState, ResetKeepsWhatLivesAcrossLocations) {
  TqvxScene s;
  s.Variables[5] = 42;
  s.GlobalFunctions.push_back(TqvxFunction{{}, "g"});
  s.Functions.push_back(TqvxFunction{{}, "f"});
  s.DelayedGlobalFunctions[3] = {0, 2.0f, false};
  s.DelayedFunctions[4] = {0, 1.0f, true};
  s.Inventory.Items = {3, 7};
  s.LocationMusic = 2;
  s.Objects.resize(3);
  s.ScrollX = 120;
  s.HeroSpeed = 10;
  s.KeyTable[0] = {65, 1, 2, 3, 2};
  s.InputEnabled = false;
  s.ScriptExecuting = false;

  ResetScene(s);

  EXPECT_EQ(s.Variables[5], 42);
  EXPECT_EQ(s.GlobalFunctions.size(), 1u);
  EXPECT_EQ(s.DelayedGlobalFunctions[3].Function, 0);
  EXPECT_EQ(s.Inventory.Items, (std::vector<int32_t>{3, 7}));
  EXPECT_EQ(s.LocationMusic, 2);

  EXPECT_TRUE(s.Functions.empty());
  EXPECT_TRUE(s.Objects.empty());
  EXPECT_EQ(s.DelayedFunctions[4].Function, -1);
  EXPECT_EQ(s.ScrollX, 0);
  EXPECT_EQ(s.HeroSpeed, 150);
  EXPECT_EQ(s.WaitTime, -1);
  EXPECT_TRUE(s.InputEnabled);
  EXPECT_TRUE(s.ScriptExecuting);
  const int32_t keys[kKeyEntries] = {-1, 37, 39, 38, 40, 32, 2, 1, -1, -1};
  for (int i = 0; i < kKeyEntries; ++i) {
    EXPECT_EQ(s.KeyTable[i].Key, keys[i]) << "entry " << i;
    EXPECT_EQ(s.KeyTable[i].PressFunction, -1);
    EXPECT_EQ(s.KeyTable[i].State, 0);
  }
}

TEST(SceneState, ResetHidesAndShowsTheFurniture) {
  TGLScene gl;
  TqvxScene s;
  s.MenuButton = gl.Root().AddNewChild<THUDSprite>();
  s.Cursor = gl.Root().AddNewChild<THUDSprite>();
  s.SubPanel = gl.Root().AddNewChild<THUDSprite>();
  s.Subtitle = gl.Root().AddNewChild<THUDString>();
  s.Cursor->Visible = false;
  s.Subtitle->Text = "hello";
  ResetScene(s);
  EXPECT_FALSE(s.MenuButton->Visible);
  EXPECT_TRUE(s.Cursor->Visible);
  EXPECT_FALSE(s.SubPanel->Visible);
  EXPECT_EQ(s.Subtitle->Text, "");
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
  EXPECT_EQ(s.Variables[999], 9);
  EXPECT_EQ(s.Variables[1000], 0);
  EXPECT_EQ(s.Variables[1022], 0);
  EXPECT_EQ(s.Variables[1023], 9);

  for (auto& v : s.Variables) v = 9;
  ClearGameState(s);
  EXPECT_EQ(s.Variables[0], 0);
  EXPECT_EQ(s.Variables[1022], 0);
  EXPECT_EQ(s.Variables[1023], 9) << "a new game keeps variable 1023";

  SwapVariables(s, 0, 1023);
  EXPECT_EQ(s.Variables[0], 9);
  SwapVariables(s, 0, 1024);  // out of range: nothing
  EXPECT_EQ(s.Variables[0], 9);
}

TEST(SceneState, DelayedSlots) {
  TqvxScene s;
  s.Functions.resize(3);
  s.GlobalFunctions.resize(2);
  for (int i = 0; i < kDelayedSlots; ++i) AddDelayedFunction(s, i % 3, false, 1.0f + i);
  AddDelayedFunction(s, 1, true, 99);  // all busy: dropped
  for (auto& slot : s.DelayedFunctions) EXPECT_NE(slot.Delay, 99);
  AddDelayedFunction(s, 3, false, 1);  // outside the table
  CancelDelayedFunction(s, 1);
  int freeSlots = 0;
  for (auto& slot : s.DelayedFunctions) freeSlots += slot.Function == -1;
  EXPECT_EQ(freeSlots, 7);
  EXPECT_EQ(s.DelayedFunctions[1].Function, -1);
  AddDelayedFunction(s, 2, true, 5);
  EXPECT_EQ(s.DelayedFunctions[1].Function, 2) << "the first free slot is taken";
  EXPECT_TRUE(s.DelayedFunctions[1].Forced);
  CancelDelayedFunction(s, -1);  // cancels nothing
  EXPECT_EQ(s.DelayedFunctions[1].Function, 2);

  AddDelayedGlobalFunction(s, 2, 1);  // outside the global table
  EXPECT_EQ(s.DelayedGlobalFunctions[0].Function, -1);
  s.DelayedGlobalFunctions[0].Function = -5;  // any negative value is free
  AddDelayedGlobalFunction(s, 1, 3);
  EXPECT_EQ(s.DelayedGlobalFunctions[0].Function, 1);
  ClearDelayedGlobalFunctions(s);
  EXPECT_EQ(s.DelayedGlobalFunctions[0].Function, -1);
}

TEST(SceneState, SetHeroTakesTheRightmostColumnsTopmostTwo) {
  TqvxScene s;
  s.WalkGrid.resize(10);
  s.WalkGrid[3][5] = 2;
  s.WalkGrid[7][12] = 2;
  s.WalkGrid[7][20] = 2;
  s.Objects.resize(2);
  s.Objects[1].Name = "hero";
  s.Objects[1].X = 5;
  s.Objects[1].Y = 5;
  s.Objects[1].HotSpots = {{4, 10, 10}};
  SetHero(s, "hero");
  EXPECT_EQ(s.HeroIndex, 1);
  EXPECT_EQ(s.Objects[1].X, 140);
  EXPECT_EQ(s.Objects[1].Y, 240);
  EXPECT_EQ(s.Objects[1].HotSpots[0].X, 145) << "hot spots move with the object";
  EXPECT_EQ(s.Objects[1].HotSpots[0].Y, 245);
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
    int32_t r = Random(s, 7);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 7);
  }
  EXPECT_EQ(Random(s, 0), 0);
}
