// Feeds arbitrary bytes to the function table reader, runs every function it
// yields as the game would (unforced, forced, as globals, from timers and
// keys), and checks that the text form reproduces every stored byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/game_error.h"
#include "script/function_io.h"
#include "script/interpreter.h"
#include "script/script_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TBinaryReader in(std::span<const uint8_t>(data, size), "fuzz.bin");
  std::vector<TqvxFunction> table;
  try {
    if (!ReadFunctionTable(in, table)) return 0;
  } catch (const EGameError&) {
    return 0;
  }

  const std::vector<TqvxFunction> back = ParseScriptText(FormatFunctions(table), "fuzz.txt");
  if (back.size() != table.size()) std::abort();
  for (size_t f = 0; f < table.size(); ++f) {
    if (back[f].Name != table[f].Name || back[f].InstructionCount() != table[f].InstructionCount()) std::abort();
    for (size_t i = 0; i < table[f].Instructions.size(); ++i)
      if (InstructionBytes(back[f].Instructions[i]) != InstructionBytes(table[f].Instructions[i])) std::abort();
  }

  TqvxScene scene;
  ResetScene(scene);
  scene.Functions = table;
  scene.GlobalFunctions = table;
  for (int32_t f = 0; f < static_cast<int32_t>(table.size()); ++f) {
    RunFunction(scene, f, 0, false, 0.02f);
    RunFunction(scene, f, 0, true, 0.02f);
    RunGlobalFunction(scene, f, 0, 0.02f);
    AddDelayedFunction(scene, f, f % 2 == 0, 0.01f);
    scene.KeyTable[f % kKeyEntries].PressFunction = f;
  }
  scene.FrameFunction = 0;
  scene.Input.SetKey(37, true);
  scene.Input.SetKey(32, true);
  for (int frame = 0; frame < 3; ++frame) {
    scene.WaitTime = -1;
    ResumeSuspended(scene, 0.02f);
    PollKeyBindings(scene, 0.02f);
    TickTimers(scene, 0.02f);
  }
  return 0;
}
