#include "render/screenshot.h"

#include "platform/game_error.h"
#include "shell/frame_step.h"

void Screenshot(TqvxGame& game) {
  if (!game.Renderer) return;
  // Nothing when all 10000 names are taken.
  if (auto name = NextScreenshotName(".")) SaveBitmap32(*name, game.Renderer->Snapshot(game.GLScene));
}
