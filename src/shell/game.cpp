#include "shell/game.h"

#include "platform/paths.h"
#include "platform/stream.h"
#include "scene/command_bindings.h"
#include "scene/location.h"
#include "scene/scene_create.h"
#include "scene/scene_update.h"

void ReportError(TqvxGame& game, const std::string& text) {
  game.ErrorShown = true;
  ShowMessageBox(TMessageKind::Error, text, game.MessagesToStderr);
}

void GameLoadArchives(TqvxGame& game) {
  TqvxScene& s = game.Scene;
  LoadArchiveInto(s.PersonArchive, *s.PersonLibrary, "GFX\\person.wgw");
  // The location archive is empty until a location's script opens one.
  LoadArchiveInto(s.SystemArchive, *s.SystemLibrary, "system.wgw");
}

void GameLoadOptions(TqvxGame& game) {
  const TGameOptions o = ReadOptionsFile("options.ini");
  game.Scene.SubTitles = o.SubTitles;
  game.Scene.Sound.SoundVolume = o.SoundVolume;
  game.Scene.Sound.BackMusic.MusicVolume = o.MusicVolume;
  game.RefreshRate = o.RefreshRate;
  game.AutoRefresh = o.AutoRefresh;
  game.Windowed = game.Windowed || o.Windowed;
}

void GameInit(TqvxGame& game) {
  RegisterAllCommands();
  game.Scene.ErrorHook = [&game](const std::string& text) { ReportError(game, text); };
  if (game.Form) game.Form->SetScreenSaverEnabled(false);
  game.VideoTimer = TTimer(100, false);
  GameLoadArchives(game);
  game.SpriteRoot = game.GLScene.Root().AddNewChild<TDummyCube>();
  game.Cadencer = TGLCadencer();
  game.MusicTimer = TTimer(5000, true);
  SceneCreate(game.Scene, *game.SpriteRoot);
  GameLoadOptions(game);
  LoadLocation(game.Scene, "init.qvx");
}
