#include "sound/sound_manager.h"

void StopLocationSounds(TqvxScene&) {}

void LoadComments(TqvxScene&) {}

void UpdateMusic(TqvxScene&, float) {}

void StopVoice(TqvxScene& scene) {
  scene.SubtitleShown = false;
  if (scene.Subtitle) scene.Subtitle->Text.clear();
  if (scene.SubPanel) scene.SubPanel->Visible = false;
}

void SetListener(TqvxScene&, float, float) {}
