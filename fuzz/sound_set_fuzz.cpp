// Feeds arbitrary bytes to the sound-set reader, as the sound manager, the
// save checker and qvxtool read a set. What it accepts must write back to a
// file that reads the same, and its text form must build that same file.
// The sound manager then loads it and plays every sequence through, item
// numbers and comment numbers as the file gives them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include <fcntl.h>
#include <unistd.h>

#include "fuzz_scratch.h"

#include "platform/game_error.h"
#include "platform/stream.h"
#include "scene/save_file.h"
#include "sound/sound_manager.h"
#include "sound/sound_set_file.h"
#include "sound/sound_set_text.h"

namespace {

// The sound manager reads from the current folder; the fuzzer's own folder
// stays the current one between inputs.
void PlayThrough(const uint8_t* data, size_t size) {
  static const TFuzzScratch scratch("sound_set");
  static TqvxScene scene;
  scratch.Write("SFX/fuzz.snd", data, size);
  const int home = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  std::filesystem::current_path(scratch.Dir());
  scene.Sound.SoundSetName.clear();
  LoadSoundSet(scene, "SFX\\fuzz.snd");
  const int32_t sequences = static_cast<int32_t>(scene.Sound.Sequences.size());
  for (int32_t q = -1; q <= sequences; ++q)
    for (int i = 0; i < 3; ++i) {
      SequenceNextHandle(scene, q);
      SequenceNextComment(scene, q);
      PlaySequenceNext(scene, q);
    }
  StopAll(scene);
  if (home < 0 || ::fchdir(home) != 0) std::abort();
  ::close(home);
}

}  // namespace

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
  PlayThrough(data, size);
  return 0;
}
