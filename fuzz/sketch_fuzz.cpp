// Feeds arbitrary bytes to the sketch file reader. What it accepts must
// write back to the same bytes, survive the text form unchanged, and play
// through the sketch clockwork without a non-finite position or size.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "effects/sketch_file.h"
#include "effects/sketches.h"
#include "platform/game_error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  TSketchFile file;
  try {
    TBinaryReader in(std::span<const uint8_t>(data, size), "fuzz.skt");
    file = ReadSketchFile(in);
  } catch (const EGameError&) {
    return 0;
  }
  if (file.Complete) {
    if (WriteSketchFile(file) != bytes) std::abort();
    if (WriteSketchFile(ParseSketchText(FormatSketchText(file), "fuzz.txt")) != bytes) std::abort();
  }

  TqvxSketchManager manager;
  TBinaryReader in(std::span<const uint8_t>(data, size), "fuzz.skt");
  const TSketchFile limited = ReadSketchFile(in, kSketchSlots);
  if (limited.Records.size() > static_cast<size_t>(kSketchSlots)) std::abort();
  SetSketches(manager, limited);
  StartSketches(manager);
  for (int frame = 0; frame < 200 && manager.CurrentSketch >= 0; ++frame) {
    UpdateSketches(manager, 0.05f);
    for (int32_t i = 0; i < manager.SketchCount; ++i) {
      const TSketch& s = manager.Sketches[static_cast<size_t>(i)];
      // Huge values may overflow to infinity; a NaN comes only from 0/0.
      if (std::isnan(s.X) || std::isnan(s.Y) || std::isnan(s.Zoom)) std::abort();
    }
  }
  return 0;
}
