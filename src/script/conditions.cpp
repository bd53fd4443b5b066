// Conditions 101..121: each tests the game and stores the answer with
// SetScriptExecuting, which also keeps the previous flag for 105, 107 and
// 108. A condition that cannot answer (a missing object for 101 and 106, an
// unknown selector for 118 and 121, a variable number outside the table for
// 103 and 104) stores nothing, so both flags stay as they were.
#include <cmath>

#include "script/builtin_handlers.h"
#include "script/condition_queries.h"
#include "script/interpreter.h"

namespace {

using TIns = TScriptInstruction;

const std::string& Str(const TIns& ins, int n) { return ins.Str[static_cast<size_t>(n - 1)]; }
int32_t Op(const TIns& ins, int n) { return ins.Op[static_cast<size_t>(n - 1)]; }

const TqvxObject* Object(const TqvxScene& scene, const std::string& name) {
  const int32_t i = FindObject(scene, name);
  return i < 0 ? nullptr : &scene.Objects[static_cast<size_t>(i)];
}

// (op, str) is the literal op when str is exactly "INT", else variable op.
bool OperandValue(TqvxScene& scene, int32_t op, const std::string& str, int32_t& value) {
  if (str == "INT") {
    value = op;
    return true;
  }
  const int32_t* v = VariableRef(scene, op);
  if (!v) return false;
  value = *v;
  return true;
}

bool Within(double dx, double dy, double reach) { return dx * dx + dy * dy <= reach * reach; }

void IfPicture(TqvxScene& scene, const TIns& ins, float) {
  const TqvxObject* o = Object(scene, Str(ins, 1));
  if (!o) return;
  static const std::string kNone;
  SetScriptExecuting(scene, (o->Sprite ? o->Sprite->LibMaterialName() : kNone) == Str(ins, 2));
}

void IfCameFrom(TqvxScene& scene, const TIns& ins, float) {
  SetScriptExecuting(scene, scene.PreviousLocation == Str(ins, 1));
}

void IfEqual(TqvxScene& scene, const TIns& ins, float) {
  int32_t a = 0, b = 0;
  if (!OperandValue(scene, Op(ins, 1), Str(ins, 1), a) || !OperandValue(scene, Op(ins, 2), Str(ins, 2), b)) return;
  SetScriptExecuting(scene, a == b);
}

void IfGreater(TqvxScene& scene, const TIns& ins, float) {
  int32_t a = 0, b = 0;
  if (!OperandValue(scene, Op(ins, 1), Str(ins, 1), a) || !OperandValue(scene, Op(ins, 2), Str(ins, 2), b)) return;
  SetScriptExecuting(scene, a > b);
}

void Not(TqvxScene& scene, const TIns&, float) { SetScriptExecuting(scene, !scene.ScriptExecuting); }

void IfTouching(TqvxScene& scene, const TIns& ins, float) {
  const TqvxObject* a = Object(scene, Str(ins, 1));
  const TqvxObject* b = Object(scene, Str(ins, 2));
  if (!a || !b) return;
  bool touching = false;
  if (a->Visible && b->Visible) {
    for (const auto& ha : a->HotSpots)
      for (const auto& hb : b->HotSpots)
        touching = touching || Within(static_cast<double>(ha.X) - hb.X, static_cast<double>(ha.Y) - hb.Y,
                                      static_cast<double>(ha.Radius) + hb.Radius);
  }
  SetScriptExecuting(scene, touching);
}

void And(TqvxScene& scene, const TIns&, float) {
  SetScriptExecuting(scene, scene.ScriptExecuting && scene.ScriptExecutingBefore);
}

void Or(TqvxScene& scene, const TIns&, float) {
  SetScriptExecuting(scene, scene.ScriptExecuting || scene.ScriptExecutingBefore);
}

void IfItemInHand(TqvxScene& scene, const TIns& ins, float) {
  SetScriptExecuting(scene, ItemOnPointer(scene) == Op(ins, 1));
}

void IfHasItem(TqvxScene& scene, const TIns& ins, float) {
  SetScriptExecuting(scene, InventoryHolds(scene, Op(ins, 1)));
}

void IfCommentsLeft(TqvxScene& scene, const TIns& ins, float) {
  SetScriptExecuting(scene, VoiceSequencePending(scene, Str(ins, 1)));
}

void IfDragging(TqvxScene& scene, const TIns& ins, float) {
  SetScriptExecuting(scene, scene.DragObject == FindObject(scene, Str(ins, 1)));
}

void IfPointerOn(TqvxScene& scene, const TIns& ins, float) {
  const TqvxObject* o = Object(scene, Str(ins, 1));
  bool on = false;
  if (o) {
    int32_t cx = 0, cy = 0;
    GetCursorPos(scene.Input, cx, cy);
    const double px = std::nearbyint(static_cast<float>(cx) + scene.ScrollX);
    for (const auto& h : o->HotSpots) on = on || Within(px - h.X, static_cast<double>(cy) - h.Y, h.Radius);
  }
  SetScriptExecuting(scene, on);
}

void IfLoadingSave(TqvxScene& scene, const TIns&, float) { SetScriptExecuting(scene, LoadingSaveGame(scene)); }
void IfNotLoadingSave(TqvxScene& scene, const TIns&, float) { SetScriptExecuting(scene, !LoadingSaveGame(scene)); }

void IfObjectExists(TqvxScene& scene, const TIns& ins, float) {
  SetScriptExecuting(scene, FindObject(scene, Str(ins, 1)) >= 0);
}

void IfChance(TqvxScene& scene, const TIns& ins, float) { SetScriptExecuting(scene, Random(scene, 100) < Op(ins, 1)); }

void IfPairItem(TqvxScene& scene, const TIns& ins, float) {
  if (Op(ins, 1) != 0 && Op(ins, 1) != 1) return;
  SetScriptExecuting(scene, PairItem(scene, Op(ins, 1) == 1) == Op(ins, 2));
}

void IfTimeAfter(TqvxScene& scene, const TIns& ins, float) {
  SetScriptExecuting(scene, DayTimePhase(scene) * 1000.0f > static_cast<float>(Op(ins, 1)));
}

void IfTimeBefore(TqvxScene& scene, const TIns& ins, float) {
  SetScriptExecuting(scene, DayTimePhase(scene) * 1000.0f < static_cast<float>(Op(ins, 1)));
}

void IfTimerPending(TqvxScene& scene, const TIns& ins, float) {
  if (Op(ins, 1) != 0 && Op(ins, 1) != 1) return;
  SetScriptExecuting(scene, TimerPending(scene, Op(ins, 1) == 1, Str(ins, 1)));
}

}  // namespace

TCommandHandler BuiltinConditionHandler(int32_t code) {
  switch (code) {
    case 101: return IfPicture;
    case 102: return IfCameFrom;
    case 103: return IfEqual;
    case 104: return IfGreater;
    case 105: return Not;
    case 106: return IfTouching;
    case 107: return And;
    case 108: return Or;
    case 109: return IfItemInHand;
    case 110: return IfHasItem;
    case 111: return IfCommentsLeft;
    case 112: return IfDragging;
    case 113: return IfPointerOn;
    case 114: return IfLoadingSave;
    case 115: return IfNotLoadingSave;
    case 116: return IfObjectExists;
    case 117: return IfChance;
    case 118: return IfPairItem;
    case 119: return IfTimeAfter;
    case 120: return IfTimeBefore;
    case 121: return IfTimerPending;
    default: return nullptr;
  }
}
