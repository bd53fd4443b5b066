#include "hero/hero_commands.h"

#include "hero/hero_movement.h"
#include "hero/path_finder.h"
#include "script/script_table.h"

void HeroCommandSetFacing(TqvxScene& scene, const TScriptInstruction& in, float) { SetHeroFacing(scene, in.Op[0]); }

void HeroCommandPlace(TqvxScene& scene, const TScriptInstruction& in, float) { PlaceHero(scene, in.Op[0], in.Op[1]); }

void HeroCommandWalk(TqvxScene& scene, const TScriptInstruction& in, float) { WalkTo(scene, in.Op[0], in.Op[1]); }

void HeroCommandTurn(TqvxScene& scene, const TScriptInstruction& in, float) { TurnAndStand(scene, in.Op[0]); }

void HeroCommandShowFrame(TqvxScene& scene, const TScriptInstruction& in, float) {
  TqvxObject* hero = HeroObject(scene);
  if (!hero) return;
  if (!in.Str[0].empty()) SetHeroFrame(scene, in.Str[0], true);
  hero->Animated = true;
}

void HeroCommandIdleOnArrival(TqvxScene& scene, const TScriptInstruction& in, float) { scene.IdleOnArrival = in.Op[0] > 0; }

void RegisterHeroCommands() {
  RegisterCommand(6, HeroCommandSetFacing);
  RegisterCommand(7, HeroCommandPlace);
  RegisterCommand(8, HeroCommandWalk);
  RegisterCommand(9, HeroCommandTurn);
  RegisterCommand(10, HeroCommandShowFrame);
  RegisterCommand(11, HeroCommandIdleOnArrival);
}
