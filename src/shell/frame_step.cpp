#include "shell/frame_step.h"

#include "platform/cp1251.h"
#include "platform/game_error.h"
#include "platform/paths.h"
#include "scene/scene_update.h"
#include "sound/sound_manager.h"

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
  TVideoPlayer& player = EnsureVideoPlayer(game.Player);
  const std::string gamePath = "video\\" + game.Scene.VideoName;
  std::filesystem::path file;
  try {
    file = ResolveGamePath(gamePath);
  } catch (const EGameError&) {
    // A name that climbs out of the game directory plays as a missing file.
  }
  VideoPlayerOpen(player, game.Scene, file, Cp1251ToUtf8(gamePath));
}

void VideoFrame(TqvxGame& game, double elapsed) {
  if (game.Player) VideoPlayerAdvance(*game.Player, game.Scene, elapsed);
}

TGLScene& ShownScene(TqvxGame& game) {
  return game.Scene.VideoPlaying && game.Player ? game.Player->Picture : game.GLScene;
}

void VideoWatch(TqvxGame& game) {
  TqvxScene& s = game.Scene;
  // No frame steps run during a video, so the music moves on here.
  UpdateMusic(s, static_cast<float>(game.VideoTimer.Interval()) / 1000.0f);
  const int playState = s.VideoPlayState;
  bool over = (s.VideoPlaying && playState < 3) || playState == 8;
  over = GetAsyncKeyState(s.Input, kVkEscape) != 0 || over;
  over = GetAsyncKeyState(s.Input, kVkLeftButton) != 0 || over;
  over = GetAsyncKeyState(s.Input, kVkRightButton) != 0 || over;
  if (!over) return;
  game.Cadencer.Enabled = true;
  game.Cadencer.Mode = cmASAP;
  game.Cadencer.Restart();
  if (game.Player) VideoPlayerStop(*game.Player, s);
  s.VideoPlaying = false;
  game.VideoTimer.SetEnabled(false);
  // The key or click that ended the video is not seen again by the game, not
  // even while it is still held.
  SwallowKeys(s.Input);
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
