// The sound-set file (samples by name with their sound files, loop flags and
// comment numbers, then the voice sequences) and the comment table, read and
// written by the same code in the game and in qvxtool.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/stream.h"
#include "state/sound_state.h"

constexpr int32_t kSampleRecordBytes = 71;    // str32, byte, str32, int32
constexpr int32_t kSequenceRecordBytes = 38;  // str32, int32, byte; then the items
constexpr size_t kCommentsFileBytes = size_t{kCommentCount} * kCommentBytes;

struct TSoundSetData {
  int32_t Unused[2] = {0, 0};  // two leading words nothing reads, kept as found
  std::vector<TSoundSample> Samples;
  std::vector<TqvxSoundSeq> Sequences;  // Position 0
};

// Reads a whole sound set. Throws EGameError naming `in.Name()` for a negative
// count, a count whose records the rest of the file cannot hold (checked
// before anything is allocated) and a file that ends inside a record.
void ReadSoundSetData(TBinaryReader& in, TSoundSetData& data);
std::vector<uint8_t> WriteSoundSetData(const TSoundSetData& data);

// The comment table: kCommentCount records of a length byte and up to 255
// bytes. Throws EGameError naming `name` unless `bytes` is exactly the size
// of the table.
std::vector<std::string> ReadComments(std::span<const uint8_t> bytes, const std::string& name);
// Texts past kCommentCount are dropped, longer ones cut to 255 bytes.
std::vector<uint8_t> WriteComments(const std::vector<std::string>& texts);
