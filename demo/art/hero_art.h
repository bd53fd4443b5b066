// The hero's pictures for "GFX\person.wgw".
//
// The hero is a small jointed figure of ellipsoids, posed in 3D and ray-cast
// with soft painted shading, so all eight directions, the walk cycles and the
// turn frames come from one model and agree with each other. Every frame is
// 128 x 128 with the feet at (64, 122): for a 128 x 128 sprite the object's
// pivot is (0, 58).
//
// Names (D direction 0..7, K step 0..4, E ring edge 0..7):
//   h_walk_D_K  walking, chained K -> K+1 -> ... -> 0, 100 ms a frame
//   h_turn_E    between direction E and its counter-clockwise neighbour
//   h_stand_D   standing
//   h_idle_D    idle pose for directions 0..3
//   h_talk, h_talk_1, h_talk_2   talking towards the viewer, a loop
#pragma once

class TArtArchive;

constexpr int kHeroFrame = 128;
constexpr int kHeroFeetX = 64;
constexpr int kHeroFeetY = 122;
constexpr int kHeroWalkFrames = 5;
constexpr int kHeroWalkFrameTime = 100;

// Nominal heading in degrees of direction d (0 left, 1 right, 2 up, 3 down,
// 4 down-left, 5 up-right, 6 up-left, 7 down-right).
double HeroDirectionHeading(int d);
// The counter-clockwise neighbour of direction d on the ring 1 5 2 6 0 4 3 7.
int HeroRingNext(int d);

void BuildHeroArt(TArtArchive& archive);
