// The hero's walking, turning and pictures. The hero is the scene object at
// HeroIndex; every routine here does nothing while that is -1.
//
// A walk follows scene.Waypoints (the path finder's route) and is driven
// once a frame by UpdateHero; the object motion of the per-frame update moves
// the hero by its Speed along its Heading, this module only aims it and
// decides when a waypoint is reached. A turn between two of the eight
// directions is a queue of still frames shown 0.04 s apart while WaitTime
// holds the hero (and any waiting script) back.
//
// Headings are degrees counter-clockwise from +x with screen-up at 90; screen
// y grows downwards. Directions: 0 left, 1 right, 2 up, 3 down, 4 down-left,
// 5 up-right, 6 up-left, 7 down-right.
#pragma once

#include <cstdint>
#include <string>

#include "hero/heading.h"
#include "state/scene_state.h"

// Seconds each queued turn frame stays up.
constexpr float kTurnFrameTime = 0.04f;

// The direction 0..7 whose sector holds the heading (lower bound included).
int32_t DirectionFromHeading(float heading);
// The counter-clockwise neighbour of a direction on the ring 1 5 2 6 0 4 3 7.
int32_t CounterClockwiseNeighbour(int32_t direction);

// The hero object, or nullptr when there is none (or HeroIndex is stale).
TqvxObject* HeroObject(TqvxScene& scene);

void ComputeWalkSpeed(TqvxScene& scene);
void StartWalk(TqvxScene& scene);
// Walks the hero to cell (tx, ty) along the path finder's route. Ignored
// without a hero, for a cell off the grid or within 50 pixels, and when there
// is no route.
void WalkTo(TqvxScene& scene, int32_t tx, int32_t ty);
// Ends the walk where the hero stands; only when a walk may give input back
// (InputWhenIdle).
void StopWalk(TqvxScene& scene);
void FollowWaypoints(TqvxScene& scene, float dt);
void TickWait(TqvxScene& scene, float dt);
void PlayTurnQueue(TqvxScene& scene, float dt);
void ChooseWalkFrame(TqvxScene& scene);
void TurnTo(TqvxScene& scene, int32_t direction);
void QueueTurnFrame(TqvxScene& scene, const std::string& name);
void TurnAndStand(TqvxScene& scene, int32_t direction);
void SetHeroFacing(TqvxScene& scene, int32_t direction);
void ShowIdlePose(TqvxScene& scene);
// Shows a frame of the person archive; an unknown name changes nothing.
void SetHeroFrame(TqvxScene& scene, const std::string& name, bool restart);
void PlayStepSound(TqvxScene& scene, const std::string& frame);
// Sizes, tilts and re-anchors the hero's sprite after the sprite pass placed it.
void ScaleHero(TqvxScene& scene);
// Moves the hero to cell (cx, cy) unless the cell is blocked or off the grid.
void PlaceHero(TqvxScene& scene, int32_t cx, int32_t cy);

// The hero's share of the per-frame update, after the objects moved: the wait
// countdown, the walk step and the turn step. Without a hero it only lowers
// WaitTime.
void UpdateHero(TqvxScene& scene, float dt);
// The hero's frame chain for one frame (the per-frame update's object
// animation calls this for the hero instead of the location picture lookup).
void AnimateHero(TqvxScene& scene, float dt);
