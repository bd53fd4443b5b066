// ovgame --play-video FILE: one video file alone in a window, through the very
// player the game uses, until it ends or Esc or a click stops it. For
// checking a game's videos without playing up to them.
#include "shell/video_window.h"

#include <chrono>
#include <cstdio>
#include <memory>

#include "render/gl_renderer.h"
#include "render/screenshot.h"
#include "shell/video.h"
#include "sound/sound_library.h"

namespace {

double TimeNowSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int PlayVideoInWindow(const TCommandLine& cmd, const TScriptedInput& scripted) {
  TWindowOptions wo;
  wo.Windowed = true;
  wo.VSync = !cmd.Frames;
  wo.PaceFrames = !cmd.Frames;
  std::string error;
  bool glFailed = false;
  const auto window = TPlatformWindow::Create(wo, error, glFailed);
  if (!window) {
    std::fprintf(stderr, "ovgame: cannot open a window: %s\n", error.c_str());
    return 1;
  }
  TGLRenderer renderer;
  const auto scene = std::make_unique<TqvxScene>();
  std::unique_ptr<TVideoPlayer> holder;
  TVideoPlayer& player = EnsureVideoPlayer(holder);
  VideoPlayerOpen(player, *scene, cmd.PlayVideo, cmd.PlayVideo);
  if (scene->VideoPlayState != kPlayPlaying) return 1;
  const bool fixed = cmd.Frames.has_value();
  double last = TimeNowSeconds();
  for (int64_t frame = 0; !fixed || frame < *cmd.Frames; ++frame) {
    if (!window->PumpEvents(scene->Input, !fixed)) break;
    if (fixed) scripted.Apply(frame, scene->Input);
    const double now = TimeNowSeconds();
    const double elapsed = fixed ? cmd.FrameTime : now - last;
    last = now;
    VideoPlayerAdvance(player, *scene, elapsed);
    SoundAdvance(elapsed);
    int32_t dw = 0, dh = 0;
    window->DrawableSize(dw, dh);
    renderer.Render(player.Picture, window->GameViewport(), dw, dh);
    for (const auto& [at, file] : cmd.Screenshots)
      if (at == frame) SaveBitmap32(file, renderer.Snapshot(player.Picture));
    window->Present();
    const bool skipped = GetAsyncKeyState(scene->Input, kVkEscape) || GetAsyncKeyState(scene->Input, kVkLeftButton) ||
                         GetAsyncKeyState(scene->Input, kVkRightButton);
    if (skipped || scene->VideoPlayState != kPlayPlaying) break;
  }
  VideoPlayerStop(player, *scene);
  return 0;
}
