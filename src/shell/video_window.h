// ovgame --play-video: one video file in a window, then exit.
#pragma once

#include "shell/driver.h"

// Plays cmd.PlayVideo until it ends or Esc or a click stops it; with
// cmd.Frames on the fixed frame clock, with the scripted input and
// screenshots. The exit status: 1 when the file does not play.
int PlayVideoInWindow(const TCommandLine& cmd, const TScriptedInput& scripted);
