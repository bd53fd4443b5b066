// Feeds arbitrary bytes to the sound-set reader, as the sound manager, the
// save checker and qvxtool read a set. What it accepts must write back to a
// file that reads the same, and its text form must build that same file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/game_error.h"
#include "platform/stream.h"
#include "scene/save_file.h"
#include "sound/sound_set_file.h"
#include "sound/sound_set_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  // The save checker counts the sequences without reading the samples.
  int32_t counted = -1;
  try {
    TBinaryReader in(bytes, "fuzz.snd");
    counted = CountSoundSetSequences(in);
  } catch (const EGameError&) {
  }
  TSoundSetData set;
  try {
    TBinaryReader in(bytes, "fuzz.snd");
    ReadSoundSetData(in, set);
  } catch (const EGameError&) {
    return 0;
  }
  // A set the game accepts has the sequence count the checker finds.
  if (counted != static_cast<int32_t>(set.Sequences.size())) std::abort();

  const std::vector<uint8_t> written = WriteSoundSetData(set);
  TSoundSetData again;
  TBinaryReader in(written, "written.snd");
  ReadSoundSetData(in, again);
  if (WriteSoundSetData(again) != written) std::abort();
  if (WriteSoundSetData(ParseSoundSetText(FormatSoundSetText(set), "fuzz.txt")) != written) std::abort();
  return 0;
}
