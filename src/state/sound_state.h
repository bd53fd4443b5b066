// Records of the sound subsystem kept in the scene state: the eight channel
// slots, the loaded sound set with its sequences, the sequence positions
// remembered per set, the comment table and the two-voice music. Handles are
// the sound library's plain integers; 0 is never a live one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kSoundSlots = 8;
constexpr int kCommentCount = 2048;
constexpr int kCommentBytes = 256;  // a length byte and up to 255 characters
constexpr size_t kSoundSetNameLength = 50;
constexpr size_t kSoundGroupNameLength = 64;

// The timer-driven wave list: loaded and stepped, never heard.
struct TBackMusic {
  std::vector<int32_t> TrackLengths;  // milliseconds
  int32_t CurrentLength = 0;          // milliseconds
  int32_t CurrentTrack = 0;
  bool Enabled = false;
};

struct TSoundSlot {
  int32_t Sample = -1;  // index into Samples
  int32_t Channel = 0;  // library channel
  int32_t Handle = -1;  // library sample handle
  float X = 0, Y = 0, Radius = 0;  // location pixels, positional sounds
  bool Positional = false;
  bool DayTimed = false;
  bool Inverse = false;  // day-timed: loudest at night
  int32_t Pan = 50;      // the pan last given to the channel, 50 the centre
};

struct TSoundSample {
  std::string FileName;    // str32, under "SFX\OGG\"
  std::string Name;        // str32
  bool Loop = false;
  int32_t MemoryFlag = 0;  // always 0, handed to the load call
  int32_t Handle = 0;      // library sample handle
  int32_t Comment = 0;     // comment number, 0 none
};

struct TqvxSoundSeq {
  std::vector<int32_t> Items;  // sample indices
  std::string Name;            // str32
  bool Loop = false;           // start again after the last item
  int32_t Position = 0;        // index of the next item
  int32_t Count() const { return static_cast<int32_t>(Items.size()); }
};

// The sequences of one sound set as they were when the game left it.
struct TqvxSoundSeqGroup {
  std::string Name;  // the set's path, up to 64 characters
  std::vector<TqvxSoundSeq> Sequences;
};

struct TqvxBMSamplesGroup {
  std::string Name;            // up to 32 characters
  std::vector<int32_t> Items;  // track numbers
  int32_t Position = -1;       // item playing
  bool RandomStart = true;     // the first play picks a random position
  int32_t Count() const { return static_cast<int32_t>(Items.size()); }
};

struct TqvxBackMusic {
  int32_t Channels[2] = {0, 0};
  bool FadingOut[2] = {false, false};
  float Levels[2] = {0, 0};       // 0..1
  std::vector<int32_t> Tracks;    // library sample handles
  int32_t CurrentTrack = -1;      // last track played without a group
  int32_t CurrentVoice = -1;      // 0 or 1, -1 none
  int32_t MusicVolume = 100;      // percent
  std::vector<TqvxBMSamplesGroup> Groups;
  int32_t CurrentGroup = -1;      // -1: every track in order
};

struct TqvxSound {
  TSoundSlot ChannelSlots[kSoundSlots];
  std::vector<TSoundSample> Samples;
  std::vector<TqvxSoundSeq> Sequences;
  std::vector<TqvxSoundSeqGroup> SequenceGroups;
  std::string SoundSetName;           // up to 50 characters, empty: none
  std::vector<std::string> Comments;  // kCommentCount texts once loaded
  int32_t SoundVolume = 100;          // 0..100
  int32_t SubtitleSample = 0;         // sample handle of the line being spoken
  TqvxBackMusic BackMusic;
};

// Whether the sequence of that name has a line left to play: the loaded set's
// sequence when it has one, else the last stored one of that name in any
// group; false when the name is found nowhere. What command 29 and the
// condition on a sequence test.
inline bool SequenceHasMore(const TqvxSound& sound, const std::string& name) {
  const auto pending = [](const TqvxSoundSeq& q) { return q.Position < q.Count() || q.Loop; };
  for (const TqvxSoundSeq& q : sound.Sequences)
    if (q.Name == name) return pending(q);
  const TqvxSoundSeq* last = nullptr;
  for (const TqvxSoundSeqGroup& g : sound.SequenceGroups)
    for (const TqvxSoundSeq& q : g.Sequences)
      if (q.Name == name) last = &q;
  return last && pending(*last);
}
