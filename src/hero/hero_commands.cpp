#include "hero/hero_commands.h"

#include "hero/hero_movement.h"
#include "hero/path_finder.h"

void HeroCommandSetFacing(TqvxScene& scene, const TScriptInstruction& in) { SetHeroFacing(scene, in.Op[0]); }

void HeroCommandPlace(TqvxScene& scene, const TScriptInstruction& in) { PlaceHero(scene, in.Op[0], in.Op[1]); }

void HeroCommandWalk(TqvxScene& scene, const TScriptInstruction& in) { WalkTo(scene, in.Op[0], in.Op[1]); }

void HeroCommandTurn(TqvxScene& scene, const TScriptInstruction& in) { TurnAndStand(scene, in.Op[0]); }

void HeroCommandShowFrame(TqvxScene& scene, const TScriptInstruction& in) {
  TqvxObject* hero = HeroObject(scene);
  if (!hero) return;
  if (!in.Str[0].empty()) SetHeroFrame(scene, in.Str[0], true);
  hero->Animated = true;
}

void HeroCommandIdleOnArrival(TqvxScene& scene, const TScriptInstruction& in) { scene.IdleOnArrival = in.Op[0] > 0; }
