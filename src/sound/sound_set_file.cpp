#include "sound/sound_set_file.h"

#include <algorithm>

#include "platform/game_error.h"

namespace {

[[noreturn]] void Damaged(const TBinaryReader& in, const std::string& what) {
  throw EGameError("Sound set \"" + in.Name() + "\" is damaged: " + what);
}

// A count read from the file, refused unless the rest of the file holds that
// many records of at least `recordBytes` each.
int32_t ReadCount(TBinaryReader& in, int64_t recordBytes, const char* what) {
  int32_t count = 0;
  if (!in.ReadInt32(count)) Damaged(in, std::string("it ends before the ") + what + " count");
  if (count < 0) Damaged(in, std::string("negative ") + what + " count " + std::to_string(count));
  if (static_cast<uint64_t>(count) > in.Remaining() / static_cast<uint64_t>(recordBytes))
    Damaged(in, std::to_string(count) + " " + what + "s do not fit in the " + std::to_string(in.Remaining()) +
                    " bytes left");
  return count;
}

}  // namespace

void ReadSoundSetData(TBinaryReader& in, TSoundSetData& data) {
  if (!in.ReadInt32(data.Unused[0]) || !in.ReadInt32(data.Unused[1])) Damaged(in, "it ends inside its header");
  // The sequence count still follows the samples.
  const int32_t samples = ReadCount(in, kSampleRecordBytes, "sample");
  data.Samples.assign(static_cast<size_t>(samples), TSoundSample{});
  for (TSoundSample& s : data.Samples) {
    in.ReadStr(32, s.Name);
    in.ReadBool(s.Loop);
    in.ReadStr(32, s.FileName);
    in.ReadInt32(s.Comment);
  }
  const int32_t sequences = ReadCount(in, kSequenceRecordBytes, "sequence");
  data.Sequences.assign(static_cast<size_t>(sequences), TqvxSoundSeq{});
  for (TqvxSoundSeq& q : data.Sequences) {
    in.ReadStr(32, q.Name);
    int32_t count = 0;
    const bool fits = in.ReadInt32(count) && count >= 0 && in.Remaining() >= 1 &&
                      static_cast<uint64_t>(count) <= (in.Remaining() - 1) / 4;
    if (!fits)
      Damaged(in, "sequence \"" + q.Name + "\" has a bad item count " + std::to_string(count));
    in.ReadBool(q.Loop);
    q.Items.resize(static_cast<size_t>(count));
    for (int32_t& item : q.Items) in.ReadInt32(item);
  }
  if (in.RanShort()) Damaged(in, "it ends inside a record");
}

std::vector<uint8_t> WriteSoundSetData(const TSoundSetData& data) {
  TBinaryWriter out;
  out.WriteInt32(data.Unused[0]);
  out.WriteInt32(data.Unused[1]);
  out.WriteInt32(static_cast<int32_t>(data.Samples.size()));
  for (const TSoundSample& s : data.Samples) {
    out.WriteStr(32, s.Name);
    out.WriteBool(s.Loop);
    out.WriteStr(32, s.FileName);
    out.WriteInt32(s.Comment);
  }
  out.WriteInt32(static_cast<int32_t>(data.Sequences.size()));
  for (const TqvxSoundSeq& q : data.Sequences) {
    out.WriteStr(32, q.Name);
    out.WriteInt32(q.Count());
    out.WriteBool(q.Loop);
    for (int32_t item : q.Items) out.WriteInt32(item);
  }
  return std::move(out.Bytes());
}

std::vector<std::string> ReadComments(std::span<const uint8_t> bytes, const std::string& name) {
  if (bytes.size() != kCommentsFileBytes)
    throw EGameError("Comment table \"" + name + "\" is damaged: " + std::to_string(bytes.size()) +
                     " bytes instead of " + std::to_string(kCommentsFileBytes));
  std::vector<std::string> texts(kCommentCount);
  for (size_t k = 0; k < texts.size(); ++k) {
    const uint8_t* record = bytes.data() + k * kCommentBytes;
    texts[k].assign(reinterpret_cast<const char*>(record + 1), record[0]);
  }
  return texts;
}

std::vector<uint8_t> WriteComments(const std::vector<std::string>& texts) {
  std::vector<uint8_t> bytes(kCommentsFileBytes, 0);
  for (size_t k = 0; k < std::min<size_t>(texts.size(), kCommentCount); ++k) {
    const size_t n = std::min<size_t>(texts[k].size(), kCommentBytes - 1);
    bytes[k * kCommentBytes] = static_cast<uint8_t>(n);
    std::copy_n(texts[k].begin(), n, bytes.begin() + static_cast<std::ptrdiff_t>(k * kCommentBytes + 1));
  }
  return bytes;
}
