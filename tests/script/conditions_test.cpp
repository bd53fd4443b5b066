#include <gtest/gtest.h>

#include "script_test_util.h"

namespace {

struct Flags {
  bool now, before;
  bool operator==(const Flags&) const = default;
};

Flags FlagsOf(const TqvxScene& s) { return {s.ScriptExecuting, s.ScriptExecutingBefore}; }

// Runs one condition from a known flag pair and returns the new pair.
Flags After(TqvxScene& s, const TScriptInstruction& ins, Flags start = {true, false}) {
  s.ScriptExecuting = start.now;
  s.ScriptExecutingBefore = start.before;
  ExecuteInstruction(s, ins, 0);
  return FlagsOf(s);
}

bool Holds(TqvxScene& s, const TScriptInstruction& ins) {
  // Start from the opposite of what a condition that stores true leaves, so
  // a condition that stores nothing is visible.
  const Flags f = After(s, ins, {false, true});
  EXPECT_FALSE(f.before) << "code " << ins.Code << " did not store";
  return f.now;
}

void AddObject(TqvxScene& s, const std::string& name, std::vector<THotSpot> spots, bool visible = true) {
  TqvxObject o;
  o.Name = name;
  o.HotSpots = std::move(spots);
  o.Visible = visible;
  s.Objects.push_back(std::move(o));
}

}  // namespace

TEST_F(ScriptTest, IntLiteralsAndVariables) {
  scene.Variables[7] = 5;
  scene.Variables[5] = 9;
  EXPECT_TRUE(Holds(scene, Ins(103, {5, 7}, {"INT", ""}))) << "literal 5 against variable 7";
  EXPECT_FALSE(Holds(scene, Ins(103, {5, 7}, {"int", ""}))) << "small letters read variable 5";
  EXPECT_FALSE(Holds(scene, Ins(103, {5, 7}, {"INT ", ""})));
  EXPECT_TRUE(Holds(scene, Ins(103, {5, 5}, {"INT", "INT"})));
  EXPECT_FALSE(Holds(scene, Ins(104, {5, 5}, {"INT", "INT"}))) << "104 is strict";
  EXPECT_TRUE(Holds(scene, Ins(104, {6, 5}, {"INT", "INT"})));
  EXPECT_FALSE(Holds(scene, Ins(104, {-1, 5}, {"INT", "INT"}))) << "signed comparison";
  EXPECT_TRUE(Holds(scene, Ins(104, {5, 7}, {"", ""}))) << "9 > 5";
}

TEST_F(ScriptTest, ConditionsThatStoreNothingLeaveBothFlags) {
  AddObject(scene, "there", {{10, 0, 0}});
  scene.Variables[0] = 1;
  const TScriptInstruction silent[] = {
      Ins(101, {}, {"missing", "pic"}), Ins(106, {}, {"there", "missing"}), Ins(106, {}, {"missing", "there"}),
      Ins(118, {2, 1}),                 Ins(118, {-1, -1}),                 Ins(121, {2}, {"f"}),
      Ins(103, {1024, 0}, {"", "INT"}), Ins(104, {0, -5}, {"INT", ""}),
  };
  for (const auto& ins : silent) {
    EXPECT_EQ(After(scene, ins, {true, false}), (Flags{true, false})) << "code " << ins.Code;
    EXPECT_EQ(After(scene, ins, {false, true}), (Flags{false, true})) << "code " << ins.Code;
  }
}

TEST_F(ScriptTest, CombiningConditions) {
  for (bool f : {false, true}) {
    for (bool b : {false, true}) {
      EXPECT_EQ(After(scene, Ins(105), {f, b}), (Flags{!f, f}));
      EXPECT_EQ(After(scene, Ins(107), {f, b}), (Flags{f && b, f}));
      EXPECT_EQ(After(scene, Ins(108), {f, b}), (Flags{f || b, f}));
    }
  }
}

TEST_F(ScriptTest, AndRightAfterTheStartOfARunGivesTheFirstConditionsValue) {
  // Before the run the pair is (false, false); the run sets the flag true, the
  // condition moves it into "before", so "and" yields the condition itself.
  scene.Functions = {Fn("f", {Ins(103, {1, 1}, {"INT", "INT"}), Ins(107), Say("guarded")})};
  scene.ScriptExecuting = scene.ScriptExecutingBefore = false;
  RunFunction(scene, 0, 0, false, 0);
  EXPECT_EQ(Trace(), (std::vector<std::string>{"guarded"}));
}

TEST_F(ScriptTest, GuardedBlocksFollowTheLastCondition) {
  scene.Functions = {Fn("f", {Ins(103, {1, 2}, {"INT", "INT"}), Say("no"), Ins(105), Say("yes"),
                              Ins(103, {1, 2}, {"INT", "INT"}), Ins(103, {2, 2}, {"INT", "INT"}), Ins(108),
                              Say("or"), Ins(101, {}, {"missing"}), Say("kept")})};
  RunFunction(scene, 0, 0, false, 0);
  EXPECT_EQ(Trace(), (std::vector<std::string>{"yes", "or", "kept"}));
}

TEST_F(ScriptTest, ObjectConditions) {
  AddObject(scene, "a", {{10, 100, 100}});
  AddObject(scene, "b", {{5, 100, 115}});
  AddObject(scene, "far", {{5, 100, 116}});
  AddObject(scene, "bare", {});
  AddObject(scene, "hidden", {{50, 100, 100}}, false);
  EXPECT_TRUE(Holds(scene, Ins(106, {}, {"a", "b"}))) << "centres 15 apart, radii 10 + 5";
  EXPECT_FALSE(Holds(scene, Ins(106, {}, {"a", "far"})));
  EXPECT_FALSE(Holds(scene, Ins(106, {}, {"a", "bare"})));
  EXPECT_FALSE(Holds(scene, Ins(106, {}, {"a", "hidden"})));
  EXPECT_TRUE(Holds(scene, Ins(116, {}, {"bare"})));
  EXPECT_FALSE(Holds(scene, Ins(116, {}, {"Bare"})));
  EXPECT_TRUE(Holds(scene, Ins(101, {}, {"a", ""}))) << "no sprite shows no picture";

  EXPECT_TRUE(Holds(scene, Ins(112, {}, {"missing"}))) << "nothing follows the pointer";
  scene.DragObject = 1;
  EXPECT_FALSE(Holds(scene, Ins(112, {}, {"missing"})));
  EXPECT_TRUE(Holds(scene, Ins(112, {}, {"b"})));

  // Pointer at screen (49, 106) with the location scrolled by 50.6: location
  // x 99.6 rounds to 100, 6 pixels from a's centre.
  scene.Input.CursorX = 49;
  scene.Input.CursorY = 106;
  scene.ScrollX = 50.6f;
  EXPECT_TRUE(Holds(scene, Ins(113, {}, {"a"})));
  scene.Input.CursorY = 111;
  EXPECT_FALSE(Holds(scene, Ins(113, {}, {"a"}))) << "11 pixels from a radius of 10";
  EXPECT_FALSE(Holds(scene, Ins(113, {}, {"bare"})));
  EXPECT_FALSE(Holds(scene, Ins(113, {}, {"missing"})));
}

TEST_F(ScriptTest, GameStateConditions) {
  scene.PreviousLocation = "loc01.qvx";
  EXPECT_TRUE(Holds(scene, Ins(102, {}, {"loc01.qvx"})));
  EXPECT_FALSE(Holds(scene, Ins(102, {}, {"LOC01.qvx"})));

  scene.Inventory.Items = {4, 9};
  scene.Inventory.ItemInHand = 3;
  scene.Inventory.PairLow = 2;
  scene.Inventory.PairHigh = 8;
  EXPECT_TRUE(Holds(scene, Ins(109, {3})));
  EXPECT_TRUE(Holds(scene, Ins(110, {9})));
  EXPECT_FALSE(Holds(scene, Ins(110, {3})));
  EXPECT_TRUE(Holds(scene, Ins(118, {0, 2})));
  EXPECT_TRUE(Holds(scene, Ins(118, {1, 8})));
  EXPECT_FALSE(Holds(scene, Ins(118, {1, 2})));

  EXPECT_FALSE(Holds(scene, Ins(111, {}, {"no such sequence"})));
  EXPECT_FALSE(Holds(scene, Ins(114)));
  EXPECT_TRUE(Holds(scene, Ins(115)));
  scene.LoadingSave = true;
  EXPECT_TRUE(Holds(scene, Ins(114)));

  scene.DayTime.Phase = 0.5f;
  EXPECT_FALSE(Holds(scene, Ins(119, {500})));
  EXPECT_FALSE(Holds(scene, Ins(120, {500})));
  EXPECT_TRUE(Holds(scene, Ins(119, {499})));
  EXPECT_TRUE(Holds(scene, Ins(120, {501})));
}

TEST_F(ScriptTest, ChanceAndTimerConditions) {
  for (int i = 0; i < 50; ++i) {
    EXPECT_FALSE(Holds(scene, Ins(117, {0})));
    EXPECT_TRUE(Holds(scene, Ins(117, {100})));
  }
  SeedRandom(scene, 12345);
  TqvxScene copy;
  SeedRandom(copy, 12345);
  EXPECT_EQ(Holds(scene, Ins(117, {50})), Random(copy, 100) < 50) << "one draw of Random(100)";

  scene.Functions = {Fn("f", {})};
  scene.GlobalFunctions = {Fn("g", {})};
  EXPECT_FALSE(Holds(scene, Ins(121, {0}, {"f"})));
  EXPECT_TRUE(Holds(scene, Ins(121, {0}, {"nothing"}))) << "a free slot holds -1";
  AddDelayedFunction(scene, 0, false, 1);
  AddDelayedGlobalFunction(scene, 0, 1);
  EXPECT_TRUE(Holds(scene, Ins(121, {0}, {"f"})));
  EXPECT_TRUE(Holds(scene, Ins(121, {1}, {"g"})));
  EXPECT_TRUE(Holds(scene, Ins(121, {1}, {"f"}))) << "not a global function, and free global slots remain";
  for (int i = 1; i < kDelayedSlots; ++i) AddDelayedGlobalFunction(scene, 0, 1);
  EXPECT_FALSE(Holds(scene, Ins(121, {1}, {"f"})));
}
