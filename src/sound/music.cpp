// The background music: two voices that take turns, the new track rising
// while the old one falls over two seconds, the next track started four
// seconds before the current one ends.
#include <algorithm>
#include <cstdio>

#include "platform/game_error.h"
#include "platform/paths.h"
#include "sound/sound_library.h"
#include "sound/sound_manager.h"

namespace {

constexpr float kFadePerSecond = 0.5f;
constexpr int32_t kNextTrackLeadMs = 4000;
constexpr size_t kMusicGroupNameLength = 32;

void StartTrack(TqvxScene& scene, int32_t track) {
  TqvxBackMusic& m = scene.Sound.BackMusic;
  const int32_t v = m.CurrentVoice + 1 == 2 ? 0 : m.CurrentVoice + 1;
  ChannelStop(m.Channels[v]);
  const int32_t handle = InTable(track, m.Tracks.size()) ? m.Tracks[size_t(track)] : 0;
  m.Channels[v] = SamplePlay(handle, false, false);
  ChannelSetVolume(m.Channels[v], 0);
  ChannelStart(m.Channels[v]);
  m.Levels[v] = 0;
  m.FadingOut[v] = false;
  m.FadingOut[1 - v] = true;
  m.CurrentVoice = v;
}

int32_t MusicLevelVolume(const TqvxBackMusic& m, int32_t v) { return RoundHalfEven(m.MusicVolume * double(m.Levels[v])); }

}  // namespace

int32_t FindMusicGroup(const TqvxScene& scene, const std::string& name) {
  const auto& v = scene.Sound.BackMusic.Groups;
  const auto it = std::find_if(v.begin(), v.end(), [&](const TqvxBMSamplesGroup& g) { return g.Name == name; });
  return it == v.end() ? -1 : static_cast<int32_t>(it - v.begin());
}

void AddMusicGroup(TqvxScene& scene, const std::string& name) {
  if (name.empty() || FindMusicGroup(scene, name) >= 0) return;
  TqvxBMSamplesGroup g;
  g.Name = name.substr(0, kMusicGroupNameLength);
  scene.Sound.BackMusic.Groups.push_back(g);
}

void AddTrack(TqvxScene& scene, const std::string& file) {
  int32_t handle = 0;
  try {
    handle = SampleLoadFile(ResolveGamePath("SFX\\OGG\\" + file).string());
  } catch (const EGameError& e) {
    std::fprintf(stderr, "ovgame: warning: %s\n", e.what());
  }
  scene.Sound.BackMusic.Tracks.push_back(handle);
}

void AddToGroup(TqvxScene& scene, const std::string& group, int32_t track) {
  const int32_t g = FindMusicGroup(scene, group);
  if (g >= 0) scene.Sound.BackMusic.Groups[size_t(g)].Items.push_back(track);
}

void PlayGroup(TqvxScene& scene, int32_t group) {
  TqvxBackMusic& m = scene.Sound.BackMusic;
  if (group < -1 || group >= static_cast<int32_t>(m.Groups.size())) {
    FadeOutAll(scene);
    return;
  }
  m.CurrentGroup = group;
  if (group >= 0 && m.Groups[size_t(group)].RandomStart) {
    TqvxBMSamplesGroup& g = m.Groups[size_t(group)];
    g.Position = Random(scene, g.Count());
    g.RandomStart = false;
  }
  NextTrack(scene);
}

void NextTrack(TqvxScene& scene) {
  TqvxBackMusic& m = scene.Sound.BackMusic;
  if (m.CurrentGroup < 0) {
    m.CurrentTrack += 1;
    if (m.CurrentTrack >= static_cast<int32_t>(m.Tracks.size())) m.CurrentTrack = 0;
    if (InTable(m.CurrentTrack, m.Tracks.size())) StartTrack(scene, m.CurrentTrack);
    return;
  }
  TqvxBMSamplesGroup& g = m.Groups[size_t(m.CurrentGroup)];
  g.Position += 1;
  if (g.Position > g.Count() - 1) g.Position = 0;
  if (g.Count() == 0) {
    FadeOutAll(scene);
    return;
  }
  StartTrack(scene, g.Items[size_t(g.Position)]);
}

void FadeOutAll(TqvxScene& scene) {
  TqvxBackMusic& m = scene.Sound.BackMusic;
  m.FadingOut[0] = m.FadingOut[1] = true;
  m.CurrentVoice = -1;
}

void UpdateMusic(TqvxScene& scene, float dt) {
  TqvxBackMusic& m = scene.Sound.BackMusic;
  const float step = dt * kFadePerSecond;
  for (int32_t v = 0; v < 2; ++v) {
    if (m.FadingOut[v]) {
      m.Levels[v] -= step;
      if (m.Levels[v] >= 0) {
        ChannelSetVolume(m.Channels[v], MusicLevelVolume(m, v));
      } else {
        ChannelStop(m.Channels[v]);
        m.FadingOut[v] = false;
        m.Levels[v] = 0;
      }
    } else if (m.Levels[v] < 1) {
      m.Levels[v] = std::min(1.0f, m.Levels[v] + step);
      ChannelSetVolume(m.Channels[v], MusicLevelVolume(m, v));
    } else if (v == m.CurrentVoice &&
               ChannelGetLengthMs(m.Channels[v]) < ChannelGetPlayPositionMs(m.Channels[v]) + kNextTrackLeadMs) {
      NextTrack(scene);
    }
  }
}
