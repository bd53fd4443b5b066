#include "platform/window.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

TViewportRect FitGamePicture(int32_t surfaceWidth, int32_t surfaceHeight) {
  TViewportRect r;
  if (surfaceWidth <= 0 || surfaceHeight <= 0) return r;
  const double scale = std::min(static_cast<double>(surfaceWidth) / kGameWidth,
                                static_cast<double>(surfaceHeight) / kGameHeight);
  r.Scale = scale;
  r.Width = std::max<int32_t>(1, static_cast<int32_t>(std::lround(kGameWidth * scale)));
  r.Height = std::max<int32_t>(1, static_cast<int32_t>(std::lround(kGameHeight * scale)));
  r.Width = std::min(r.Width, surfaceWidth);
  r.Height = std::min(r.Height, surfaceHeight);
  r.X = (surfaceWidth - r.Width) / 2;
  r.Y = (surfaceHeight - r.Height) / 2;
  return r;
}

void SurfaceToGame(int32_t surfaceWidth, int32_t surfaceHeight, double x, double y, int32_t& gameX,
                   int32_t& gameY) {
  const TViewportRect r = FitGamePicture(surfaceWidth, surfaceHeight);
  const double gx = (x - r.X) * kGameWidth / r.Width;
  const double gy = (y - r.Y) * kGameHeight / r.Height;
  gameX = std::clamp(static_cast<int32_t>(std::floor(gx)), 0, kGameWidth - 1);
  gameY = std::clamp(static_cast<int32_t>(std::floor(gy)), 0, kGameHeight - 1);
}

void ShowMessageBox(TMessageKind kind, const std::string& utf8Text, bool toStderr) {
  std::string text = utf8Text;
  std::replace(text.begin(), text.end(), '\r', '\n');
  if (toStderr) {
    const char* label = kind == TMessageKind::Error ? "error" : kind == TMessageKind::Warning ? "warning" : "info";
    std::fprintf(stderr, "ovgame: %s: %s\n", label, text.c_str());
    return;
  }
  const Uint32 flags = kind == TMessageKind::Error     ? SDL_MESSAGEBOX_ERROR
                       : kind == TMessageKind::Warning ? SDL_MESSAGEBOX_WARNING
                                                       : SDL_MESSAGEBOX_INFORMATION;
  if (SDL_ShowSimpleMessageBox(flags, "OVGAME", text.c_str(), nullptr) != 0)
    std::fprintf(stderr, "ovgame: %s\n", text.c_str());
}

void* GLProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

namespace {

// SDL scancodes to Windows virtual-key codes, for the keys a game or its
// scripts may read.
int ScancodeToVirtualKey(SDL_Scancode sc) {
  if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return 'A' + (sc - SDL_SCANCODE_A);
  if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
  if (sc == SDL_SCANCODE_0) return '0';
  if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return kVkF1 + (sc - SDL_SCANCODE_F1);
  if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return 97 + (sc - SDL_SCANCODE_KP_1);
  switch (sc) {
    case SDL_SCANCODE_KP_0: return 96;
    case SDL_SCANCODE_BACKSPACE: return 8;
    case SDL_SCANCODE_TAB: return 9;
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return 13;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return 16;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return 17;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return 18;
    case SDL_SCANCODE_PAUSE: return 19;
    case SDL_SCANCODE_CAPSLOCK: return 20;
    case SDL_SCANCODE_ESCAPE: return kVkEscape;
    case SDL_SCANCODE_SPACE: return kVkSpace;
    case SDL_SCANCODE_PAGEUP: return 33;
    case SDL_SCANCODE_PAGEDOWN: return 34;
    case SDL_SCANCODE_END: return 35;
    case SDL_SCANCODE_HOME: return 36;
    case SDL_SCANCODE_LEFT: return kVkLeft;
    case SDL_SCANCODE_UP: return kVkUp;
    case SDL_SCANCODE_RIGHT: return kVkRight;
    case SDL_SCANCODE_DOWN: return kVkDown;
    case SDL_SCANCODE_PRINTSCREEN: return kVkPrintScreen;
    case SDL_SCANCODE_INSERT: return 45;
    case SDL_SCANCODE_DELETE: return 46;
    case SDL_SCANCODE_KP_MULTIPLY: return 106;
    case SDL_SCANCODE_KP_PLUS: return 107;
    case SDL_SCANCODE_KP_MINUS: return 109;
    case SDL_SCANCODE_KP_PERIOD: return 110;
    case SDL_SCANCODE_KP_DIVIDE: return 111;
    case SDL_SCANCODE_SEMICOLON: return 186;
    case SDL_SCANCODE_EQUALS: return 187;
    case SDL_SCANCODE_COMMA: return 188;
    case SDL_SCANCODE_MINUS: return 189;
    case SDL_SCANCODE_PERIOD: return 190;
    case SDL_SCANCODE_SLASH: return 191;
    case SDL_SCANCODE_GRAVE: return 192;
    case SDL_SCANCODE_LEFTBRACKET: return 219;
    case SDL_SCANCODE_BACKSLASH: return 220;
    case SDL_SCANCODE_RIGHTBRACKET: return 221;
    case SDL_SCANCODE_APOSTROPHE: return 222;
    default: return -1;
  }
}

int32_t DepthOf(Uint32 format) {
  // 24-bit true colour formats are the 32-bit modes of other systems.
  const int bpp = SDL_BITSPERPIXEL(format);
  return bpp == 24 ? 32 : bpp;
}

class TSdlDisplayDriver : public TDisplayDriver {
 public:
  explicit TSdlDisplayDriver(SDL_Window* window) : window_(window) {}

  std::vector<TDisplayMode> Modes() override {
    std::vector<TDisplayMode> modes;
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
    const int n = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < n; ++i) {
      SDL_DisplayMode m;
      if (SDL_GetDisplayMode(display, i, &m) == 0) modes.push_back({m.w, m.h, DepthOf(m.format), m.refresh_rate});
    }
    return modes;
  }

  TDisplayMode CurrentMode() override {
    SDL_DisplayMode m;
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
    if (SDL_GetDesktopDisplayMode(display, &m) != 0) return {kGameWidth, kGameHeight, 32, 60};
    return {m.w, m.h, DepthOf(m.format), m.refresh_rate};
  }

  // A mode passes the test when the display lists it at that refresh rate.
  bool TestMode(const TDisplayMode& mode) override {
    for (const auto& m : Modes())
      if (m.Width == mode.Width && m.Height == mode.Height && m.Refresh == mode.Refresh) return true;
    return false;
  }

  bool ChangeMode(const TDisplayMode& mode) override {
    SDL_DisplayMode want{};
    want.w = mode.Width;
    want.h = mode.Height;
    want.refresh_rate = mode.Refresh;
    SDL_DisplayMode closest;
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
    if (!SDL_GetClosestDisplayMode(display, &want, &closest)) return false;
    if (closest.w != mode.Width || closest.h != mode.Height) return false;
    if (SDL_SetWindowDisplayMode(window_, &closest) != 0) return false;
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) != 0) return false;
    switched_ = true;
    return true;
  }

  bool Switched() const { return switched_; }

 private:
  SDL_Window* window_;
  bool switched_ = false;
};

}  // namespace

struct TPlatformWindow::Impl {
  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;
  std::unique_ptr<TSdlDisplayDriver> driver;
  bool windowed = false;
  bool vsync = false;
  bool pace = true;
  Uint64 lastPresent = 0;
  bool screenSaverWasEnabled = true;
};

std::unique_ptr<TPlatformWindow> TPlatformWindow::Create(const TWindowOptions& options, std::string& error,
                                                         bool& glFailed) {
  glFailed = false;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
    error = SDL_GetError();
    return nullptr;
  }
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);

  std::unique_ptr<TPlatformWindow> w(new TPlatformWindow);
  w->impl_ = std::make_unique<Impl>();
  Impl& d = *w->impl_;
  d.windowed = options.Windowed;
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI;
  if (options.Hidden) flags |= SDL_WINDOW_HIDDEN;
  if (options.Windowed) {
    flags |= SDL_WINDOW_RESIZABLE;
  } else {
    flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP;
  }
  const int pos = options.Windowed ? SDL_WINDOWPOS_CENTERED : 0;
  d.window = SDL_CreateWindow("OVGAME", pos, pos, kGameWidth, kGameHeight, flags);
  if (!d.window) {
    error = SDL_GetError();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
    return nullptr;
  }
  d.context = SDL_GL_CreateContext(d.window);
  if (!d.context) {
    error = SDL_GetError();
    glFailed = true;
    return nullptr;  // the destructor closes the window
  }
  SDL_GL_MakeCurrent(d.window, d.context);
  d.pace = options.PaceFrames;
  d.vsync = options.VSync && SDL_GL_SetSwapInterval(1) == 0;
  if (!options.VSync) SDL_GL_SetSwapInterval(0);
  SDL_ShowCursor(SDL_DISABLE);
  d.driver = std::make_unique<TSdlDisplayDriver>(d.window);
  d.screenSaverWasEnabled = SDL_IsScreenSaverEnabled();
  d.lastPresent = SDL_GetPerformanceCounter();
  return w;
}

TPlatformWindow::~TPlatformWindow() {
  if (!impl_) return;
  if (impl_->context) SDL_GL_DeleteContext(impl_->context);
  if (impl_->window) {
    // Leaving full screen gives the display its normal mode back.
    SDL_SetWindowFullscreen(impl_->window, 0);
    SDL_DestroyWindow(impl_->window);
  }
  if (impl_->screenSaverWasEnabled) SDL_EnableScreenSaver();
  SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER);
}

bool TPlatformWindow::PumpEvents(TInputState& input, bool readDevices) {
  bool open = true;
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT:
        open = false;
        break;
      case SDL_KEYDOWN:
        if (e.key.keysym.scancode == SDL_SCANCODE_RETURN && (e.key.keysym.mod & KMOD_ALT)) {
          if (!e.key.repeat) ToggleFullscreen();
          break;
        }
        if (readDevices && !e.key.repeat) input.SetKey(ScancodeToVirtualKey(e.key.keysym.scancode), true);
        break;
      case SDL_KEYUP:
        if (readDevices) input.SetKey(ScancodeToVirtualKey(e.key.keysym.scancode), false);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (readDevices) {
          const int vk = e.button.button == SDL_BUTTON_LEFT    ? kVkLeftButton
                         : e.button.button == SDL_BUTTON_RIGHT ? kVkRightButton
                         : e.button.button == SDL_BUTTON_MIDDLE ? kVkMiddleButton
                                                                : -1;
          input.SetKey(vk, e.type == SDL_MOUSEBUTTONDOWN);
        }
        break;
      default:
        break;
    }
  }
  if (readDevices) {
    // Mouse positions are in window points; the game picture is fitted in the
    // same points, which makes the mapping hold at any display scale.
    int mx = 0, my = 0, ww = 0, wh = 0;
    SDL_GetMouseState(&mx, &my);
    SDL_GetWindowSize(impl_->window, &ww, &wh);
    SurfaceToGame(ww, wh, mx + 0.5, my + 0.5, input.CursorX, input.CursorY);
  }
  return open;
}

void TPlatformWindow::Present() {
  SDL_GL_SwapWindow(impl_->window);
  if (!impl_->vsync && impl_->pace) {
    // No vsync: wait out the rest of a refresh period.
    SDL_DisplayMode m;
    int hz = 60;
    if (SDL_GetWindowDisplayMode(impl_->window, &m) == 0 && m.refresh_rate > 0) hz = m.refresh_rate;
    const Uint64 freq = SDL_GetPerformanceFrequency();
    const Uint64 period = freq / static_cast<Uint64>(hz);
    const Uint64 now = SDL_GetPerformanceCounter();
    const Uint64 elapsed = now - impl_->lastPresent;
    if (elapsed < period) SDL_Delay(static_cast<Uint32>((period - elapsed) * 1000 / freq));
  }
  impl_->lastPresent = SDL_GetPerformanceCounter();
}

void TPlatformWindow::DrawableSize(int32_t& w, int32_t& h) const {
  int dw = 0, dh = 0;
  SDL_GL_GetDrawableSize(impl_->window, &dw, &dh);
  w = dw;
  h = dh;
}

TViewportRect TPlatformWindow::GameViewport() const {
  int32_t w, h;
  DrawableSize(w, h);
  return FitGamePicture(w, h);
}

TDisplayDriver& TPlatformWindow::DisplayDriver() { return *impl_->driver; }

void TPlatformWindow::ToggleFullscreen() {
  Impl& d = *impl_;
  if (d.windowed) {
    // Back to full screen: the mode chosen at start when there was one,
    // otherwise a desktop-sized full screen with the picture scaled.
    if (!d.driver->Switched() || SDL_SetWindowFullscreen(d.window, SDL_WINDOW_FULLSCREEN) != 0)
      SDL_SetWindowFullscreen(d.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_SetWindowBordered(d.window, SDL_FALSE);
    d.windowed = false;
  } else {
    SDL_SetWindowFullscreen(d.window, 0);
    SDL_SetWindowBordered(d.window, SDL_TRUE);
    SDL_SetWindowResizable(d.window, SDL_TRUE);
    SDL_SetWindowAlwaysOnTop(d.window, SDL_FALSE);
    SDL_SetWindowSize(d.window, kGameWidth, kGameHeight);
    SDL_SetWindowPosition(d.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    d.windowed = true;
  }
}

void TPlatformWindow::EnterDesktopFullscreen() {
  SDL_SetWindowFullscreen(impl_->window, SDL_WINDOW_FULLSCREEN_DESKTOP);
  impl_->windowed = false;
}

bool TPlatformWindow::IsWindowed() const { return impl_->windowed; }

void TPlatformWindow::SetScreenSaverEnabled(bool enabled) {
  if (enabled)
    SDL_EnableScreenSaver();
  else
    SDL_DisableScreenSaver();
}
