// Script commands on the scene and the interpreter: the hero's set-up and
// frame names, variables, calls, waits, key bindings, input, click regions,
// the skip location, the scroll object and the screen furniture.
#pragma once

// Installs the handlers into the instruction table.
void RegisterSceneCommands();
