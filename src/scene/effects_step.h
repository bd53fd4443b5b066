// The effects step of the frame update: both panel layers, the sketch
// sequence (its sounds, the cut by the right button, and what follows when
// the panel has closed: the next location or the script that started it)
// and the additional locations, which take the mouse while shown. It sets
// OverlayActive, which stops the rest of the frame.
#pragma once

#include "state/scene_state.h"

void UpdateEffects(TqvxScene& scene, float dt);
// The sketch part of the step, after the panels' own.
void SketchFrame(TqvxScene& scene, float dt);
