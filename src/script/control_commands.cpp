// The commands that steer runs: 16 calls a function now, 17 schedules or
// cancels delayed calls, 39 ends the running location function. Delays come
// in milliseconds and are kept in seconds.
#include "script/builtin_handlers.h"
#include "script/interpreter.h"

namespace {

void Call(TqvxScene& scene, const TScriptInstruction& ins, float frameTime) {
  const std::string& name = ins.Str[0];
  switch (ins.Op[0]) {
    case 0: CallLocationFunction(scene, FindLocationFunction(scene, name), frameTime); break;
    case 1: CallGlobalFunction(scene, FindGlobalFunction(scene, name), frameTime); break;
    case 2: CopyToGlobal(scene, FindLocationFunction(scene, name)); break;
    default: break;
  }
}

void DelayedCall(TqvxScene& scene, const TScriptInstruction& ins, float) {
  const std::string& name = ins.Str[0];
  const float seconds = static_cast<float>(ins.Op[0]) / 1000.0f;
  switch (ins.Op[1]) {
    case 0: AddDelayedFunction(scene, FindLocationFunction(scene, name), false, seconds); break;
    case 1: AddDelayedFunction(scene, FindLocationFunction(scene, name), true, seconds); break;
    case 2: AddDelayedGlobalFunction(scene, FindGlobalFunction(scene, name), seconds); break;
    case 3: CancelDelayedFunction(scene, FindLocationFunction(scene, name)); break;
    case 4: CancelDelayedGlobalFunction(scene, FindGlobalFunction(scene, name)); break;
    case 5: ClearDelayedFunctions(scene); break;
    case 6: ClearDelayedGlobalFunctions(scene); break;
    default: break;
  }
}

void EndFunction(TqvxScene& scene, const TScriptInstruction& ins, float) {
  if (ins.Op[0] == 0) scene.StopRequested = true;
}

}  // namespace

TCommandHandler BuiltinControlHandler(int32_t code) {
  switch (code) {
    case 16: return Call;
    case 17: return DelayedCall;
    case 39: return EndFunction;
    default: return nullptr;
  }
}

TCommandHandler BuiltinHandler(int32_t code) {
  if (TCommandHandler h = BuiltinControlHandler(code)) return h;
  return BuiltinConditionHandler(code);
}
