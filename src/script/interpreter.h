// The script interpreter: runs functions of fixed-size instructions against
// the scene record. There are no jumps; a condition sets ScriptExecuting and
// the commands after it run only while it is true.
//
// A location function run "not forced" stops before an instruction while the
// game waits (WaitTime > 0) or the hero walks, remembers itself in
// SuspendedFunction/ResumeIndex, and ResumeSuspended carries on from there on a
// later frame. Only one suspension is remembered: a suspended callee of
// command 16 is overwritten by its caller. Forced runs, global functions and
// additional-location functions run to the end at once.
//
// Handlers may replace the very tables a run walks (a location change, a
// loaded save), so runs index the tables afresh for every instruction and
// never hold references into them across a call.
//
// A run keeps its levels in scene.Run: command 16 adds a level there instead
// of recursing, so scripts may nest calls many thousands deep. A run that
// executes more than a million instructions or nests calls more than a
// hundred thousand deep is taken for a script that never ends: it stops, and
// one warning line on standard error names the function.
#pragma once

#include <cstdint>
#include <string>

#include "state/scene_state.h"
#include "state/instruction.h"

// One instruction through the code table (script/script_table.h). The
// instruction is copied first.
void ExecuteInstruction(TqvxScene& scene, const TScriptInstruction& instruction, float frameTime);
// Instruction `index` of location function `function`; nothing when either
// is outside the current table.
void ExecuteFunctionInstruction(TqvxScene& scene, int32_t function, int32_t index, float frameTime);

void RunFunction(TqvxScene& scene, int32_t function, int32_t start, bool forced, float frameTime);
void RunGlobalFunction(TqvxScene& scene, int32_t function, int32_t start, float frameTime);
void RunAddLocFunction(TqvxScene& scene, int32_t addLoc, int32_t function, float frameTime, int32_t start);
// Command 16: a location function (not forced) or a global function, from its
// first instruction, as the next level of the run under way. The caller's
// next instruction runs once that level has ended.
void CallLocationFunction(TqvxScene& scene, int32_t function, float frameTime);
void CallGlobalFunction(TqvxScene& scene, int32_t function, float frameTime);

int32_t FindLocationFunction(const TqvxScene& scene, const std::string& name);
int32_t FindGlobalFunction(const TqvxScene& scene, const std::string& name);
// Appends an empty location function (name cut to 30 bytes); its index.
int32_t AddFunction(TqvxScene& scene, const std::string& name);
// Copies a location function into the global table unless one of its name is
// there already.
void CopyToGlobal(TqvxScene& scene, int32_t function);
void ClearLocationFunctions(TqvxScene& scene);

// Whether a slot of the location (global false) or global table holds the
// function the name finds; a name found nowhere (-1) matches a free slot.
bool TimerPending(const TqvxScene& scene, bool global, const std::string& name);

// Per-frame entries, in this order, after objects, hero and wait countdown.
// The suspended function goes on once the wait has run out (WaitTime is back
// at its rest value below 0) and the hero neither walks nor plays a turn.
// Stricter than the test a run makes before each instruction (WaitTime above
// 0 or a walk), so a turn's frames finish before the script moves on.
bool SuspendedMayResume(const TqvxScene& scene);
void ResumeSuspended(TqvxScene& scene, float frameTime);
void PollKeyBindings(TqvxScene& scene, float frameTime);
void TickTimers(TqvxScene& scene, float frameTime);

// Bounds checks for operands that index tables. Scripts give variable numbers
// and key entries unchecked; an index outside the table gives null and the
// instruction that asked does nothing (rather than clamping, which would
// silently change some other variable).
int32_t* VariableRef(TqvxScene& scene, int32_t index);
TKeyEntry* KeyEntryRef(TqvxScene& scene, int32_t index);
