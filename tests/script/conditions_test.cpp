#include <gtest/gtest.h>

#include "script/script_text.h"
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

// Each condition on the scene as it is: whether it holds.
void ExpectHolds(TqvxScene& s, std::initializer_list<std::pair<TScriptInstruction, bool>> cases) {
  for (const auto& [ins, holds] : cases) EXPECT_EQ(Holds(s, ins), holds) << FormatInstruction(ins);
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
  // "INT" marks a literal (in capitals only); 104 is strict and signed.
  ExpectHolds(scene, {{Ins(103, {5, 7}, {"INT", ""}), true},    {Ins(103, {5, 7}, {"int", ""}), false},
                      {Ins(103, {5, 7}, {"INT ", ""}), false},  {Ins(103, {5, 5}, {"INT", "INT"}), true},
                      {Ins(104, {5, 5}, {"INT", "INT"}), false}, {Ins(104, {6, 5}, {"INT", "INT"}), true},
                      {Ins(104, {-1, 5}, {"INT", "INT"}), false}, {Ins(104, {5, 7}, {"", ""}), true}});
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

TEST_F(ScriptTest, CombiningConditionsAndGuardedBlocks) {
  for (bool f : {false, true}) {
    for (bool b : {false, true}) {
      EXPECT_EQ(After(scene, Ins(105), {f, b}), (Flags{!f, f}));
      EXPECT_EQ(After(scene, Ins(107), {f, b}), (Flags{f && b, f}));
      EXPECT_EQ(After(scene, Ins(108), {f, b}), (Flags{f || b, f}));
    }
  }
  // Instructions run while the last condition held.
  scene.Functions = {Fn("f", {Ins(103, {1, 2}, {"INT", "INT"}), Say("no"), Ins(105), Say("yes"),
                              Ins(103, {1, 2}, {"INT", "INT"}), Ins(103, {2, 2}, {"INT", "INT"}), Ins(108),
                              Say("or"), Ins(101, {}, {"missing"}), Say("kept")})};
  RunFunction(scene, 0, 0, false, 0);
  EXPECT_EQ(Trace(), (std::vector<std::string>{"yes", "or", "kept"}));

  // Before a run the pair is (false, false); the run sets the flag true, the
  // condition moves it into "before", so "and" yields the condition itself.
  Trace().clear();
  scene.Functions = {Fn("f", {Ins(103, {1, 1}, {"INT", "INT"}), Ins(107), Say("guarded")})};
  scene.ScriptExecuting = scene.ScriptExecutingBefore = false;
  RunFunction(scene, 0, 0, false, 0);
  EXPECT_EQ(Trace(), (std::vector<std::string>{"guarded"}));
}

TEST_F(ScriptTest, ObjectConditions) {
  AddObject(scene, "a", {{10, 100, 100}});
  AddObject(scene, "b", {{5, 100, 115}});
  AddObject(scene, "far", {{5, 100, 116}});
  AddObject(scene, "bare", {});
  AddObject(scene, "hidden", {{50, 100, 100}}, false);
  // a and b: centres 15 apart, radii 10 + 5; a sprite-less object shows no
  // picture; nothing follows the pointer.
  ExpectHolds(scene, {{Ins(106, {}, {"a", "b"}), true},       {Ins(106, {}, {"a", "far"}), false},
                      {Ins(106, {}, {"a", "bare"}), false},   {Ins(106, {}, {"a", "hidden"}), false},
                      {Ins(116, {}, {"bare"}), true},         {Ins(116, {}, {"Bare"}), false},
                      {Ins(101, {}, {"a", ""}), true},        {Ins(112, {}, {"missing"}), true}});
  scene.DragObject = 1;
  ExpectHolds(scene, {{Ins(112, {}, {"missing"}), false}, {Ins(112, {}, {"b"}), true}});

  // Pointer at screen (49, 106) with the location scrolled by 50.6: location
  // x 99.6 rounds to 100, 6 pixels from a's centre; at y 111, 11 pixels.
  scene.Input.CursorX = 49;
  scene.Input.CursorY = 106;
  scene.ScrollX = 50.6f;
  EXPECT_TRUE(Holds(scene, Ins(113, {}, {"a"})));
  scene.Input.CursorY = 111;
  ExpectHolds(scene,
              {{Ins(113, {}, {"a"}), false}, {Ins(113, {}, {"bare"}), false}, {Ins(113, {}, {"missing"}), false}});
}

TEST_F(ScriptTest, GameStateConditions) {
  scene.PreviousLocation = "loc01.qvx";
  scene.Inventory.Items = {4, 9};
  scene.Inventory.ItemInHand = 3;
  scene.Inventory.PairLow = 2;
  scene.Inventory.PairHigh = 8;
  scene.DayTime.Time = 0.5f;
  ExpectHolds(scene, {{Ins(102, {}, {"loc01.qvx"}), true}, {Ins(102, {}, {"LOC01.qvx"}), false},
                      {Ins(109, {3}), true},  {Ins(110, {9}), true},  {Ins(110, {3}), false},
                      {Ins(118, {0, 2}), true}, {Ins(118, {1, 8}), true}, {Ins(118, {1, 2}), false},
                      {Ins(111, {}, {"no such sequence"}), false}, {Ins(114), false}, {Ins(115), true},
                      {Ins(119, {500}), false}, {Ins(120, {500}), false}, {Ins(119, {499}), true},
                      {Ins(120, {501}), true}});
  scene.LoadingSave = true;
  EXPECT_TRUE(Holds(scene, Ins(114)));
}

TEST_F(ScriptTest, ChanceAndTimerConditions) {
  for (int i = 0; i < 50; ++i) ExpectHolds(scene, {{Ins(117, {0}), false}, {Ins(117, {100}), true}});
  SeedRandom(scene, 12345);
  TqvxScene copy;
  SeedRandom(copy, 12345);
  EXPECT_EQ(Holds(scene, Ins(117, {50})), Random(copy, 100) < 50) << "one draw of Random(100)";

  // A free slot holds -1; a local name is no global function, while free
  // global slots remain.
  scene.Functions = {Fn("f", {})};
  scene.GlobalFunctions = {Fn("g", {})};
  ExpectHolds(scene, {{Ins(121, {0}, {"f"}), false}, {Ins(121, {0}, {"nothing"}), true}});
  AddDelayedFunction(scene, 0, false, 1);
  AddDelayedGlobalFunction(scene, 0, 1);
  ExpectHolds(scene, {{Ins(121, {0}, {"f"}), true}, {Ins(121, {1}, {"g"}), true}, {Ins(121, {1}, {"f"}), true}});
  for (int i = 1; i < kDelayedSlots; ++i) AddDelayedGlobalFunction(scene, 0, 1);
  EXPECT_FALSE(Holds(scene, Ins(121, {1}, {"f"})));
}
