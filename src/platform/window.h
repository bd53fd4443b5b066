// The game's one window with its OpenGL context, over SDL2. The game draws an
// 800x600 picture; in a window of any other size (or a desktop-sized full
// screen) the picture is scaled to fit with its aspect kept and black bars
// around it. Mouse positions map back to game pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/display_modes.h"
#include "platform/input_state.h"

constexpr int32_t kGameWidth = 800;
constexpr int32_t kGameHeight = 600;

// Where the 800x600 picture lies in a surface of the given size, and the
// scale from game pixels to surface pixels.
struct TViewportRect {
  int32_t X = 0, Y = 0;  // from the top-left corner of the surface
  int32_t Width = kGameWidth, Height = kGameHeight;
  double Scale = 1.0;
};
TViewportRect FitGamePicture(int32_t surfaceWidth, int32_t surfaceHeight);
// A point of a surface of the given size in game pixels, clamped to the picture.
void SurfaceToGame(int32_t surfaceWidth, int32_t surfaceHeight, double x, double y, int32_t& gameX, int32_t& gameY);

enum class TMessageKind { Error, Warning, Information };
// A message box with one OK button; `\r` in the text is a line break. With
// `toStderr` the text goes to standard error and nothing waits for a click.
void ShowMessageBox(TMessageKind kind, const std::string& utf8Text, bool toStderr);

// An OpenGL entry point of the current context by name; null when the driver
// has none. The renderer looks up what the GL library does not export.
void* GLProcAddress(const char* name);

struct TWindowOptions {
  bool Windowed = false;  // an ordinary resizable window instead of full screen
  bool Hidden = false;    // never shown (benchmarks, tests that only need a context)
  bool VSync = true;
  // Wait for the display in Present when vsync is off (off in driver mode).
  bool PaceFrames = true;
};

class TPlatformWindow {
 public:
  // Opens SDL's video and the window with an OpenGL 1.x context. Returns null
  // and fills `error` when the window or the context cannot be made;
  // `glFailed` tells which.
  static std::unique_ptr<TPlatformWindow> Create(const TWindowOptions& options, std::string& error, bool& glFailed);
  ~TPlatformWindow();
  TPlatformWindow(const TPlatformWindow&) = delete;
  TPlatformWindow& operator=(const TPlatformWindow&) = delete;

  // Handles the window's events (close, resize, Alt+Enter) and, with
  // `readDevices`, polls keyboard and mouse into `input`. False once the
  // window was asked to close.
  bool PumpEvents(TInputState& input, bool readDevices);
  // Shows the frame; waits for the display (vsync, or a sleep to the refresh
  // rate when vsync is off) so an idle game does not keep a core busy.
  void Present();
  // Where the game picture goes in the drawable (GL pixels, top-left origin).
  TViewportRect GameViewport() const;
  void DrawableSize(int32_t& w, int32_t& h) const;

  // Full screen at the display mode search's result; false when refused.
  TDisplayDriver& DisplayDriver();
  // A full screen at the desktop's own mode with the picture scaled: the
  // fallback when no display mode switch is accepted.
  void EnterDesktopFullscreen();
  // Switches between full screen and the window (Alt+Enter).
  void ToggleFullscreen();
  bool IsWindowed() const;
  void SetScreenSaverEnabled(bool enabled);

 private:
  TPlatformWindow() = default;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
