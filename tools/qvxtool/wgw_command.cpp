#include <cstdio>

#include "commands.h"

int WgwCommand(const TArgs&) {
  std::fputs("qvxtool wgw: not available yet\n", stderr);
  return 1;
}
