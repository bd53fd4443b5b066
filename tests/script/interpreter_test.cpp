#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <tuple>

#include "platform/game_error.h"
#include "script/interpreter.h"
#include "script_test_util.h"

using Words = std::vector<std::string>;

TEST_F(ScriptTest, RunOutsideTheFunctionDoesNothing) {
  scene.Functions = {Fn("empty", {}), Fn("one", {Say("x")})};
  scene.SuspendedFunction = 7;
  scene.ScriptExecuting = false;
  // No instructions, a start at or before the ends, no such function (a
  // name that was not found), no global or additional location tables.
  for (auto [f, start] : {std::pair{0, 0}, {1, 1}, {1, -1}, {2, 0}, {-1, 0}}) RunFunction(scene, f, start, false, 0);
  RunGlobalFunction(scene, 0, 0, 0);
  RunAddLocFunction(scene, 0, 0, 0, 0);
  EXPECT_EQ(std::tuple(Trace().size(), scene.SuspendedFunction, scene.ScriptExecuting), std::tuple(0u, 7, false));
}

TEST_F(ScriptTest, WaitSuspendsBeforeTheNextInstructionAndResumesWithTheFlagTrue) {
  scene.Functions = {Fn("f", {Say("a"), Ins(kWait, {1500}), Say("b"), Say("c")})};
  RunFunction(scene, 0, 0, false, 0);
  EXPECT_EQ(Trace(), (Words{"a"}));
  ResumeSuspended(scene, 0.02f);  // still waiting
  EXPECT_EQ(Trace(), (Words{"a"}));

  // A condition elsewhere left the flag false; the resumed run starts afresh.
  scene.ScriptExecuting = false;
  scene.WaitTime = -1;  // where the frame update's countdown leaves it
  ResumeSuspended(scene, 0.02f);
  EXPECT_EQ(Trace(), (Words{"a", "b", "c"}));
  EXPECT_EQ(scene.SuspendedFunction, -1);
  EXPECT_TRUE(scene.ScriptExecuting);
}

TEST_F(ScriptTest, WalkingHeroSuspendsAndForcedRunsIgnoreWaits) {
  scene.Functions = {Fn("f", {Ins(kWalk), Say("after walk")}), Fn("g", {Ins(kWait, {500}), Say("at once")})};
  RunFunction(scene, 0, 0, false, 0);
  EXPECT_TRUE(Trace().empty());
  scene.HeroWalking = false;
  ResumeSuspended(scene, 0);
  EXPECT_EQ(Trace(), (Words{"after walk"}));

  Trace().clear();
  scene.SuspendedFunction = 5;
  scene.ResumeIndex = 9;
  RunFunction(scene, 1, 0, true, 0);
  EXPECT_EQ(Trace(), (Words{"at once"}));
  EXPECT_EQ(scene.SuspendedFunction, 5) << "a forced run leaves the suspension alone";
  EXPECT_EQ(scene.ResumeIndex, 9);
}

TEST_F(ScriptTest, UnforcedCalleeOfAForcedRunWaitsAndStartsFromItsFirstInstruction) {
  scene.Functions = {Fn("caller", {Ins(kWait, {1000}), Ins(kCall, {0}, {"callee"}), Say("caller end")}),
                     Fn("callee", {Say("c1"), Say("c2")})};
  RunFunction(scene, 0, 0, true, 0);
  EXPECT_EQ(Trace(), (Words{"caller end"}));
  scene.WaitTime = -1;
  ResumeSuspended(scene, 0);
  EXPECT_EQ(Trace(), (Words{"caller end", "c1", "c2"}));
}

TEST_F(ScriptTest, SuspendedCalleeIsDroppedInFavourOfItsCaller) {
  scene.Functions = {Fn("caller", {Say("a1"), Ins(kCall, {0}, {"callee"}), Say("a2")}),
                     Fn("callee", {Say("b1"), Ins(kWait, {100}), Say("b2")})};
  RunFunction(scene, 0, 0, false, 0);
  EXPECT_EQ(Trace(), (Words{"a1", "b1"}));
  scene.WaitTime = -1;
  ResumeSuspended(scene, 0);
  EXPECT_EQ(Trace(), (Words{"a1", "b1", "a2"}));
  EXPECT_EQ(scene.SuspendedFunction, -1);
}

TEST_F(ScriptTest, EndFunctionEndsALocationCalleeOrTheLocationFunctionCallingAGlobalOne) {
  scene.Functions = {Fn("caller", {Ins(kCall, {0}, {"callee"}), Say("after")}),
                     Fn("callee", {Say("x1"), Ins(kEnd, {1}), Say("x2"), Ins(kEnd, {0}), Say("x3")})};
  RunFunction(scene, 0, 0, false, 0);
  EXPECT_EQ(Trace(), (Words{"x1", "x2", "after"})) << "39 with Op1 1 does nothing";
  EXPECT_FALSE(scene.StopRequested);

  Trace().clear();
  scene.GlobalFunctions = {Fn("g", {Say("g1"), Ins(kEnd, {0}), Say("g2")})};
  scene.Functions = {Fn("caller", {Ins(kCall, {1}, {"g"}), Say("after")}), Fn("plain", {Say("l1"), Say("l2")})};
  RunFunction(scene, 0, 0, false, 0);
  EXPECT_EQ(Trace(), (Words{"g1", "g2"}));
  EXPECT_FALSE(scene.StopRequested);
  EXPECT_EQ(scene.SuspendedFunction, -1);

  // Run on its own (a click on the hero), the request stays set; the next
  // location run clears it before each instruction and is not cut short.
  Trace().clear();
  RunGlobalFunction(scene, 0, 0, 0);
  EXPECT_TRUE(scene.StopRequested);
  RunFunction(scene, 1, 0, true, 0);
  EXPECT_EQ(Trace(), (Words{"g1", "g2", "l1", "l2"}));
}

TEST_F(ScriptTest, GlobalFunctionLeavesTheFlagAsItsLastInstructionLeftIt) {
  scene.Variables[3] = 1;
  scene.GlobalFunctions = {Fn("g", {Say("g"), Ins(103, {3, 2}, {"", "INT"})})};
  scene.ScriptExecuting = false;
  RunGlobalFunction(scene, 0, 0, 0);
  EXPECT_EQ(Trace(), (Words{"g"}));
  EXPECT_FALSE(scene.ScriptExecuting);
}

TEST_F(ScriptTest, CommandsSkipWhileTheFlagIsFalseExceptTheAlwaysCodes) {
  scene.ScriptExecuting = false;
  ExecuteInstruction(scene, Say("skipped"), 0);
  ExecuteInstruction(scene, Ins(kBindPress), 0);
  EXPECT_EQ(Trace(), (Words{"bind"}));
  for (int32_t code : {0, 70, 100, 122, -1, -101}) {
    EXPECT_EQ(FindInstructionInfo(code), nullptr) << code;
    EXPECT_EQ(RegisterCommand(code, nullptr), nullptr);
    scene.ScriptExecuting = true;
    ExecuteInstruction(scene, Ins(code, {1, 2, 3}, {"x"}), 0);
    EXPECT_TRUE(scene.ScriptExecuting);
  }
  // Valid codes without a handler do nothing.
  ExecuteInstruction(scene, Ins(45), 0);
  ExecuteInstruction(scene, Ins(46), 0);
}

TEST_F(ScriptTest, HandlerReadsItsOwnCopyAfterReplacingTheTables) {
  Fill(50, [](TqvxScene& s, const TScriptInstruction& ins, float) {
    ClearLocationFunctions(s);
    s.Functions.shrink_to_fit();
    Trace().push_back(ins.Str[0]);
  });
  scene.Functions = {Fn("f", {Ins(50, {}, {"a name longer than fifteen"})})};
  RunFunction(scene, 0, 0, true, 0);
  EXPECT_EQ(Trace(), (Words{"a name longer than fifteen"}));
}

TEST_F(ScriptTest, RunStopsWhenItsLocationIsLeftAndKeepsTheNewLocationsSuspension) {
  // Stand-in for an immediate location change: reset, new table, its
  // function 0 run unforced (it suspends on a wait).
  Fill(50, [](TqvxScene& s, const TScriptInstruction&, float) {
    ResetScene(s);
    s.Functions = {Fn("new0", {Say("new start"), Ins(kWait, {200}), Say("new later")}), Fn("new1", {Say("wrong")})};
    RunFunction(s, 0, 0, false, 0);
  });
  scene.Functions = {Fn("old0", {}), Fn("old1", {Say("old"), Ins(50), Say("old after")})};
  RunFunction(scene, 1, 0, false, 0);
  EXPECT_EQ(Trace(), (Words{"old", "new start"}));
  EXPECT_EQ(scene.SuspendedFunction, 0);
  EXPECT_EQ(scene.ResumeIndex, 2);
}

TEST_F(ScriptTest, TwoDelayedCallsOfOneFunctionAndTheirCancel) {
  scene.Functions = {Fn("f", {Say("f")}),
                     Fn("setup", {Ins(kDelayedCall, {100, 0}, {"f"}), Ins(kDelayedCall, {300, 1}, {"f"}),
                                  Ins(kDelayedCall, {100, 0}, {"missing"})})};
  RunFunction(scene, 1, 0, false, 0);
  EXPECT_EQ(std::tuple(scene.DelayedFunctions[0].Function, scene.DelayedFunctions[0].Delay,
                       scene.DelayedFunctions[0].Forced, scene.DelayedFunctions[1].Forced),
            std::tuple(0, 0.1f, false, true));
  EXPECT_EQ(scene.DelayedFunctions[2].Function, -1) << "a missing name schedules nothing";

  EXPECT_TRUE(TimerPending(scene, false, "f"));
  ExecuteInstruction(scene, Ins(kDelayedCall, {0, 3}, {"f"}), 0);
  EXPECT_FALSE(TimerPending(scene, false, "f")) << "both calls cancelled";
  EXPECT_TRUE(TimerPending(scene, false, "no such function")) << "-1 matches a free slot";

  RunFunction(scene, 1, 0, false, 0);
  for (int frame = 0; frame < 20; ++frame) TickTimers(scene, 0.05f);
  EXPECT_EQ(Trace(), (Words{"f", "f"}));
  EXPECT_FALSE(TimerPending(scene, false, "f"));
}

TEST_F(ScriptTest, ForcedTimersFireWhileTheGameWaitsUnforcedOnesAfterwardsAsForcedRuns) {
  scene.Functions = {Fn("forced", {Say("forced")}), Fn("unforced", {Ins(kWait, {500}), Say("unforced")})};
  AddDelayedFunction(scene, 0, true, 0.1f);
  AddDelayedFunction(scene, 1, false, 0.1f);
  scene.HeroWalking = true;
  TickTimers(scene, 0.05f);
  TickTimers(scene, 0.05f);
  EXPECT_EQ(Trace(), (Words{"forced"}));
  EXPECT_EQ(scene.DelayedFunctions[1].Function, 1);

  scene.HeroWalking = false;
  scene.WaitTime = 0.3f;
  TickTimers(scene, 0.05f);
  EXPECT_EQ(Trace(), (Words{"forced"}));

  scene.WaitTime = 0;
  TickTimers(scene, 0.05f);
  EXPECT_EQ(Trace(), (Words{"forced", "unforced"})) << "runs to the end despite its own wait";
  EXPECT_EQ(scene.DelayedFunctions[1].Function, -1);
  EXPECT_EQ(scene.SuspendedFunction, -1);
}

TEST_F(ScriptTest, TimerThatReschedulesItselfWaitsForTheNextPass) {
  scene.Functions = {Fn("again", {Say("tick"), Ins(kDelayedCall, {50, 1}, {"again"})})};
  AddDelayedFunction(scene, 0, true, 0);
  TickTimers(scene, 0.02f);
  EXPECT_EQ(Trace(), (Words{"tick"}));
  // Its slot was freed before it ran, so it takes that slot again, which
  // this pass has left behind.
  EXPECT_EQ(scene.DelayedFunctions[0].Function, 0);
  EXPECT_FLOAT_EQ(scene.DelayedFunctions[0].Delay, 0.05f);
  EXPECT_EQ(scene.DelayedFunctions[1].Function, -1);
}

TEST_F(ScriptTest, TimerThatLeavesTheLocationKeepsTheNewLocationsTimers) {
  Fill(50, [](TqvxScene& s, const TScriptInstruction&, float) {
    ResetScene(s);
    s.Functions = {Fn("new0", {Ins(kDelayedCall, {1000, 0}, {"new0"})})};
    RunFunction(s, 0, 0, false, 0);
  });
  scene.Functions = {Fn("leave", {Ins(50)})};
  AddDelayedFunction(scene, 0, false, 0);
  TickTimers(scene, 0.02f);
  EXPECT_EQ(scene.DelayedFunctions[0].Function, 0) << "the new location's timer took slot 0 and stays";
  EXPECT_FLOAT_EQ(scene.DelayedFunctions[0].Delay, 1.0f);
}

TEST_F(ScriptTest, GlobalTimersFrameFunctionAndFullTables) {
  scene.GlobalFunctions = {Fn("g", {Say("g")})};
  scene.Functions = {Fn("frame", {Say("frame")}), Fn("f", {})};
  ExecuteInstruction(scene, Ins(kDelayedCall, {60, 2}, {"g"}), 0);
  EXPECT_TRUE(TimerPending(scene, true, "g"));
  scene.FrameFunction = 0;
  scene.WaitTime = 5;  // global timers and the frame function do not wait
  TickTimers(scene, 0.05f);
  TickTimers(scene, 0.05f);
  EXPECT_EQ(Trace(), (Words{"frame", "g", "frame"}));
  EXPECT_FALSE(TimerPending(scene, true, "g"));

  for (int i = 0; i < kDelayedSlots + 3; ++i) AddDelayedFunction(scene, 1, false, 1);
  for (const auto& slot : scene.DelayedFunctions) EXPECT_EQ(slot.Function, 1);
  ExecuteInstruction(scene, Ins(kDelayedCall, {0, 5}), 0);
  for (const auto& slot : scene.DelayedFunctions) EXPECT_EQ(slot.Function, -1);
}

TEST_F(ScriptTest, KeyFunctionThatDisablesInputSkipsTheRemainingKeys) {
  scene.Functions = {Fn("unused", {}), Fn("stop input", {Say("first"), Ins(kEnableInput, {0})}),
                     Fn("second", {Say("second")})};
  scene.KeyTable[1].PressFunction = 1;  // left arrow
  scene.KeyTable[2].PressFunction = 2;  // right arrow
  scene.Input.SetKey(37, true);
  scene.Input.SetKey(39, true);
  PollKeyBindings(scene, 0);
  EXPECT_EQ(Trace(), (Words{"first"}));
  EXPECT_EQ(scene.KeyTable[2].State, 0);

  // While input is off keys are read and ignored.
  PollKeyBindings(scene, 0);
  EXPECT_EQ(scene.KeyTable[2].State, 0);
  EXPECT_EQ(GetAsyncKeyState(scene.Input, 39) & 1, 0) << "the press latch was consumed";
  EXPECT_EQ(Trace(), (Words{"first"}));
}

TEST_F(ScriptTest, FunctionTablesLookupAddAndCopy) {
  scene.Functions = {Fn("a", {Say("x")}), Fn("B", {}), Fn("a", {})};
  EXPECT_EQ(FindLocationFunction(scene, "a"), 0);
  EXPECT_EQ(FindLocationFunction(scene, "b"), -1) << "names are case-sensitive";
  EXPECT_EQ(AddFunction(scene, std::string(40, 'n')), 3);
  EXPECT_EQ(scene.Functions[3].Name.size(), 30u);

  TScriptInstruction odd = Ins(103, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {"s1", "s2", "s3", "s4", "s5"});
  odd.StrBytes[20] = 0xAB;  // a byte past Str1's text survives the copy
  scene.Functions[0].Instructions.push_back(odd);
  ExecuteInstruction(scene, Ins(kCall, {2}, {"a"}), 0);
  ASSERT_EQ(scene.GlobalFunctions.size(), 1u);
  EXPECT_EQ(InstructionBytes(scene.GlobalFunctions[0].Instructions[1]), InstructionBytes(odd));

  scene.Functions[0].Instructions.clear();
  CopyToGlobal(scene, 0);  // a global of that name exists
  CopyToGlobal(scene, 9);
  ASSERT_EQ(scene.GlobalFunctions.size(), 1u);
  EXPECT_EQ(scene.GlobalFunctions[0].InstructionCount(), 2);

  const uint32_t serial = scene.FunctionTableSerial;
  ClearLocationFunctions(scene);
  EXPECT_TRUE(scene.Functions.empty());
  EXPECT_NE(scene.FunctionTableSerial, serial);
}

TEST_F(ScriptTest, AdditionalLocationFunctionsRunToTheEnd) {
  scene.AddLocs.resize(2);
  scene.AddLocs[1].AddLocFunctions = {Fn("z", {Say("z1"), Ins(kWait, {100}), Say("z2")})};
  RunAddLocFunction(scene, 1, 0, 0, 1);
  RunAddLocFunction(scene, 2, 0, 0, 0);
  RunAddLocFunction(scene, 1, 1, 0, 0);
  EXPECT_EQ(Trace(), (Words{"z2"}));
}

TEST(ScriptTable, EveryCodeHasAUniqueMnemonic) {
  std::set<std::string> names;
  for (const auto& row : InstructionTable()) {
    EXPECT_TRUE(names.insert(row.Mnemonic).second) << row.Mnemonic;
    EXPECT_EQ(FindInstructionByMnemonic(row.Mnemonic), &row);
    EXPECT_EQ(FindInstructionInfo(row.Code), &row);
  }
}

// Scripts repeat only by calling themselves: deep chains of calls run to the
// end, and only a run that would never end is stopped, with one warning line
// naming its function.
TEST_F(ScriptTest, SelfCallsNestDeepAndEndlessRunsStopWithAWarning) {
  constexpr int32_t kCount = 30;  // stand-in: variable 0 += 1
  Fill(kCount, [](TqvxScene& s, const TScriptInstruction&, float) { ++s.Variables[0]; });
  for (const int32_t mode : {0, 1}) {
    for (const int32_t levels : {100, 5000}) {
      scene.Variables[0] = 0;
      // count: v0 += 1; when levels > v0, count again.
      const TqvxFunction count =
          Fn("count", {Ins(kCount), Ins(104, {levels, 0}, {"INT"}), Ins(kCall, {mode}, {"count"}), Say("back")});
      scene.Functions = {count};
      scene.GlobalFunctions = {count};
      Trace().clear();
      mode == 0 ? RunFunction(scene, 0, 0, false, 0) : RunGlobalFunction(scene, 0, 0, 0);
      EXPECT_EQ(scene.Variables[0], levels) << "mode " << mode;
      // A global callee leaves the flag false from its last condition.
      EXPECT_EQ(Trace().size(), mode == 0 ? size_t(levels - 1) : 0u) << "every caller goes on after its callee";
      EXPECT_EQ(scene.SuspendedFunction, -1);
    }
  }

  auto stderrOf = [](const std::function<void()>& run) {
    testing::internal::CaptureStderr();
    run();
    return testing::internal::GetCapturedStderr();
  };
  // Calling itself for ever; calling itself twice (a tree far too wide to
  // finish); a handler's run (a location entered at once) that never ends
  // stops the run that started it too.
  std::vector<TqvxFunction> tree;
  for (int d = 0; d < 24; ++d) {
    const std::string next = "tree" + std::to_string(d + 1);
    tree.push_back(Fn("tree" + std::to_string(d), {Ins(kCount), Ins(kCall, {0}, {next}), Ins(kCall, {0}, {next})}));
  }
  Fill(50, [](TqvxScene& s, const TScriptInstruction&, float) { RunFunction(s, 1, 0, false, 0); });
  const TqvxFunction forever = Fn("forever", {Ins(kCount), Ins(kCall, {0}, {"forever"})});
  struct TEndless {
    std::vector<TqvxFunction> Functions;
    std::string Named;
    int32_t AtLeast;  // v0 before the stop: the run had its whole allowance
  };
  const TEndless endless[] = {
      {{forever}, "\"forever\"", 10000},
      {tree, "\"tree", 1000000 / 3},
      {{Fn("enter", {Ins(50), Say("after")}), forever}, "\"forever\"", 10000},
  };
  for (const auto& [functions, named, atLeast] : endless) {
    Trace().clear();
    scene.Functions = functions;
    scene.Variables[0] = 0;
    scene.SuspendedFunction = 0;
    const std::string warning = stderrOf([&] { RunFunction(scene, 0, 0, false, 0); });
    EXPECT_NE(warning.find(named), std::string::npos) << warning;
    EXPECT_EQ(std::count(warning.begin(), warning.end(), '\n'), 1) << warning;
    EXPECT_GE(scene.Variables[0], atLeast) << named;
    EXPECT_LE(scene.Variables[0], 1000000) << "the work of one run is bounded";
    EXPECT_EQ(scene.SuspendedFunction, -1) << "a stopped run is over";
    EXPECT_TRUE(scene.Run.Levels.empty());

    EXPECT_EQ(Trace(), Words{}) << "nothing after the stop";
    scene.Functions = {Fn("after", {Say("ok")})};
    EXPECT_EQ(stderrOf([&] { RunFunction(scene, 0, 0, true, 0); }), "");
    EXPECT_EQ(Trace(), (Words{"ok"})) << "the next run starts afresh";
  }
}

TEST_F(ScriptTest, ADelayedCallThatFailsIsNotMadeAgain) {
  // A delayed load of a damaged archive: the error ends that call, once.
  Fill(49, [](TqvxScene&, const TScriptInstruction&, float) {
    Trace().push_back("open");
    throw EGameError("Stream read error");
  });
  scene.Functions = {Fn("load", {Ins(49)})};
  scene.GlobalFunctions = {Fn("load", {Ins(49)})};
  AddDelayedFunction(scene, 0, true, 0.02f);
  AddDelayedGlobalFunction(scene, 0, 0.02f);
  int errors = 0;
  for (int frame = 0; frame < 80; ++frame) {
    try {
      TickTimers(scene, 0.02f);
    } catch (const EGameError&) {
      ++errors;
    }
  }
  EXPECT_EQ(errors, 2);
  EXPECT_EQ(Trace(), (Words{"open", "open"}));
}
