#include "hero/hero_commands.h"

#include <algorithm>

#include "hero/hero_movement.h"
#include "script/interpreter.h"
#include "state/instruction.h"
#include "state/scene_state.h"

namespace {

constexpr int32_t kStepSoundRows = 16;
constexpr int32_t kDirections = 8;

// 1: the object Str1 becomes the hero, facing the viewer.
void SetHeroCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  SetHero(scene, ins.Str[0]);
  scene.HeroDirection = 3;
}

// Walk-grid fill: every cell with x0 <= x <= x1 and y0 <= y <= y1 that lies
// on the grid takes `value`. The bounds are clipped to the grid first so that
// a script's wide range costs no more than the grid itself.
void FillWalkGrid(TqvxScene& scene, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t value) {
  const int64_t columns = static_cast<int64_t>(scene.WalkGrid.size());
  const int64_t fromX = std::max<int64_t>(x0, 0), toX = std::min<int64_t>(x1, columns - 1);
  const int64_t fromY = std::max<int64_t>(y0, 0), toY = std::min<int64_t>(y1, kGridRows - 1);
  for (int64_t x = fromX; x <= toX; ++x)
    for (int64_t y = fromY; y <= toY; ++y) scene.WalkGrid[static_cast<size_t>(x)][static_cast<size_t>(y)] = value;
}

// 2: hero set-up, by Op1.
void HeroSetupCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  const auto& op = ins.Op;
  switch (op[0]) {
    case -2: scene.HeroClickFunction = FindGlobalFunction(scene, ins.Str[0]); break;
    case -1:
      scene.HeroClickWidth = static_cast<float>(op[1]);
      scene.HeroClickHeight = static_cast<float>(op[2]);
      break;
    case 1: scene.HeroSpeed = static_cast<float>(op[1]); break;
    case 2:
      if (!InTable(op[1], kStepSoundRows)) break;
      if (op[2] == 0) scene.StepSounds[op[1]].Frame = ins.Str[0];
      if (op[2] == 1) scene.StepSounds[op[1]].Sound = ins.Str[0];
      break;
    case 3: FillWalkGrid(scene, op[1], op[2], op[3], op[4], op[5]); break;
    case 70:
      for (int i = 0; i < 5; ++i) scene.StandFrames[i] = ins.Str[static_cast<size_t>(i)];
      SetHeroFrame(scene, scene.StandFrames[3], true);
      break;
    default: break;
  }
}

// 4: standing frames 5..8.
void MoreStandFramesCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  for (int i = 0; i < 4; ++i) scene.StandFrames[5 + i] = ins.Str[static_cast<size_t>(i)];
}

// 42: the hero's scaling by depth (Op1 0), by x (Op1 1), and the tilt at the
// two ends of the x band (Op1 2). Scales come in thousandths.
void HeroScalingCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  const auto& op = ins.Op;
  switch (op[0]) {
    case 0:
      scene.DepthY1 = op[1];
      scene.DepthY2 = op[2];
      scene.DepthScale1 = static_cast<float>(op[3]) / 1000.0f;
      scene.DepthScale2 = static_cast<float>(op[4]) / 1000.0f;
      scene.DepthScaleOn = true;
      break;
    case 1:
      scene.SlopeX1 = op[1];
      scene.SlopeX2 = op[2];
      scene.SlopeScale1 = static_cast<float>(op[3]) / 1000.0f;
      scene.SlopeScale2 = static_cast<float>(op[4]) / 1000.0f;
      scene.SlopeOn = true;
      break;
    case 2:
      scene.SlopeRotation1 = static_cast<float>(op[1]);
      scene.SlopeRotation2 = static_cast<float>(op[2]);
      break;
    default: break;
  }
}

// 43: the hero's frame names by group: 0 idle, 4 walking in direction Op2,
// 7 and 8 the two halves of the turn frames.
void HeroFrameNamesCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  const auto& str = ins.Str;
  switch (ins.Op[0]) {
    case 0: std::copy_n(str.begin(), 4, scene.IdleFrames); break;
    case 4:
      if (InTable(ins.Op[1], kDirections)) std::copy_n(str.begin(), 5, scene.WalkFrames[ins.Op[1]]);
      break;
    case 7: std::copy_n(str.begin(), 4, scene.TurnFrames); break;
    case 8: std::copy_n(str.begin(), 4, scene.TurnFrames + 4); break;
    default: break;
  }
}

// 6: face direction Op1 and show its standing frame from its start.
void SetFacingCommand(TqvxScene& scene, const TScriptInstruction& in, float) { SetHeroFacing(scene, in.Op[0]); }

// 7: put the hero on cell (Op1, Op2) unless it is blocked.
void PlaceCommand(TqvxScene& scene, const TScriptInstruction& in, float) { PlaceHero(scene, in.Op[0], in.Op[1]); }

// 8: walk the hero to cell (Op1, Op2).
void WalkCommand(TqvxScene& scene, const TScriptInstruction& in, float) { WalkTo(scene, in.Op[0], in.Op[1]); }

// 9: turn to direction Op1 through the turn frames, then stand.
void TurnCommand(TqvxScene& scene, const TScriptInstruction& in, float) { TurnAndStand(scene, in.Op[0]); }

// 10: show frame Str1 (when not empty) and let the frame chain run.
void ShowFrameCommand(TqvxScene& scene, const TScriptInstruction& in, float) {
  TqvxObject* hero = HeroObject(scene);
  if (!hero) return;
  if (!in.Str[0].empty()) SetHeroFrame(scene, in.Str[0], true);
  hero->Animated = true;
}

// 11: take the idle pose at the end of every walk when Op1 > 0.
void IdleOnArrivalCommand(TqvxScene& scene, const TScriptInstruction& in, float) { scene.IdleOnArrival = in.Op[0] > 0; }

}  // namespace

std::span<const TCommandBinding> HeroCommands() {
  static constexpr TCommandBinding kBindings[] = {
      {1, SetHeroCommand},        {2, HeroSetupCommand},  {4, MoreStandFramesCommand},
      {6, SetFacingCommand},      {7, PlaceCommand},      {8, WalkCommand},
      {9, TurnCommand},           {10, ShowFrameCommand}, {11, IdleOnArrivalCommand},
      {42, HeroScalingCommand},   {43, HeroFrameNamesCommand},
  };
  return kBindings;
}
