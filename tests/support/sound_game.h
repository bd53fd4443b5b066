// Sound for small game directories: a sound set from its source text, WAV
// tones of one level and the comment table, written with the formats
// library's own writers.
#pragma once

#include <map>
#include <string>

#include "sound/sound_set_file.h"
#include "sound/sound_set_text.h"
#include "support/game_dir.h"

// "SFX\<name>" from sound-set source text.
inline void WriteSoundSet(TTestGameDir& game, const std::string& name, const std::string& source) {
  const std::vector<uint8_t> bytes = WriteSoundSetData(ParseSoundSetText(source, name));
  game.WriteFile("SFX/" + name, std::string(bytes.begin(), bytes.end()));
}

// "SFX\OGG\<file>": a mono 44.1 kHz WAV of `ms` milliseconds at `level`.
inline void WriteTone(TTestGameDir& game, const std::string& file, int ms, int16_t level = 8000) {
  const auto word = [](uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i));
    return s;
  };
  std::string data;
  for (int64_t f = 0; f < int64_t{44100} * ms / 1000; ++f) data += word(static_cast<uint16_t>(level), 2);
  game.WriteFile("SFX/OGG/" + file, "RIFF" + word(uint32_t(36 + data.size()), 4) + "WAVEfmt " + word(16, 4) +
                                        word(1, 2) + word(1, 2) + word(44100, 4) + word(88200, 4) + word(2, 2) +
                                        word(16, 2) + "data" + word(uint32_t(data.size()), 4) + data);
}

// "SFX\Comments\comments.dat" with these texts by number.
inline void WriteCommentTable(TTestGameDir& game, const std::map<int, std::string>& texts) {
  std::vector<std::string> table(kCommentCount);
  for (const auto& [number, text] : texts) table[size_t(number)] = text;
  const std::vector<uint8_t> bytes = WriteComments(table);
  game.WriteFile("SFX/Comments/comments.dat", std::string(bytes.begin(), bytes.end()));
}
