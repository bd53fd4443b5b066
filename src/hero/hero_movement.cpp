#include "hero/hero_movement.h"

#include <algorithm>
#include <cmath>

#include "hero/path_finder.h"
#include "platform/angles.h"
#include "resources/matlib.h"

namespace {

constexpr int32_t kMaxTurnQueue = 6;

// The directions in counter-clockwise order, and each direction's place in it.
constexpr int32_t kRing[8] = {1, 5, 2, 6, 0, 4, 3, 7};
constexpr int32_t kRingPlace[8] = {4, 0, 2, 6, 5, 1, 3, 7};

// kTurnPath[from][to]: the directions a turn passes through, -1 padded. Turns
// go the shorter way round; a reversal passes through left (0), except the
// one between left and right, which passes through up (2). Kept as a table
// because the reversals follow no rule a formula would capture more clearly.
constexpr int8_t kTurnPath[8][8][3] = {
    // from 0
    {{-1, -1, -1}, {6, 2, 5}, {6, -1, -1}, {4, -1, -1}, {-1, -1, -1}, {6, 2, -1}, {-1, -1, -1}, {4, 3, -1}},
    // from 1
    {{5, 2, 6}, {-1, -1, -1}, {5, -1, -1}, {7, -1, -1}, {7, 3, -1}, {-1, -1, -1}, {5, 2, -1}, {-1, -1, -1}},
    // from 2
    {{6, -1, -1}, {5, -1, -1}, {-1, -1, -1}, {6, 0, 4}, {6, 0, -1}, {-1, -1, -1}, {-1, -1, -1}, {5, 1, -1}},
    // from 3
    {{4, -1, -1}, {7, -1, -1}, {4, 0, 6}, {-1, -1, -1}, {-1, -1, -1}, {7, 1, -1}, {4, 0, -1}, {-1, -1, -1}},
    // from 4
    {{-1, -1, -1}, {3, 7, -1}, {0, 6, -1}, {-1, -1, -1}, {-1, -1, -1}, {0, 6, 2}, {0, -1, -1}, {3, -1, -1}},
    // from 5
    {{2, 6, -1}, {-1, -1, -1}, {-1, -1, -1}, {1, 7, -1}, {2, 6, 0}, {-1, -1, -1}, {2, -1, -1}, {1, -1, -1}},
    // from 6
    {{-1, -1, -1}, {2, 5, -1}, {-1, -1, -1}, {0, 4, -1}, {0, -1, -1}, {2, -1, -1}, {-1, -1, -1}, {0, 4, 3}},
    // from 7
    {{3, 4, -1}, {-1, -1, -1}, {1, 5, -1}, {-1, -1, -1}, {3, -1, -1}, {1, -1, -1}, {3, 4, 0}, {-1, -1, -1}},
};

bool ValidDirection(int32_t d) { return d >= 0 && d < 8; }

// The first frame record of that name in the person archive.
const TImageEntry* FindPersonFrame(const TqvxScene& scene, const std::string& name) {
  return MatLibEntry(scene.PersonArchive, MatLibFindImage(scene.PersonArchive, name));
}

// Linear between (v1, a) and (v2, b), held at a below v1 and at b above v2.
// A band with v2 <= v1 never reaches the division.
float Interpolate(float v, int32_t v1, int32_t v2, float a, float b) {
  if (v <= static_cast<float>(v1)) return a;
  if (v >= static_cast<float>(v2)) return b;
  const double t = (static_cast<double>(v) - v1) / (static_cast<double>(v2) - v1);
  return static_cast<float>(a + (static_cast<double>(b) - a) * t);
}

void EndWalk(TqvxScene& scene, TqvxObject& hero, bool inputBack) {
  scene.WaypointCount = 0;
  scene.WaypointIndex = -1;
  hero.Speed = 0;
  scene.HeroWalking = false;
  scene.InputEnabled = inputBack;
  if (scene.IdleOnArrival) ShowIdlePose(scene);
}

}  // namespace

int32_t DirectionFromHeading(float heading) {
  double h = heading;
  if (!std::isfinite(h)) return 1;
  if (h < 0 || h >= 360) {
    h = std::fmod(h, 360.0);
    if (h < 0) h += 360.0;
  }
  if (h < 15) return 1;
  if (h < 75) return 5;
  if (h < 105) return 2;
  if (h < 165) return 6;
  if (h < 195) return 0;
  if (h < 255) return 4;
  if (h < 285) return 3;
  if (h < 345) return 7;
  return 1;
}

int32_t CounterClockwiseNeighbour(int32_t direction) {
  if (!ValidDirection(direction)) return -1;
  return kRing[(kRingPlace[direction] + 1) % 8];
}

TqvxObject* HeroObject(TqvxScene& scene) {
  if (!ValidObject(scene, scene.HeroIndex)) return nullptr;
  return &scene.Objects[static_cast<size_t>(scene.HeroIndex)];
}


void ComputeWalkSpeed(TqvxScene& scene) {
  TqvxObject* hero = HeroObject(scene);
  if (!hero) return;
  // Walking straight up or down is half as fast as walking sideways.
  const double factor = 1.0 - 0.5 * std::fabs(std::sin(hero->Heading * kDegToRad));
  scene.HeroWalkSpeed =
      static_cast<float>(factor * scene.HeroSpeed * scene.DepthScale * scene.SlopeScale);
}

void StartWalk(TqvxScene& scene) {
  TqvxObject* hero = HeroObject(scene);
  // No waypoints means nothing to aim at: the walk would read a stale list.
  if (!hero || scene.WaypointCount <= 0) return;
  const TGridPoint& w = scene.Waypoints[0];
  hero->Heading = HeadingBetween(hero->X, hero->Y, static_cast<float>(w.X), static_cast<float>(w.Y));
  ComputeWalkSpeed(scene);
  hero->Speed = scene.HeroWalkSpeed;
  scene.WaypointIndex = 0;
  hero->Animated = true;
  ChooseWalkFrame(scene);
  scene.HeroWalking = true;
  scene.IdlePoseShown = false;
  scene.InputEnabled = false;
}

void StopWalk(TqvxScene& scene) {
  TqvxObject* hero = HeroObject(scene);
  // A walk that took input away for good (a cut scene) cannot be stopped.
  if (!hero || !scene.InputWhenIdle) return;
  scene.SuspendedFunction = -1;
  EndWalk(scene, *hero, true);
}

void FollowWaypoints(TqvxScene& scene, float dt) {
  TqvxObject* hero = HeroObject(scene);
  if (!hero) return;
  if (scene.HeroWalking && scene.WaypointIndex >= 0) {
    if (scene.WaypointIndex >= scene.WaypointCount || scene.WaypointIndex >= kMaxWaypoints) {
      // The walk request may skip a waypoint the hero already stands on; when
      // that was the last one the walk is over.
      EndWalk(scene, *hero, scene.InputWhenIdle);
    } else {
      // While a turn plays the speed drops to zero every second frame, so the
      // hero creeps on at half pace instead of stopping.
      if (scene.WaitTime > 0 && scene.HeroWalkSpeed > 0)
        scene.HeroWalkSpeed = 0;
      else if (scene.HeroWalkSpeed == 0)
        ComputeWalkSpeed(scene);
      hero->Speed = scene.HeroWalkSpeed;

      const TGridPoint w = scene.Waypoints[scene.WaypointIndex];
      const float wx = static_cast<float>(w.X), wy = static_cast<float>(w.Y);
      const double rad = hero->Heading * kDegToRad;
      const double reach = static_cast<double>(dt) * scene.HeroWalkSpeed * 2.0;
      const bool reached = std::fabs(static_cast<double>(hero->X) - wx) <= std::fabs(std::cos(rad) * reach) &&
                           std::fabs(static_cast<double>(hero->Y) - wy) <= std::fabs(std::sin(rad) * reach);
      if (reached) {
        SetObjectPosition(scene, scene.HeroIndex, wx, wy);
        ++scene.WaypointIndex;
        if (scene.WaypointIndex < scene.WaypointCount) {
          const TGridPoint& next = scene.Waypoints[scene.WaypointIndex];
          hero->Heading = HeadingBetween(hero->X, hero->Y, static_cast<float>(next.X), static_cast<float>(next.Y));
          hero->Speed = 0;
          ChooseWalkFrame(scene);
        } else {
          EndWalk(scene, *hero, scene.InputWhenIdle);
        }
      } else {
        hero->Heading = HeadingBetween(hero->X, hero->Y, wx, wy);
      }
    }
  }
  if (scene.WaypointIndex < 0 && scene.IdleOnArrival) ShowIdlePose(scene);
}

void TickWait(TqvxScene& scene, float dt) {
  if (!HeroObject(scene) || scene.WaitTime < 0) return;
  scene.WaitTime -= dt;
  if (scene.WaitTime > 0) return;
  if (scene.HeroTalking) {
    SetHeroFrame(scene, scene.StandFrames[3], true);
    scene.HeroTalking = false;
  }
  ChooseWalkFrame(scene);
}

void PlayTurnQueue(TqvxScene& scene, float dt) {
  TqvxObject* hero = HeroObject(scene);
  if (!hero || scene.TurnPlayIndex < 0) return;
  scene.TurnPlayClock += dt;
  if (scene.TurnPlayClock <= kTurnFrameTime) return;
  ++scene.TurnPlayIndex;
  if (scene.TurnPlayIndex > std::min(scene.TurnQueueCount, kMaxTurnQueue)) {
    scene.TurnPlayIndex = -1;
    hero->Animated = true;  // the last frame's own chain runs on
  } else {
    SetHeroFrame(scene, scene.TurnQueue[scene.TurnPlayIndex], true);
    hero->Animated = false;
  }
  scene.TurnPlayClock -= kTurnFrameTime;
}

void ChooseWalkFrame(TqvxScene& scene) {
  TqvxObject* hero = HeroObject(scene);
  if (!hero || scene.WaitTime > 0 || scene.WaypointIndex < 0) return;
  const int32_t d = DirectionFromHeading(hero->Heading);
  if (d == scene.HeroDirection)
    SetHeroFrame(scene, scene.WalkFrames[d][1], true);
  else
    TurnTo(scene, d);
}

void QueueTurnFrame(TqvxScene& scene, const std::string& name) {
  if (scene.TurnQueueCount < 0) scene.TurnQueueCount = 0;
  if (scene.TurnQueueCount >= kMaxTurnQueue) return;
  ++scene.TurnQueueCount;
  scene.TurnQueue[scene.TurnQueueCount] = name;
}

void TurnTo(TqvxScene& scene, int32_t d) {
  if (!HeroObject(scene) || !ValidDirection(d)) return;
  scene.TurnQueueCount = 0;
  const int32_t from = scene.HeroDirection;
  if (d == from || !ValidDirection(from)) {
    // A direction read from a damaged save has no way round the ring: face d.
    scene.HeroDirection = d;
    scene.WaitTime = 0.001f;
    return;
  }
  const int8_t* passed = kTurnPath[from][d];
  const int32_t first = passed[0] >= 0 ? passed[0] : d;
  // Edge a joins a direction a to its counter-clockwise neighbour.
  const int32_t edge = CounterClockwiseNeighbour(from) == first ? from : first;
  QueueTurnFrame(scene, scene.TurnFrames[edge]);
  for (int i = 0; i < 3 && passed[i] >= 0; ++i) QueueTurnFrame(scene, scene.WalkFrames[passed[i]][i + 1]);
  scene.HeroDirection = d;
  QueueTurnFrame(scene, scene.WalkFrames[d][scene.TurnQueueCount]);
  scene.TurnPlayIndex = 0;
  scene.TurnPlayClock = 0;
  scene.WaitTime = static_cast<float>(scene.TurnQueueCount) * kTurnFrameTime;
}

void TurnAndStand(TqvxScene& scene, int32_t d) {
  if (!HeroObject(scene) || !ValidDirection(d)) return;
  TurnTo(scene, d);
  QueueTurnFrame(scene, scene.StandFrames[scene.HeroDirection]);
  scene.WaitTime += 2 * kTurnFrameTime;
}

void SetHeroFacing(TqvxScene& scene, int32_t d) {
  if (!HeroObject(scene) || !ValidDirection(d)) return;
  scene.HeroDirection = d;
  SetHeroFrame(scene, scene.StandFrames[d], true);
}

void ShowIdlePose(TqvxScene& scene) {
  if (!HeroObject(scene) || scene.IdlePoseShown) return;
  scene.IdlePoseShown = true;
  switch (scene.HeroDirection) {
    case 0:
    case 1:
    case 2:
    case 3:
      SetHeroFrame(scene, scene.IdleFrames[scene.HeroDirection], true);
      break;
    // Diagonals first turn to the nearer of up and down.
    case 4:
    case 7:
      TurnAndStand(scene, 3);
      break;
    case 5:
    case 6:
      TurnAndStand(scene, 2);
      break;
    default:
      break;
  }
}

void SetHeroFrame(TqvxScene& scene, const std::string& name, bool restart) {
  TqvxObject* hero = HeroObject(scene);
  if (!hero) return;
  const TImageEntry* frame = FindPersonFrame(scene, name);
  if (!frame) return;
  // Copy first: the name may be the hero's own NextPicture.
  const std::string shown = name;
  hero->NextPicture = frame->NextName;
  hero->FrameTime = static_cast<float>(frame->FrameTime) / 1000.0f;
  if (restart) hero->FrameTimer = 0;
  if (hero->Sprite) {
    if (hero->Sprite->MaterialLibrary() == scene.PersonLibrary.get())
      hero->Sprite->SetLibMaterialName(shown);
    else
      hero->Sprite->SetMaterial(scene.PersonLibrary.get(), shown);
  }
  PlayStepSound(scene, shown);
}

void PlayStepSound(TqvxScene& scene, const std::string& frame) {
  for (const TStepSound& binding : scene.StepSounds) {
    if (binding.Frame == frame && !binding.Sound.empty()) {
      if (scene.StepSoundHook) scene.StepSoundHook(scene, binding.Sound);
      return;
    }
  }
}

void ScaleHero(TqvxScene& scene) {
  TqvxObject* hero = HeroObject(scene);
  if (!hero || (!scene.DepthScaleOn && !scene.SlopeOn)) return;
  scene.DepthScale =
      scene.DepthScaleOn ? Interpolate(hero->Y, scene.DepthY1, scene.DepthY2, scene.DepthScale1, scene.DepthScale2)
                         : 1.0f;
  if (scene.SlopeOn) {
    scene.SlopeScale = Interpolate(hero->X, scene.SlopeX1, scene.SlopeX2, scene.SlopeScale1, scene.SlopeScale2);
    hero->Rotation = Interpolate(hero->X, scene.SlopeX1, scene.SlopeX2, scene.SlopeRotation1, scene.SlopeRotation2);
  } else {
    scene.SlopeScale = 1.0f;
  }
  const float s = scene.DepthScale * scene.SlopeScale;
  // The walking speed follows the scale continuously.
  if (scene.HeroWalking && hero->Speed > 0) {
    ComputeWalkSpeed(scene);
    hero->Speed = scene.HeroWalkSpeed;
  }
  if (THUDSprite* sprite = hero->Sprite) {
    sprite->Width = hero->Width * s;
    sprite->Height = hero->Height * s;
    if (scene.SlopeOn) sprite->Rotation = hero->Rotation;
    // Keep the pivot (the feet) on the hero's position while the picture
    // shrinks or grows.
    sprite->PositionX += (1 - s) * hero->PivotX;
    sprite->PositionY += (1 - s) * hero->PivotY;
  }
}

void PlaceHero(TqvxScene& scene, int32_t cx, int32_t cy) {
  if (!HeroObject(scene) || !CellInGrid(scene, cx, cy) || GridCell(scene, cx, cy) == 1) return;
  SetObjectPosition(scene, scene.HeroIndex, static_cast<float>(cx * kGridCell), static_cast<float>(cy * kGridCell));
}

void UpdateHero(TqvxScene& scene, float dt) {
  if (!HeroObject(scene)) {
    scene.WaitTime -= dt;
    return;
  }
  TickWait(scene, dt);
  FollowWaypoints(scene, dt);
  PlayTurnQueue(scene, dt);
}

void AnimateHero(TqvxScene& scene, float dt) {
  TqvxObject* hero = HeroObject(scene);
  if (!hero || hero->NextPicture.empty() || !hero->Animated) return;
  hero->FrameTimer += dt;
  if (hero->FrameTimer > hero->FrameTime) {
    hero->FrameTimer -= hero->FrameTime;
    const std::string next = hero->NextPicture;
    SetHeroFrame(scene, next, false);
  }
}

void WalkTo(TqvxScene& scene, int32_t tx, int32_t ty) {
  TqvxObject* hero = HeroObject(scene);
  if (!hero) return;
  // Only scripts can ask for a cell off the grid; such a request is ignored
  // like any other that has no route.
  if (!CellInGrid(scene, tx, ty)) return;
  const double dx = static_cast<double>(hero->X) - static_cast<double>(tx) * kGridCell;
  const double dy = static_cast<double>(hero->Y) - static_cast<double>(ty) * kGridCell;
  if (std::sqrt(dx * dx + dy * dy) < 50) return;

  // A hero placed off the grid (by a script moving the object) has no cell to
  // start from: ignored too.
  const double rx = std::nearbyint(static_cast<double>(hero->X));
  const double ry = std::nearbyint(static_cast<double>(hero->Y));
  if (!(std::fabs(rx) < 1e9 && std::fabs(ry) < 1e9)) return;
  const TGridPoint cell{static_cast<int32_t>(rx) / kGridCell, static_cast<int32_t>(ry) / kGridCell};
  if (!CellInGrid(scene, cell.X, cell.Y)) return;

  // The hero may stand on a blocked cell; it counts as free for this request.
  // Without a route a walk under way goes on as it was.
  TWalkMap map = WalkMapOf(scene);
  map.FreeCell = cell;
  TRoute route;
  if (FindRoute(map, cell, TGridPoint{tx, ty}, route)) {
    std::copy_n(route.Points, route.Count, scene.Waypoints);
    scene.WaypointCount = route.Count;
    StartWalk(scene);
  }

  // A hero already within one nominal frame step of the waypoint it heads
  // for moves on to the next.
  if (scene.WaypointIndex >= 0 && scene.WaypointIndex < scene.WaypointCount) {
    const TGridPoint w = scene.Waypoints[scene.WaypointIndex];
    const double rad = hero->Heading * kDegToRad;
    const double reach = 0.05 * scene.HeroWalkSpeed * 2.0;
    if (std::fabs(static_cast<double>(hero->X) - w.X) <= std::fabs(std::cos(rad) * reach) &&
        std::fabs(static_cast<double>(hero->Y) - w.Y) <= std::fabs(std::sin(rad) * reach))
      ++scene.WaypointIndex;
  }
}
