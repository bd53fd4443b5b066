#include "script/interpreter.h"

#include <cstdio>

#include "platform/cp1251.h"
#include "script/script_table.h"

namespace {

const TqvxFunction* LocationFunction(const TqvxScene& scene, int32_t function) {
  return InTable(function, scene.Functions.size()) ? &scene.Functions[static_cast<size_t>(function)] : nullptr;
}

int32_t FindIn(const std::vector<TqvxFunction>& table, const std::string& name) {
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i].Name == name) return static_cast<int32_t>(i);
  return -1;
}

// A run that executes more instructions than this, or nests calls deeper, is
// a script that never ends: it is stopped with a warning. Scripts have no
// loops, and a function calling itself is their only way to repeat, so both
// bounds lie far above what a counter in a real script needs.
constexpr int64_t kMaxRunInstructions = 1000000;
constexpr size_t kMaxCallDepth = 100000;

// The table a level's function lives in, looked up afresh each time: a
// command may grow or replace it.
const std::vector<TqvxFunction>* TableOf(const TqvxScene& scene, const TScriptLevel& level) {
  switch (level.Table) {
    case TScriptTable::Location: return &scene.Functions;
    case TScriptTable::Global: return &scene.GlobalFunctions;
    case TScriptTable::AddLoc:
      if (!InTable(level.AddLoc, scene.AddLocs.size())) return nullptr;
      return &scene.AddLocs[static_cast<size_t>(level.AddLoc)].AddLocFunctions;
  }
  return nullptr;
}

const TqvxFunction* FunctionOf(const TqvxScene& scene, const TScriptLevel& level) {
  const std::vector<TqvxFunction>* table = TableOf(scene, level);
  return table && InTable(level.Function, table->size()) ? &(*table)[static_cast<size_t>(level.Function)] : nullptr;
}

// Ends the whole run at the next step, with one warning line naming the
// function that was running.
void StopRun(TqvxScene& scene, const std::string& why) {
  TScriptRun& run = scene.Run;
  if (run.Stopping) return;
  run.Stopping = true;
  std::string name = "?";
  if (!run.Levels.empty()) {
    const TScriptLevel& top = run.Levels.back();
    const TqvxFunction* f = FunctionOf(scene, top);
    if (f && (top.Table != TScriptTable::Location || top.Serial == scene.FunctionTableSerial))
      name = Cp1251ToUtf8(f->Name);
  }
  std::fprintf(stderr, "ovgame: warning: script function \"%s\" stopped: %s\n", name.c_str(), why.c_str());
}

// Counts an instruction against the run's bound; false once the run is over it.
bool WithinBudget(TqvxScene& scene) {
  if (++scene.Run.Executed <= kMaxRunInstructions) return true;
  StopRun(scene, "more than " + std::to_string(kMaxRunInstructions) + " instructions in one run");
  return false;
}

void FinishLocationLevel(TqvxScene& scene, const TScriptLevel& level) {
  if (!level.Forced) scene.SuspendedFunction = -1;
  scene.ScriptExecuting = true;
}

// After the top level's instruction Next, and any level it called, is done.
void AfterInstruction(TqvxScene& scene) {
  TScriptRun& run = scene.Run;
  TScriptLevel& level = run.Levels.back();
  if (level.Table != TScriptTable::Location) {
    ++level.Next;
    return;
  }
  // The location was left during this instruction: the new location's start
  // function has run and owns the suspension state now. Going on would run
  // the next instruction of whatever function now has this index.
  if (scene.FunctionTableSerial != level.Serial) {
    run.Levels.pop_back();
    return;
  }
  if (scene.StopRequested) {
    scene.StopRequested = false;
    FinishLocationLevel(scene, level);
    run.Levels.pop_back();
    return;
  }
  ++level.Next;
  if (!level.Forced) scene.ResumeIndex = level.Next;
}

// One step of the top level: its next instruction, or its end. A location
// level that is not forced suspends before an instruction while the game
// waits; global and additional-location levels run to their end.
void StepTopLevel(TqvxScene& scene, float frameTime) {
  TScriptRun& run = scene.Run;
  const size_t at = run.Levels.size() - 1;
  TScriptLevel& level = run.Levels[at];
  if (level.Calling) {
    level.Calling = false;
    AfterInstruction(scene);
    return;
  }
  const int32_t i = level.Next;
  if (level.Table == TScriptTable::Location) {
    if (i >= level.Count) {
      FinishLocationLevel(scene, level);
      run.Levels.pop_back();
      return;
    }
    if (!level.Forced && (scene.WaitTime > 0 || scene.HeroWalking)) {
      scene.SuspendedFunction = level.Function;
      scene.ResumeIndex = i;
      run.Levels.pop_back();
      return;
    }
    if (!WithinBudget(scene)) return;
    scene.StopRequested = false;
    if (scene.TraceHook)
      if (const TqvxFunction* f = FunctionOf(scene, level); f && InTable(i, f->Instructions.size()))
        scene.TraceHook(scene, level, f->Instructions[static_cast<size_t>(i)]);
    ExecuteFunctionInstruction(scene, level.Function, i, frameTime);
  } else {
    const TqvxFunction* f = FunctionOf(scene, level);
    if (!f || i >= level.Count || !InTable(i, f->Instructions.size())) {
      run.Levels.pop_back();
      return;
    }
    if (!WithinBudget(scene)) return;
    if (scene.TraceHook) scene.TraceHook(scene, level, f->Instructions[static_cast<size_t>(i)]);
    ExecuteInstruction(scene, f->Instructions[static_cast<size_t>(i)], frameTime);
  }
  if (run.Stopping) return;
  // A call (command 16) added a level: this instruction is done when it ends.
  if (run.Levels.size() > at + 1) {
    run.Levels[at].Calling = true;
    return;
  }
  AfterInstruction(scene);
}

// Runs `first` and every level it calls to their end or suspension. Called
// inside a run (by a handler entering a location), it nests on the native
// stack, shares the run's bounds and ends with its own levels.
void RunLevels(TqvxScene& scene, const TScriptLevel& first, float frameTime) {
  TScriptRun& run = scene.Run;
  const size_t base = run.Levels.size();
  const bool outermost = base == 0;
  // A handler's run inside a run that is being stopped is part of it.
  if (!outermost && run.Stopping) return;
  // Whichever way the run ends, a handler's error included, its levels go.
  struct TLevelsGuard {
    TScriptRun& run;
    size_t base;
    bool outermost;
    ~TLevelsGuard() {
      if (run.Levels.size() > base) run.Levels.resize(base);
      if (outermost) {
        run.Executed = 0;
        run.Stopping = false;
      }
    }
  } guard{run, base, outermost};
  run.Levels.push_back(first);
  while (run.Levels.size() > base && !run.Stopping) StepTopLevel(scene, frameTime);
  // A stopped run is over: it leaves no suspension of its own to resume.
  if (outermost && run.Stopping && first.Table == TScriptTable::Location && !first.Forced &&
      first.Serial == scene.FunctionTableSerial)
    FinishLocationLevel(scene, first);
}

// Command 16's call: a new level on top of the run under way, or a run of
// its own when the instruction was executed outside any run.
void CallLevel(TqvxScene& scene, TScriptLevel level, float frameTime) {
  TScriptRun& run = scene.Run;
  const TqvxFunction* f = FunctionOf(scene, level);
  if (!f || f->Instructions.empty()) return;
  level.Count = f->InstructionCount();
  scene.ScriptExecuting = true;
  if (run.Levels.empty()) {
    RunLevels(scene, level, frameTime);
    return;
  }
  if (run.Levels.size() >= kMaxCallDepth) {
    StopRun(scene, "more than " + std::to_string(kMaxCallDepth) + " calls nested");
    return;
  }
  run.Levels.push_back(level);
}

}  // namespace

void ExecuteInstruction(TqvxScene& scene, const TScriptInstruction& instruction, float frameTime) {
  const TInstructionInfo* info = FindInstructionInfo(instruction.Code);
  if (!info) return;
  if (!info->RunsWhenFalse && !scene.ScriptExecuting) return;
  const TCommandHandler handler = CommandHandler(instruction.Code);
  if (!handler) return;
  // The handler may free the table `instruction` lives in (a location change).
  const TScriptInstruction copy = instruction;
  handler(scene, copy, frameTime);
}

void ExecuteFunctionInstruction(TqvxScene& scene, int32_t function, int32_t index, float frameTime) {
  const TqvxFunction* f = LocationFunction(scene, function);
  if (!f || !InTable(index, f->Instructions.size())) return;
  ExecuteInstruction(scene, f->Instructions[static_cast<size_t>(index)], frameTime);
}

namespace {

// Starts a run at the level's first instruction, once that names an
// instruction of an existing function.
void StartRun(TqvxScene& scene, TScriptLevel level, float frameTime) {
  const TqvxFunction* f = FunctionOf(scene, level);
  if (!f) return;
  level.Count = f->InstructionCount();
  if (level.Next < 0 || level.Next >= level.Count) return;
  scene.ScriptExecuting = true;
  RunLevels(scene, level, frameTime);
}

}  // namespace

void RunFunction(TqvxScene& scene, int32_t function, int32_t start, bool forced, float frameTime) {
  TScriptLevel level;
  level.Function = function;
  level.Next = start;
  level.Serial = scene.FunctionTableSerial;
  level.Forced = forced;
  StartRun(scene, level, frameTime);
}

void RunGlobalFunction(TqvxScene& scene, int32_t function, int32_t start, float frameTime) {
  TScriptLevel level;
  level.Table = TScriptTable::Global;
  level.Function = function;
  level.Next = start;
  StartRun(scene, level, frameTime);
}

void RunAddLocFunction(TqvxScene& scene, int32_t addLoc, int32_t function, float frameTime, int32_t start) {
  TScriptLevel level;
  level.Table = TScriptTable::AddLoc;
  level.AddLoc = addLoc;
  level.Function = function;
  level.Next = start;
  StartRun(scene, level, frameTime);
}

void CallLocationFunction(TqvxScene& scene, int32_t function, float frameTime) {
  TScriptLevel level;
  level.Function = function;
  level.Serial = scene.FunctionTableSerial;
  CallLevel(scene, level, frameTime);
}

void CallGlobalFunction(TqvxScene& scene, int32_t function, float frameTime) {
  TScriptLevel level;
  level.Table = TScriptTable::Global;
  level.Function = function;
  CallLevel(scene, level, frameTime);
}

int32_t FindLocationFunction(const TqvxScene& scene, const std::string& name) {
  return FindIn(scene.Functions, name);
}

int32_t FindGlobalFunction(const TqvxScene& scene, const std::string& name) {
  return FindIn(scene.GlobalFunctions, name);
}

int32_t AddFunction(TqvxScene& scene, const std::string& name) {
  TqvxFunction f;
  f.Name = name.substr(0, kScriptStrLen);
  scene.Functions.push_back(std::move(f));
  return static_cast<int32_t>(scene.Functions.size()) - 1;
}

void CopyToGlobal(TqvxScene& scene, int32_t function) {
  const TqvxFunction* f = LocationFunction(scene, function);
  if (!f || FindGlobalFunction(scene, f->Name) >= 0) return;
  // Copy before appending: the source is in the other table, but a copy keeps
  // this safe whatever the tables share.
  TqvxFunction copy = *f;
  scene.GlobalFunctions.push_back(std::move(copy));
}

void ClearLocationFunctions(TqvxScene& scene) {
  scene.Functions.clear();
  ++scene.FunctionTableSerial;
}

bool TimerPending(const TqvxScene& scene, bool global, const std::string& name) {
  const int32_t index = global ? FindGlobalFunction(scene, name) : FindLocationFunction(scene, name);
  const TDelayedFunction* slots = global ? scene.DelayedGlobalFunctions : scene.DelayedFunctions;
  for (int k = 0; k < kDelayedSlots; ++k)
    if (slots[k].Function == index) return true;
  return false;
}

bool SuspendedMayResume(const TqvxScene& scene) {
  return scene.SuspendedFunction >= 0 && scene.WaitTime < 0 && !scene.HeroWalking && !HeroTurnPending(scene);
}

void ResumeSuspended(TqvxScene& scene, float frameTime) {
  if (!SuspendedMayResume(scene)) return;
  RunFunction(scene, scene.SuspendedFunction, scene.ResumeIndex, false, frameTime);
}

void PollKeyBindings(TqvxScene& scene, float frameTime) {
  if (!scene.InputEnabled) {
    // Read anyway, so that a press made while input was off is not seen late.
    for (const auto& entry : scene.KeyTable) GetAsyncKeyState(scene.Input, entry.Key);
    return;
  }
  for (int k = 0; k < kKeyEntries; ++k) {
    // The entry is re-read after each run: a key function may rebind keys or
    // reset the states (command 23), or enter another location.
    const bool down = GetAsyncKeyState(scene.Input, scene.KeyTable[k].Key) != 0;
    if (!down) {
      if (scene.KeyTable[k].State == 3) {
        scene.KeyTable[k].State = 0;
      } else if (scene.KeyTable[k].State == 2) {
        scene.KeyTable[k].State = 3;
        RunFunction(scene, scene.KeyTable[k].ReleaseFunction, 0, true, frameTime);
      }
    } else {
      if (scene.KeyTable[k].State < 2) ++scene.KeyTable[k].State;
      if (scene.KeyTable[k].State == 1 && scene.KeyTable[k].PressFunction >= 1)
        RunFunction(scene, scene.KeyTable[k].PressFunction, 0, true, frameTime);
      if (scene.KeyTable[k].State == 2 && scene.KeyTable[k].HoldFunction >= 1)
        RunFunction(scene, scene.KeyTable[k].HoldFunction, 0, true, frameTime);
    }
    if (!scene.InputEnabled) break;
  }
}

void TickTimers(TqvxScene& scene, float frameTime) {
  for (int k = 0; k < kDelayedSlots; ++k) {
    TDelayedFunction& local = scene.DelayedFunctions[k];
    if (local.Function >= 0) {
      if (local.Delay > 0) local.Delay -= frameTime;
      if (local.Delay <= 0 && (local.Forced || (!scene.HeroWalking && scene.WaitTime <= 0))) {
        // The slot is freed before the call: a call that raises an error then
        // ends once instead of failing again every frame, and one that leaves
        // the location cannot free a slot its successor has taken.
        const int32_t function = local.Function;
        local.Function = -1;
        // Due timers run as forced runs whatever their slot says: the slot's
        // flag only decides whether they wait for the hero and the wait.
        RunFunction(scene, function, 0, true, frameTime);
      }
    }
    TDelayedFunction& global = scene.DelayedGlobalFunctions[k];
    if (global.Function >= 0) {
      if (global.Delay > 0) global.Delay -= frameTime;
      if (global.Delay <= 0) {
        const int32_t function = global.Function;
        global.Function = -1;
        RunGlobalFunction(scene, function, 0, frameTime);
      }
    }
  }
  if (scene.FrameFunction >= 0) RunFunction(scene, scene.FrameFunction, 0, true, frameTime);
}

int32_t* VariableRef(TqvxScene& scene, int32_t index) {
  return InTable(index, kVariableCount) ? &scene.Variables[index] : nullptr;
}

TKeyEntry* KeyEntryRef(TqvxScene& scene, int32_t index) {
  return InTable(index, kKeyEntries) ? &scene.KeyTable[index] : nullptr;
}
