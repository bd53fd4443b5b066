#include <cstdio>

#include "commands.h"

int LocCommand(const TArgs&) {
  std::fputs("qvxtool loc: not available yet\n", stderr);
  return 1;
}
