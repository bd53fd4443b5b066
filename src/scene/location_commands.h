// Script commands that load archives (49) and change the location (50).
#pragma once

// Installs the handlers into the instruction table.
void RegisterLocationCommands();
