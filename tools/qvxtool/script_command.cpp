#include <cstdio>

#include "commands.h"

int ScriptCommand(const TArgs&) {
  std::fputs("qvxtool script: not available yet\n", stderr);
  return 1;
}
