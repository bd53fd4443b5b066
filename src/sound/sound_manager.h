// The sound manager as the scene engine uses it: location sounds, the
// listener, the voice comment table and the music's per-frame step.
#pragma once

#include "state/scene_state.h"

void StopLocationSounds(TqvxScene& scene);
// Reads "SFX\Comments\comments.dat" into the manager.
void LoadComments(TqvxScene& scene);
// Advances the background music and its fades.
void UpdateMusic(TqvxScene& scene, float dt);
// Stops the voice line and its subtitle.
void StopVoice(TqvxScene& scene);
void SetListener(TqvxScene& scene, float x, float y);
