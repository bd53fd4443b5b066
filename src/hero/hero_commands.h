// Script commands 6 to 11: turn, place, walk and animate the hero and choose
// whether a walk ends in the idle pose. Each takes its operands from the
// instruction as stored; a direction outside 0..7 or a cell off the walk grid
// does nothing. Whether a command runs while scripts are switched off is the
// interpreter's business, not the handler's. The handlers have the code
// table's shape; RegisterHeroCommands installs them.
#pragma once

#include "state/scene_state.h"
#include "state/instruction.h"

// 6: face direction Op1 and show its standing frame from its start.
void HeroCommandSetFacing(TqvxScene& scene, const TScriptInstruction& in, float frameTime);
// 7: put the hero on cell (Op1, Op2) unless it is blocked.
void HeroCommandPlace(TqvxScene& scene, const TScriptInstruction& in, float frameTime);
// 8: walk the hero to cell (Op1, Op2).
void HeroCommandWalk(TqvxScene& scene, const TScriptInstruction& in, float frameTime);
// 9: turn to direction Op1 through the turn frames, then stand.
void HeroCommandTurn(TqvxScene& scene, const TScriptInstruction& in, float frameTime);
// 10: show frame Str1 (when not empty) and let the frame chain run.
void HeroCommandShowFrame(TqvxScene& scene, const TScriptInstruction& in, float frameTime);
// 11: take the idle pose at the end of every walk when Op1 > 0.
void HeroCommandIdleOnArrival(TqvxScene& scene, const TScriptInstruction& in, float frameTime);

// Puts the handlers above into the interpreter's code table (codes 6..11).
void RegisterHeroCommands();
