// Mouse and keyboard handling of the game screen: clicks on inventory
// buttons and cells, the hero, the menu button, regions and the ground; the
// right click; the pointer, the walk marker and the hover caption; the
// script-bound keys, the quick keys, the menu key and the cut-scene skip.
//
// Everything is polled once a frame from scene.Input. A click is the release
// of a button, and is taken only while no click delay runs and nothing waits
// (WaitTime <= 0). Mouse positions are screen pixels; regions and the walk
// grid are in location pixels, screen x + ScrollX.
#pragma once

#include <cstdint>

#include "state/scene_state.h"

// Seconds in which no further click is taken after one was.
constexpr float kClickDelay = 0.2f;
// The pointer picture is drawn this far right of and below the mouse.
constexpr float kCursorOffset = 22;

// The left button's share of the frame. Returns whether the left button went
// up this frame, which RightClick needs.
bool LeftClick(TqvxScene& scene, float dt);
// The right button: drops the carried item, stops a walk, or skips a spoken
// line. A release in the same frame as a left release is no right click.
void RightClick(TqvxScene& scene, bool leftReleased);
// The pointer and carried item at the mouse, the menu button's highlight, the
// pointer picture, the walk marker, a dragged object and the hover caption.
void UpdateCursor(TqvxScene& scene);
// The key table, F5, Esc, F2 and F3 while input is on; the cut-scene skip
// while it is off.
void Keys(TqvxScene& scene, float dt);
// Places the pointer at the mouse with picture "cursor0" + number.
void SetCursorNumber(TqvxScene& scene, int32_t number);

// Whether the mouse lies in the hero's click box (a hero exists and the box
// is set); the box's half sizes scale with the hero.
bool MouseOnHero(const TqvxScene& scene, int32_t mx, int32_t my);
