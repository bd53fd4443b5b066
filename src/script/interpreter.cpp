#include "script/interpreter.h"

#include "script/script_table.h"

namespace {

bool ValidIndex(int32_t index, size_t size) { return index >= 0 && static_cast<size_t>(index) < size; }

const TqvxFunction* LocationFunction(const TqvxScene& scene, int32_t function) {
  return ValidIndex(function, scene.Functions.size()) ? &scene.Functions[static_cast<size_t>(function)] : nullptr;
}

int32_t FindIn(const std::vector<TqvxFunction>& table, const std::string& name) {
  for (size_t i = 0; i < table.size(); ++i)
    if (table[i].Name == name) return static_cast<int32_t>(i);
  return -1;
}

// Runs instructions [start, count) of table[function] to the end, with no wait
// or stop test, as global and additional-location functions run. `table`
// names where the function lives; it is looked up afresh each step because a
// command may grow or replace it.
template <typename TableOf>
void RunToEnd(TqvxScene& scene, TableOf tableOf, int32_t function, int32_t start, float frameTime) {
  const std::vector<TqvxFunction>* table = tableOf(scene);
  if (!table || !ValidIndex(function, table->size())) return;
  const int32_t count = (*table)[static_cast<size_t>(function)].InstructionCount();
  if (start < 0 || start >= count) return;
  scene.ScriptExecuting = true;
  for (int32_t i = start; i < count; ++i) {
    table = tableOf(scene);
    if (!table || !ValidIndex(function, table->size())) return;
    const TqvxFunction& f = (*table)[static_cast<size_t>(function)];
    if (!ValidIndex(i, f.Instructions.size())) return;
    ExecuteInstruction(scene, f.Instructions[static_cast<size_t>(i)], frameTime);
  }
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
  if (!f || !ValidIndex(index, f->Instructions.size())) return;
  ExecuteInstruction(scene, f->Instructions[static_cast<size_t>(index)], frameTime);
}

void RunFunction(TqvxScene& scene, int32_t function, int32_t start, bool forced, float frameTime) {
  const TqvxFunction* f = LocationFunction(scene, function);
  if (!f) return;
  const int32_t count = f->InstructionCount();
  if (start < 0 || start >= count) return;
  const uint32_t serial = scene.FunctionTableSerial;

  scene.ScriptExecuting = true;
  for (int32_t i = start; i < count; ++i) {
    if (!forced && (scene.WaitTime > 0 || scene.HeroWalking)) {
      scene.SuspendedFunction = function;
      scene.ResumeIndex = i;
      return;
    }
    scene.StopRequested = false;
    ExecuteFunctionInstruction(scene, function, i, frameTime);
    // The location was left during this instruction: the new location's start
    // function has run and owns the suspension state now. Going on would run
    // instruction i + 1 of whatever function now has this index.
    if (scene.FunctionTableSerial != serial) return;
    if (scene.StopRequested) {
      scene.StopRequested = false;
      break;
    }
    if (!forced) scene.ResumeIndex = i + 1;
  }
  if (!forced) scene.SuspendedFunction = -1;
  scene.ScriptExecuting = true;
}

void RunGlobalFunction(TqvxScene& scene, int32_t function, int32_t start, float frameTime) {
  RunToEnd(
      scene, [](TqvxScene& s) -> const std::vector<TqvxFunction>* { return &s.GlobalFunctions; }, function,
      start, frameTime);
}

void RunAddLocFunction(TqvxScene& scene, int32_t addLoc, int32_t function, float frameTime, int32_t start) {
  RunToEnd(
      scene,
      [addLoc](TqvxScene& s) -> const std::vector<TqvxFunction>* {
        return ValidIndex(addLoc, s.AddLocs.size()) ? &s.AddLocs[static_cast<size_t>(addLoc)].Functions : nullptr;
      },
      function, start, frameTime);
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

void ResumeSuspended(TqvxScene& scene, float frameTime) {
  if (scene.WaitTime > 0 || scene.HeroWalking || scene.SuspendedFunction < 0) return;
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
        const uint32_t serial = scene.FunctionTableSerial;
        // Due timers run as forced runs whatever their slot says: the slot's
        // flag only decides whether they wait for the hero and the wait.
        RunFunction(scene, local.Function, 0, true, frameTime);
        // After a location change the slots belong to the new location (the
        // reset freed this one, and its start script may have refilled it).
        if (scene.FunctionTableSerial == serial) scene.DelayedFunctions[k].Function = -1;
      }
    }
    TDelayedFunction& global = scene.DelayedGlobalFunctions[k];
    if (global.Function >= 0) {
      if (global.Delay > 0) global.Delay -= frameTime;
      if (global.Delay <= 0) {
        RunGlobalFunction(scene, global.Function, 0, frameTime);
        scene.DelayedGlobalFunctions[k].Function = -1;
      }
    }
  }
  if (scene.FrameFunction >= 0) RunFunction(scene, scene.FrameFunction, 0, true, frameTime);
}

int32_t* VariableRef(TqvxScene& scene, int32_t index) {
  return ValidIndex(index, kVariableCount) ? &scene.Variables[index] : nullptr;
}

TKeyEntry* KeyEntryRef(TqvxScene& scene, int32_t index) {
  return ValidIndex(index, kKeyEntries) ? &scene.KeyTable[index] : nullptr;
}
