#include "shell/frame_step.h"

#include "scene/scene_update.h"

void FrameStep(TqvxGame& game, double elapsed) {
  TqvxScene& s = game.Scene;
  if (!s.VideoPlaying) {
    if (GetAsyncKeyState(s.Input, kVkPrintScreen)) Screenshot(game);
    SceneUpdate(s, static_cast<float>(elapsed));
  }
  if (!s.Music.Enabled) game.MusicTimer.SetInterval(5000);
  if (s.QuitRequested) {
    if (game.Form) game.Form->SetScreenSaverEnabled(true);
  } else if (s.VideoRequested) {
    VideoStart(game);
  }
}

void VideoStart(TqvxGame& game) {
  game.Cadencer.Enabled = false;
  game.Cadencer.Mode = cmManual;
  game.Scene.VideoRequested = false;
  game.Scene.VideoPlaying = true;
  game.VideoTimer.SetEnabled(true);
}

void VideoWatch(TqvxGame& game) {
  TqvxScene& s = game.Scene;
  // No media player is attached yet: its play state reads as undefined (0),
  // which ends a video on the first watch tick.
  const int playState = 0;
  bool over = (s.VideoPlaying && playState < 3) || playState == 8;
  over = GetAsyncKeyState(s.Input, kVkEscape) != 0 || over;
  over = GetAsyncKeyState(s.Input, kVkLeftButton) != 0 || over;
  over = GetAsyncKeyState(s.Input, kVkRightButton) != 0 || over;
  if (!over) return;
  game.Cadencer.Enabled = true;
  game.Cadencer.Mode = cmASAP;
  game.Cadencer.Restart();
  s.VideoPlaying = false;
  game.VideoTimer.SetEnabled(false);
  // Forget every press so the key or click that ended the video is not seen
  // again by the game.
  for (int vk = 0; vk < 256; ++vk) GetAsyncKeyState(s.Input, vk);
}

void MusicStep(TqvxGame& game) {
  TBackMusic& m = game.Scene.Music;
  if (!m.Enabled) {
    game.MusicTimer.SetInterval(5000);
    return;
  }
  const int32_t tracks = static_cast<int32_t>(m.TrackLengths.size());
  m.CurrentTrack += 2;
  if (m.CurrentTrack > tracks - 1) m.CurrentTrack = 0;
  m.CurrentLength = tracks > 0 ? m.TrackLengths[static_cast<size_t>(m.CurrentTrack)] : 0;
  game.MusicTimer.SetInterval(m.CurrentLength + 10000);
  m.CurrentLength = game.MusicTimer.Interval();
}
