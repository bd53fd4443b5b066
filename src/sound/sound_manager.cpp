#include "sound/sound_manager.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "platform/game_error.h"
#include "platform/paths.h"
#include "sound/sound_library.h"
#include "sound/sound_set_file.h"

namespace {

constexpr uint64_t kMinGroupBytes = 65 + 4;           // name, sequence count
constexpr uint64_t kMinStoredSeqBytes = 33 + 4 + 1 + 4;  // name, count, loop, position

bool ValidSample(const TqvxScene& scene, int32_t i) { return InTable(i, scene.Sound.Samples.size()); }

// The first slot whose channel has stopped; -1 when all eight are busy.
int32_t FreeSlot(const TqvxScene& scene) {
  for (int32_t i = 0; i < kSoundSlots; ++i)
    if (ChannelStatus(scene.Sound.ChannelSlots[i].Channel) == 0) return i;
  return -1;
}

// A slot taken for sample `i`, flags cleared; null when none is free.
TSoundSlot* TakeSlot(TqvxScene& scene, int32_t i) {
  if (!ValidSample(scene, i)) return nullptr;
  const int32_t free = FreeSlot(scene);
  if (free < 0) return nullptr;
  TSoundSlot& slot = scene.Sound.ChannelSlots[free];
  slot = TSoundSlot{};
  slot.Sample = i;
  slot.Handle = scene.Sound.Samples[size_t(i)].Handle;
  return &slot;
}

// The item index PlaySequenceNext would play, a looping sequence at its end
// starting over; -1 when nothing would play.
int32_t NextItemIndex(const TqvxSoundSeq& q) {
  if (q.Count() == 0 || (q.Position >= q.Count() && !q.Loop) || q.Position < 0) return -1;
  return q.Position > q.Count() - 1 ? 0 : q.Position;
}

int32_t NextSample(const TqvxScene& scene, int32_t sequence) {
  if (!InTable(sequence, scene.Sound.Sequences.size())) return -1;
  const TqvxSoundSeq& q = scene.Sound.Sequences[size_t(sequence)];
  const int32_t at = NextItemIndex(q);
  return at < 0 ? -1 : q.Items[size_t(at)];
}

void StoreSequencePositions(TqvxScene& scene) {
  TqvxSound& s = scene.Sound;
  if (s.SoundSetName.empty()) return;
  int32_t g = FindGroup(scene, s.SoundSetName);
  if (g < 0) {
    s.SequenceGroups.push_back(TqvxSoundSeqGroup{s.SoundSetName.substr(0, kSoundGroupNameLength), {}});
    g = static_cast<int32_t>(s.SequenceGroups.size()) - 1;
  }
  s.SequenceGroups[size_t(g)].Sequences = s.Sequences;
}

void RestoreSequencePositions(TqvxScene& scene, int32_t g) {
  if (!InTable(g, scene.Sound.SequenceGroups.size())) return;
  const auto& stored = scene.Sound.SequenceGroups[size_t(g)].Sequences;
  auto& current = scene.Sound.Sequences;
  for (size_t i = 0; i < std::min(stored.size(), current.size()); ++i) current[i].Position = stored[i].Position;
}

int32_t LoadSampleFile(const std::string& gamePath) {
  try {
    return SampleLoadFile(ResolveGamePath(gamePath).string());
  } catch (const EGameError& e) {
    std::fprintf(stderr, "ovgame: warning: %s\n", e.what());
    return 0;
  }
}

[[noreturn]] void DamagedSave(const TBinaryReader& in, const std::string& what) {
  throw EGameError("Saved sound state in \"" + in.Name() + "\" is damaged: " + what);
}

}  // namespace

int32_t RoundHalfEven(double v) {
  // Positions and radii come from saves too, so distances and levels may be
  // anything: they saturate at the ends of the range, and a NaN is 0.
  if (std::isnan(v)) return 0;
  return static_cast<int32_t>(std::nearbyint(std::clamp(v, double{INT32_MIN}, double{INT32_MAX})));
}

void InitSound(TqvxScene& scene) {
  TqvxSound& s = scene.Sound;
  for (TSoundSlot& slot : s.ChannelSlots) slot = TSoundSlot{};
  s.Samples.clear();
  s.Sequences.clear();
  s.SequenceGroups.clear();
  s.SoundSetName.clear();
  s.SubtitleSample = 0;
  s.BackMusic = TqvxBackMusic{};
  LoadComments(scene);
  scene.StepSoundHook = [](TqvxScene& sc, const std::string& name) { PlaySample(sc, FindSample(sc, name)); };
}

void LoadSoundSet(TqvxScene& scene, const std::string& path) {
  TqvxSound& s = scene.Sound;
  if (path == s.SoundSetName) return;
  const std::vector<uint8_t> bytes = ReadGameFile(path);
  TBinaryReader in(bytes, path);
  TSoundSetData data;
  ReadSoundSetData(in, data);

  StoreSequencePositions(scene);
  for (const TSoundSample& sample : s.Samples) SampleUnload(sample.Handle);
  s.Samples = std::move(data.Samples);
  for (TSoundSample& sample : s.Samples) sample.Handle = LoadSampleFile("SFX\\OGG\\" + sample.FileName);
  s.Sequences = std::move(data.Sequences);
  s.SoundSetName = path.substr(0, kSoundSetNameLength);
  RestoreSequencePositions(scene, FindGroup(scene, s.SoundSetName));
}

int32_t FindSample(const TqvxScene& scene, const std::string& name) {
  const auto& v = scene.Sound.Samples;
  const auto it = std::find_if(v.begin(), v.end(), [&](const TSoundSample& x) { return x.Name == name; });
  return it == v.end() ? -1 : static_cast<int32_t>(it - v.begin());
}

int32_t FindSequence(const TqvxScene& scene, const std::string& name) {
  const auto& v = scene.Sound.Sequences;
  const auto it = std::find_if(v.begin(), v.end(), [&](const TqvxSoundSeq& x) { return x.Name == name; });
  return it == v.end() ? -1 : static_cast<int32_t>(it - v.begin());
}

int32_t FindGroup(const TqvxScene& scene, const std::string& name) {
  const auto& v = scene.Sound.SequenceGroups;
  const auto it = std::find_if(v.begin(), v.end(), [&](const TqvxSoundSeqGroup& x) { return x.Name == name; });
  return it == v.end() ? -1 : static_cast<int32_t>(it - v.begin());
}

void PlaySample(TqvxScene& scene, int32_t sample) {
  TSoundSlot* slot = TakeSlot(scene, sample);
  if (!slot) return;
  slot->Channel = SamplePlay(slot->Handle, false, true);
  ChannelSetLoop(slot->Channel, scene.Sound.Samples[size_t(sample)].Loop);
  ChannelSetVolume(slot->Channel, scene.Sound.SoundVolume);
}

void PlayPositional(TqvxScene& scene, int32_t sample, float x, float y, float radius) {
  TSoundSlot* slot = TakeSlot(scene, sample);
  if (!slot) return;
  slot->Channel = SamplePlay(slot->Handle, false, false);
  ChannelSetVolume(slot->Channel, 0);
  ChannelSetLoop(slot->Channel, scene.Sound.Samples[size_t(sample)].Loop);
  ChannelStart(slot->Channel);
  slot->Positional = true;
  slot->X = x;
  slot->Y = y;
  slot->Radius = radius;
}

void PlayDayTimed(TqvxScene& scene, int32_t sample, bool inverse) {
  TSoundSlot* slot = TakeSlot(scene, sample);
  if (!slot) return;
  slot->Channel = SamplePlay(slot->Handle, false, true);
  ChannelSetLoop(slot->Channel, scene.Sound.Samples[size_t(sample)].Loop);
  ChannelSetVolume(slot->Channel, 0);
  slot->DayTimed = true;
  slot->Inverse = inverse;
}

void StopSample(TqvxScene& scene, int32_t sample) {
  if (ValidSample(scene, sample)) SampleStop(scene.Sound.Samples[size_t(sample)].Handle);
}

int32_t SampleLength(const TqvxScene& scene, int32_t sample) {
  return ValidSample(scene, sample) ? SampleLengthMs(scene.Sound.Samples[size_t(sample)].Handle) : 0;
}

int32_t PlaySequenceNext(TqvxScene& scene, int32_t sequence) {
  if (!InTable(sequence, scene.Sound.Sequences.size())) return 0;
  TqvxSoundSeq& q = scene.Sound.Sequences[size_t(sequence)];
  const int32_t at = NextItemIndex(q);
  if (at < 0) return 0;
  const int32_t sample = q.Items[size_t(at)];
  PlaySample(scene, sample);
  q.Position = at + 1;
  return SampleLength(scene, sample);
}

std::string SequenceNextComment(const TqvxScene& scene, int32_t sequence) {
  const int32_t sample = NextSample(scene, sequence);
  return ValidSample(scene, sample) ? CommentText(scene, scene.Sound.Samples[size_t(sample)].Comment) : "";
}

int32_t SequenceNextHandle(const TqvxScene& scene, int32_t sequence) {
  const int32_t sample = NextSample(scene, sequence);
  return ValidSample(scene, sample) ? scene.Sound.Samples[size_t(sample)].Handle : 0;
}

void UpdateListener(TqvxScene& scene, float x, float y) {
  for (TSoundSlot& slot : scene.Sound.ChannelSlots) {
    if (!slot.Positional) continue;
    const double d = std::hypot(double(x) - slot.X, double(y) - slot.Y);
    // A sound without a radius is heard nowhere.
    const int32_t p = slot.Radius > 0 ? std::max(0, 100 - RoundHalfEven(d / slot.Radius * 100)) : 0;
    ChannelSetVolume(slot.Channel, RoundHalfEven(scene.Sound.SoundVolume * p / 100.0));
    if (p > 0) {
      const double pan = 50 - (double(x) - slot.X) / slot.Radius * 10;
      slot.Pan = RoundHalfEven(std::clamp(pan, 0.0, 100.0));
      ChannelSetPan(slot.Channel, slot.Pan);
    }
  }
}

void UpdateDayTimed(TqvxScene& scene, int32_t level) {
  for (TSoundSlot& slot : scene.Sound.ChannelSlots) {
    if (!slot.DayTimed) continue;
    const int32_t p = std::max(0, slot.Inverse ? 100 - level : level);
    ChannelSetVolume(slot.Channel, RoundHalfEven(scene.Sound.SoundVolume * p / 100.0));
  }
}

void PauseAll(TqvxScene& scene, bool pause) {
  for (const TSoundSlot& slot : scene.Sound.ChannelSlots) ChannelPause(slot.Channel, pause);
}

void StopAll(TqvxScene& scene) {
  for (const TSoundSlot& slot : scene.Sound.ChannelSlots) ChannelStop(slot.Channel);
}

void ResetSequences(TqvxScene& scene) {
  for (TqvxSoundSeq& q : scene.Sound.Sequences) q.Position = 0;
}

void ClearGroups(TqvxScene& scene) { scene.Sound.SequenceGroups.clear(); }

void SaveChannels(const TqvxScene& scene, TBinaryWriter& out) {
  for (const TSoundSlot& slot : scene.Sound.ChannelSlots) {
    out.WriteInt32(ChannelStatus(slot.Channel) != 0 ? 1 : 0);
    out.WriteInt32(ChannelGetPlayPosition(slot.Channel));
    out.WriteInt32(slot.Handle);
    out.WriteInt32(ChannelGetLoop(slot.Channel) ? 1 : 0);
    out.WriteInt32(ChannelGetVolume(slot.Channel));
    out.WriteInt32(slot.Sample);
    out.WriteFloat(slot.X);
    out.WriteFloat(slot.Y);
    out.WriteFloat(slot.Radius);
    out.WriteBool(slot.Positional);
    out.WriteBool(slot.DayTimed);
    out.WriteBool(slot.Inverse);
  }
}

void LoadChannels(TqvxScene& scene, TBinaryReader& in) {
  for (TSoundSlot& slot : scene.Sound.ChannelSlots) {
    ChannelStop(slot.Channel);
    slot.Channel = 0;
    int32_t status = 0, position = 0, loop = 0, volume = 0;
    in.ReadInt32(status);
    in.ReadInt32(position);
    in.ReadInt32(slot.Handle);
    in.ReadInt32(loop);
    in.ReadInt32(volume);
    in.ReadInt32(slot.Sample);
    in.ReadFloat(slot.X);
    in.ReadFloat(slot.Y);
    in.ReadFloat(slot.Radius);
    in.ReadBool(slot.Positional);
    in.ReadBool(slot.DayTimed);
    in.ReadBool(slot.Inverse);
    if (status != 1 || !ValidSample(scene, slot.Sample)) continue;
    // The saved handle belonged to the run that saved; the set loaded now has its own.
    slot.Handle = scene.Sound.Samples[size_t(slot.Sample)].Handle;
    slot.Channel = SamplePlay(slot.Handle, loop != 0, true);
    ChannelSetPlayPosition(slot.Channel, position);
    ChannelSetVolume(slot.Channel, volume);
  }
}

void SaveGroups(TqvxScene& scene, TBinaryWriter& out) {
  StoreSequencePositions(scene);
  out.WriteInt32(static_cast<int32_t>(scene.Sound.SequenceGroups.size()));
  for (const TqvxSoundSeqGroup& g : scene.Sound.SequenceGroups) {
    out.WriteStr(int(kSoundGroupNameLength), g.Name);
    out.WriteInt32(static_cast<int32_t>(g.Sequences.size()));
    for (const TqvxSoundSeq& q : g.Sequences) {
      out.WriteStr(32, q.Name);
      out.WriteInt32(q.Count());
      out.WriteBool(q.Loop);
      for (int32_t item : q.Items) out.WriteInt32(item);
      out.WriteInt32(q.Position);
    }
  }
}

void LoadGroups(TqvxScene& scene, TBinaryReader& in) {
  ClearGroups(scene);
  // A count whose records (each at least `each` bytes, with `after` bytes
  // following them) the rest of the data cannot hold is refused.
  const auto count = [&](uint64_t each, uint64_t after, const char* what) {
    int32_t n = 0;
    if (!in.ReadInt32(n) || n < 0 || in.Remaining() < after || static_cast<uint64_t>(n) > (in.Remaining() - after) / each)
      DamagedSave(in, std::string("bad ") + what + " count " + std::to_string(n));
    return n;
  };
  auto& groups = scene.Sound.SequenceGroups;
  groups.resize(size_t(count(kMinGroupBytes, 0, "group")));
  for (TqvxSoundSeqGroup& g : groups) {
    in.ReadStr(int(kSoundGroupNameLength), g.Name);
    g.Sequences.resize(size_t(count(kMinStoredSeqBytes, 0, "sequence")));
    for (TqvxSoundSeq& q : g.Sequences) {
      in.ReadStr(32, q.Name);
      q.Items.resize(size_t(count(4, 5, "item")));
      in.ReadBool(q.Loop);
      for (int32_t& item : q.Items) in.ReadInt32(item);
      in.ReadInt32(q.Position);
    }
  }
  if (in.RanShort()) DamagedSave(in, "it ends inside the sequence groups");
  RestoreSequencePositions(scene, FindGroup(scene, scene.Sound.SoundSetName));
}
