// TqvxGame: the game object. It owns the window, the scene tree, the frame
// clock, the two timers and the scene state, and is built once at start-up in
// a fixed order (GameInit).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/window.h"
#include "render/gl_renderer.h"
#include "render/nodes.h"
#include "state/scene_state.h"
#include "shell/options.h"
#include "shell/timers.h"
#include "shell/video.h"

// Members are destroyed in reverse order: the renderer, whose textures belong
// to the window's GL context, goes before the window.
struct TqvxGame {
  std::unique_ptr<TPlatformWindow> Form;  // the main window; null when running without one
  // The media player; made when the first video starts.
  std::unique_ptr<TVideoPlayer> Player;
  TTimer VideoTimer{100, false};
  TqvxScene Scene;
  TGLScene GLScene;
  TDummyCube* SpriteRoot = nullptr;
  // Draws GLScene; made once the window's context exists.
  std::unique_ptr<TGLRenderer> Renderer;
  TGLCadencer Cadencer;
  TTimer MusicTimer{5000, true};
  int32_t RefreshRate = 75;
  bool AutoRefresh = true;
  bool Windowed = false;

  // Message boxes print to standard error instead of waiting (driver mode).
  bool MessagesToStderr = false;
  // An error box was shown since start.
  bool ErrorShown = false;
};

// Steps of start-up, in the order GameInit runs them.
void GameLoadArchives(TqvxGame& game);
void GameLoadOptions(TqvxGame& game);
// Builds the game object on its window (Form, when there is one); errors
// (EGameError) propagate to the caller.
void GameInit(TqvxGame& game);

// Shows an error's text in a message box (or on standard error).
void ReportError(TqvxGame& game, const std::string& text);
