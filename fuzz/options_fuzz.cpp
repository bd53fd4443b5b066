// Feeds arbitrary bytes to the game as its "options.ini", read as the game
// reads it at start.
#include <cstddef>
#include <cstdint>

#include "fuzz_scratch.h"
#include "shell/options.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TFuzzScratch scratch("options");
  ReadOptionsFile(scratch.Write("options.ini", data, size).string());
  return 0;
}
