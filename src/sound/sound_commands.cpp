#include "sound/sound_commands.h"

#include <cstdio>

#include "platform/game_error.h"
#include "platform/paths.h"
#include "platform/stream.h"
#include "sound/sound_manager.h"
#include "state/instruction.h"
#include "state/scene_state.h"

namespace {

constexpr int32_t kWaveListTracks = 7;

// 25: sounds of the set and the background music, by Op1; Op5 1 or 2 then
// waits for the sound's length (2: the hero talks meanwhile).
void SoundCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  const auto& op = ins.Op;
  const std::string& name = ins.Str[0];
  const int32_t s = FindSample(scene, name);
  if (s < 0 && op[0] < 3) return;
  TqvxBackMusic& music = scene.Sound.BackMusic;
  switch (op[0]) {
    case -1: StopSample(scene, s); break;
    case 0: PlaySample(scene, s); break;
    case 1: PlayPositional(scene, s, float(op[1]), float(op[2]), float(op[3])); break;
    case 2: PlayDayTimed(scene, s, op[1] >= 1); break;
    case 3: AddMusicGroup(scene, name); break;
    case 4: AddTrack(scene, name); break;
    case 5: AddToGroup(scene, name, op[1]); break;
    case 6: {
      const int32_t g = FindMusicGroup(scene, name);
      if (g >= 0 && g != music.CurrentGroup) {
        PlayGroup(scene, g);
        scene.LocationMusic = g;
      }
      break;
    }
    case 7:
      music.CurrentGroup = -1;
      NextTrack(scene);
      break;
    case 8: scene.MenuMusic = FindMusicGroup(scene, name); break;
    default: break;
  }
  if (s >= 0 && (op[4] == 1 || op[4] == 2)) SpeakSample(scene, s, op[4] == 2);
}

// 26: the next line of a voice sequence with its subtitle; Op1 1 with Op2 0
// makes the hero talk, Op2 1 lets the script go on at once.
void VoiceLineCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  const int32_t q = FindSequence(scene, ins.Str[0]);
  if (q >= 0) {
    ShowSubtitle(scene, SequenceNextHandle(scene, q), SequenceNextComment(scene, q));
    scene.WaitTime = static_cast<float>(PlaySequenceNext(scene, q)) / 1000.0f;
  }
  if (ins.Op[0] == 1 && ins.Op[1] == 0 && scene.WaitTime > 0) StartHeroTalking(scene);
  if (ins.Op[1] == 1) scene.WaitTime = 0;
}

// 29: region Op1 is enabled exactly while the sequence has a line left.
void SequenceRegionCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  if (!InTable(ins.Op[0], scene.Regions.size())) return;
  scene.Regions[size_t(ins.Op[0])].Enabled = SequenceHasMore(scene.Sound, ins.Str[0]);
}

// A WAV file's length in ms from its header (data bytes over bytes per
// second); 0, with a warning, for a file that is missing or not a WAV.
int32_t WaveLengthMs(const std::string& gamePath) {
  try {
    const std::vector<uint8_t> bytes = ReadGameFile(gamePath);
    TBinaryReader in(bytes, gamePath);
    uint32_t riff = 0, size = 0, wave = 0, perSecond = 0;
    in.ReadUInt32(riff);
    in.ReadUInt32(size);
    in.ReadUInt32(wave);
    if (riff == 0x46464952 && wave == 0x45564157) {
      for (uint32_t id = 0, length = 0; in.ReadUInt32(id) && in.ReadUInt32(length);) {
        const uint64_t start = in.Position();
        if (id == 0x20746d66) {  // "fmt "
          in.Skip(8);
          in.ReadUInt32(perSecond);
        } else if (id == 0x61746164 && perSecond > 0) {  // "data"
          return static_cast<int32_t>(uint64_t{length} * 1000 / perSecond);
        }
        if (!in.Seek(start + length + (length & 1))) break;
      }
    }
    std::fprintf(stderr, "ovgame: warning: \"%s\" is not a WAV file the music list can time\n", gamePath.c_str());
  } catch (const EGameError& e) {
    std::fprintf(stderr, "ovgame: warning: %s\n", e.what());
  }
  return 0;
}

// 35: the timer's wave list: seven tracks timed, switched on, a random one current.
void LoadWaveListCommand(TqvxScene& scene, const TScriptInstruction&, float) {
  TBackMusic& m = scene.Music;
  m.TrackLengths.clear();
  for (int32_t i = 1; i <= kWaveListTracks; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "qvxSound\\music\\_back_%02d.wav", i);
    m.TrackLengths.push_back(WaveLengthMs(name));
  }
  m.Enabled = true;
  m.CurrentTrack = Random(scene, kWaveListTracks);
}

// 36, 37: the wave list on, and off.
void WaveListOnCommand(TqvxScene& scene, const TScriptInstruction&, float) { scene.Music.Enabled = true; }
void WaveListOffCommand(TqvxScene& scene, const TScriptInstruction&, float) { scene.Music.Enabled = false; }

// 48: the location's sound set.
void SoundSetCommand(TqvxScene& scene, const TScriptInstruction& ins, float) {
  if (!ins.Str[0].empty()) LoadSoundSet(scene, "SFX\\" + ins.Str[0]);
}

constexpr TCommandBinding kSoundCommands[] = {
    {25, SoundCommand},         {26, VoiceLineCommand},   {29, SequenceRegionCommand}, {35, LoadWaveListCommand},
    {36, WaveListOnCommand},    {37, WaveListOffCommand}, {48, SoundSetCommand},
};

}  // namespace

std::span<const TCommandBinding> SoundCommands() { return kSoundCommands; }
