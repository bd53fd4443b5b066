// qvxtool's sub-commands. Each takes the arguments after its own name and
// returns the exit status.
#pragma once

#include <string>
#include <vector>

using TArgs = std::vector<std::string>;

int WgwCommand(const TArgs& args);
int ScriptCommand(const TArgs& args);
int ScriptCodesCommand(const TArgs& args);  // script codes, in codes_command.cpp
int LocCommand(const TArgs& args);
int SketchCommand(const TArgs& args);
int SndCommand(const TArgs& args);
int SaveCommand(const TArgs& args);
