// Program entry: the command line, the window, start-up in its fixed order,
// the display mode, and the main loop that runs the frame clock and the two
// timers on the one thread. Errors raised while the game runs end the running
// operation only: they are shown and the game goes on.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/game_error.h"
#include "platform/stream.h"
#include "platform/window.h"
#include "render/screenshot.h"
#include "resources/image_readers.h"
#include "scene/save_slots.h"
#include "shell/author_tools.h"
#include "shell/driver.h"
#include "shell/frame_step.h"
#include "shell/game.h"
#include "shell/video_window.h"
#include "sound/sound_library.h"

namespace {

const char* const kOpenGLErrorText =
    "Ошибка инициализации OpenGL!\rПопробуйте установить последнюю версию драйверов для видеокарты.\r"
    "Для более подробной информации см. раздел решение проблем в описании ReadMe.";
const char* const kRefreshWarningText =
    "Установленная частота развертки экрана не поддерживается!\r\rТекущая частота - 60 Гц\r\r"
    "Для изменения воспользуйтесь программой настройки!";

double NowSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

uint32_t ClockSeed() {
  return static_cast<uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

// Full screen at 800x600x32 as the options ask; when refused, a warning and
// 60 Hz; when that is refused too, the desktop's own mode with the picture
// scaled.
void SwitchDisplayMode(TqvxGame& game, TPlatformWindow& window) {
  TDisplayDriver& driver = window.DisplayDriver();
  const int32_t mode = GetIndexFromResolution(driver.Modes(), kGameWidth, kGameHeight, 32);
  if (SetFullscreenMode(driver, mode, game.AutoRefresh, game.RefreshRate)) return;
  ShowMessageBox(TMessageKind::Warning, kRefreshWarningText, game.MessagesToStderr);
  if (!SetFullscreenMode(driver, mode, false, 60)) window.EnterDesktopFullscreen();
}

// A game error ends the operation that raised it: it is shown (in a message
// box, or on standard error in the driver mode) and the game goes on. Every
// entry from the shell into the game goes through here.
template <typename Operation>
bool Guarded(TqvxGame& game, Operation&& operation) {
  try {
    operation();
    return true;
  } catch (const EGameError& e) {
    ReportError(game, e.what());
    return false;
  }
}

// The run's clock: the driver's frames all last exactly the fixed frame
// time; otherwise the wall clock.
struct TFrameClock {
  bool Fixed = false;
  double FrameTime = 0.02;
  double Last = NowSeconds();
  double Now = 0;

  double Advance() {
    if (Fixed) {
      Now += FrameTime;
      return FrameTime;
    }
    const double now = NowSeconds();
    const double elapsed = now - Last;
    Last = Now = now;
    return elapsed;
  }
};

// The window, the renderer and the game object in their fixed order, then
// the display mode. Null, after a message, when the game cannot start.
std::unique_ptr<TqvxGame> StartGame(const TCommandLine& cmd, TScriptTrace* trace) {
  const bool driverMode = cmd.Frames.has_value();
  auto game = std::make_unique<TqvxGame>();
  game->MessagesToStderr = driverMode;
  game->Windowed = cmd.Windowed || driverMode || ReadOptionsFile("options.ini").Windowed;
  SeedRandom(game->Scene, cmd.Seed ? *cmd.Seed : ClockSeed());
  std::string saveNotice;
  game->Scene.SaveDir = ChooseSaveDir(cmd.SaveDir, saveNotice);
  if (!saveNotice.empty()) std::fprintf(stderr, "%s\n", saveNotice.c_str());

  TWindowOptions wo;
  wo.Windowed = game->Windowed;
  wo.VSync = !driverMode;
  wo.PaceFrames = !driverMode;
  std::string error;
  bool glFailed = false;
  game->Form = TPlatformWindow::Create(wo, error, glFailed);
  if (!game->Form) {
    // The requirement check of this platform: a video output must be there.
    ShowMessageBox(TMessageKind::Error,
                   glFailed ? std::string(kOpenGLErrorText) : "Cannot start the video output: " + error,
                   game->MessagesToStderr);
    return nullptr;
  }
  game->Renderer = std::make_unique<TGLRenderer>();
  SetImageSideLimit(game->Renderer->MaxTextureSize());
  if (trace) trace->Install(game->Scene);
  if (!Guarded(*game, [&] { GameInit(*game); })) return nullptr;
  if (!cmd.StartLocation.empty() && !Guarded(*game, [&] { StartInLocation(game->Scene, cmd.StartLocation); }))
    return nullptr;
  if (!game->Windowed) SwitchDisplayMode(*game, *game->Form);
  return game;
}

// One turn of the main loop: input, the two timers and the frame clock, the
// picture and the screenshots asked for this frame. False when the game ends.
bool RunFrame(TqvxGame& game, const TCommandLine& cmd, const TScriptedInput& scripted, TFrameClock& clock,
              int64_t frame) {
  TqvxScene& s = game.Scene;
  if (!game.Form->PumpEvents(s.Input, !clock.Fixed)) return false;
  if (clock.Fixed) scripted.Apply(frame, s.Input);
  const double elapsed = clock.Advance();
  Guarded(game, [&] {
    if (s.VideoPlaying) VideoFrame(game, elapsed);
    if (game.VideoTimer.Advance(elapsed * 1000)) VideoWatch(game);
    if (game.MusicTimer.Advance(elapsed * 1000)) MusicStep(game);
    if (game.Cadencer.Enabled && game.Cadencer.Mode == cmASAP) {
      const double step = game.Cadencer.Step(clock.Now);
      FrameStep(game, clock.Fixed ? clock.FrameTime : step);
    }
  });
  // After the step, so that a sound a script starts in this frame is heard
  // from this frame's share of the output on.
  SoundAdvance(elapsed);
  for (const auto& [at, file] : cmd.StateDumps)
    if (at == frame) Guarded(game, [&] { WriteStateDump(game.Scene, file); });
  const auto shot = std::find_if(cmd.Screenshots.begin(), cmd.Screenshots.end(),
                                 [frame](const auto& entry) { return entry.first == frame; });
  if (cmd.NoRender && shot == cmd.Screenshots.end()) return !s.QuitRequested;
  int32_t dw = 0, dh = 0;
  game.Form->DrawableSize(dw, dh);
  game.Renderer->Render(ShownScene(game), game.Form->GameViewport(), dw, dh);
  for (const auto& [at, file] : cmd.Screenshots)
    if (at == frame) Guarded(game, [&] { SaveBitmap32(file, game.Renderer->Snapshot(ShownScene(game))); });
  if (s.OutlineTimer > 0 && !s.MenuActive && !s.VideoPlaying)
    game.Renderer->DrawOutlines(HotZoneOutlines(s), game.Form->GameViewport());
  game.Form->Present();
  return !s.QuitRequested;
}

// The state dump the driver mode asked for, and the screen saver back on.
int ShutDown(TqvxGame& game, const TCommandLine& cmd) {
  game.Form->SetScreenSaverEnabled(true);
  if (!cmd.DumpStateFile.empty()) {
    try {
      WriteStateDump(game.Scene, cmd.DumpStateFile);
    } catch (const EGameError& e) {
      std::fprintf(stderr, "ovgame: %s\n", e.what());
      return 1;
    }
  }
  return cmd.Frames.has_value() && game.ErrorShown ? 2 : 0;
}

int Run(const TCommandLine& cmd) {
  TScriptedInput scripted;
  if (!cmd.InputFile.empty()) scripted = TScriptedInput::ReadFile(cmd.InputFile);
  if (!cmd.DataDir.empty() && chdir(cmd.DataDir.c_str()) != 0) {
    std::fprintf(stderr, "ovgame: cannot enter the game directory '%s': %s\n", cmd.DataDir.c_str(),
                 std::strerror(errno));
    return 1;
  }
  // The driver never touches the audio device: its mixing follows the frame
  // clock, so every run hears the same. Closed on every way out, which also
  // completes the capture file.
  SoundInit(cmd.Frames ? TAudioOutput::FrameClock : TAudioOutput::Device);
  struct TSoundGuard {
    ~TSoundGuard() { SoundShutdown(); }
  } soundGuard;
  if (!cmd.AudioOutFile.empty() && !SoundCaptureTo(cmd.AudioOutFile)) return 1;
  if (!cmd.PlayVideo.empty()) return PlayVideoInWindow(cmd, scripted);
  int64_t frame = 0;
  std::unique_ptr<TScriptTrace> trace;
  if (!cmd.TraceFile.empty()) {
    try {
      trace = std::make_unique<TScriptTrace>(cmd.TraceFile, frame);
    } catch (const std::runtime_error& e) {
      std::fprintf(stderr, "ovgame: %s\n", e.what());
      return 1;
    }
  }
  const std::unique_ptr<TqvxGame> game = StartGame(cmd, trace.get());
  if (!game) return 1;
  TFrameClock clock;
  clock.Fixed = cmd.Frames.has_value();
  clock.FrameTime = cmd.FrameTime;
  for (; !clock.Fixed || frame < *cmd.Frames; ++frame)
    if (!RunFrame(*game, cmd, scripted, clock, frame)) break;
  return ShutDown(*game, cmd);
}

}  // namespace

int main(int argc, char** argv) {
  TCommandLine cmd;
  try {
    cmd = ParseCommandLine(argc, argv);
  } catch (const std::invalid_argument& e) {
    std::fprintf(stderr, "ovgame: %s\n%s", e.what(), CommandLineHelp());
    return 1;
  }
  if (cmd.Help) {
    std::fputs(CommandLineHelp(), stdout);
    return 0;
  }
  if (cmd.Version) {
    std::printf("ovgame %s\n", OVGAME_VERSION);
    return 0;
  }
  try {
    return Run(cmd);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ovgame: %s\n", e.what());
    return 1;
  }
}
