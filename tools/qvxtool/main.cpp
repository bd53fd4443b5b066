// qvxtool: content tools for game directories (archives, scripts, locations).
#include <cstdio>
#include <cstring>
#include <exception>

#include "commands.h"

namespace {

void Usage(std::FILE* out) {
  std::fputs(
      "usage: qvxtool COMMAND ...\n"
      "  wgw list|texture|unpack|pack ...   image archives\n"
      "  script disasm|asm ...              script functions\n"
      "  loc dump|build ...                 location files\n"
      "  sketch dump|build ...              sketch files\n"
      "  snd dump|build ...                 sound-set files\n"
      "  save dump ...                      save games, field by field\n"
      "Run 'qvxtool COMMAND' without arguments for its usage.\n",
      out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
    Usage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 1 : 0;
  }
  TArgs args(argv + 2, argv + argc);
  try {
    if (!std::strcmp(argv[1], "wgw")) return WgwCommand(args);
    if (!std::strcmp(argv[1], "script")) return ScriptCommand(args);
    if (!std::strcmp(argv[1], "loc")) return LocCommand(args);
    if (!std::strcmp(argv[1], "sketch")) return SketchCommand(args);
    if (!std::strcmp(argv[1], "snd")) return SndCommand(args);
    if (!std::strcmp(argv[1], "save")) return SaveCommand(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qvxtool: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "qvxtool: unknown command '%s'\n", argv[1]);
  Usage(stderr);
  return 1;
}
