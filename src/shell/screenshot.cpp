#include "render/screenshot.h"

#include "platform/game_error.h"
#include "shell/frame_step.h"

void Screenshot(TqvxGame& game) {
  if (!game.Renderer) return;
  // Nothing when all 10000 names are taken. A picture that cannot be written
  // is told, and the frame that took it goes on.
  try {
    if (auto name = NextScreenshotName(".")) SaveBitmap32(*name, game.Renderer->Snapshot(game.GLScene));
  } catch (const EGameError& e) {
    ReportError(game, e.what());
  }
}
