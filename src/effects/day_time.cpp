#include "effects/day_time.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/game_error.h"

namespace {

constexpr int32_t kPresets = 5;
constexpr float kPresetKeys[kPresets][kDayTimeKeys][2] = {
    {{0, 1}, {0.2f, 1}, {0.4f, 0}, {0.6f, 0}, {0.8f, 1}, {1, 1}},
    {{0, 0}, {0.25f, 0}, {0.5f, 1}, {0.85f, 1}, {0.95f, 0}, {1, 0}},
    {{0, 0}, {0.25f, 0}, {0.3f, 1}, {0.5f, 1}, {0.55f, 0}, {1, 0}},
    {{0, 0}, {0.7f, 0}, {0.75f, 1}, {0.9f, 1}, {0.98f, 0}, {1, 0}},
    {{0, 1}, {0.4f, 1}, {0.5f, 0}, {0.75f, 0}, {0.85f, 1}, {1, 1}},
};
constexpr float kDayLightKeys[kDayTimeKeys][2] = {{0, 1}, {0.2f, 1}, {0.4f, 0}, {0.8f, 0}, {0.9f, 1}, {1, 1}};
constexpr uint64_t kChannelBytes = 56;

// The straight line through keys k-1 and k at `time`; k is kept inside 1..5
// so that a phase past the last key or before the first reads the end
// segments and nothing outside the six keys.
float Segment(const float* times, const float* values, int k, float time) {
  k = k < 1 ? 1 : (k >= kDayTimeKeys ? kDayTimeKeys - 1 : k);
  const float span = times[k] - times[k - 1];
  // Equal key times (only a save file can give them) would divide by zero.
  if (span == 0) return values[k];
  const float slope = (values[k] - values[k - 1]) / span;
  return slope * time + (values[k] - slope * times[k]);
}

}  // namespace

void ResetDayTime(TDayTime& day) {
  day.Time = 0;
  day.Speed = 1.0f / 900.0f;
  day.SpeedFactor = 1;
  day.ChannelCount = 0;
  day.DayTimeActive = true;
}

void ClearDayTime(TDayTime& day) {
  if (day.DayTimeActive)
    day.ChannelCount = 0;
  else
    ResetDayTime(day);
}

void AdvanceDayTime(TDayTime& day, float d) {
  if (!day.DayTimeActive) {
    ResetDayTime(day);
    return;
  }
  ClearDayTime(day);
  day.Time += d;
  // Bounded, so that a huge step from a script cannot spin here.
  if (day.Time > 1) {
    day.Time -= std::floor(day.Time);
    if (day.Time == 0) day.Time = 1;
  }
}

int32_t AddDayTimeChannel(TDayTime& day, int32_t kind, int32_t picture) {
  if (picture < 0 || day.ChannelCount >= kDayTimeChannels || day.ChannelCount < 0) return -1;
  const int32_t index = day.ChannelCount++;
  TDayTimeChannel& c = day.Channels[static_cast<size_t>(index)];
  c = TDayTimeChannel{};
  c.Picture = picture;
  c.Kind = kind;
  SetDayTimeCurve(c, kind);
  return index;
}

void SetDayTimeCurve(TDayTimeChannel& channel, int32_t preset) {
  if (preset < 0 || preset >= kPresets) return;
  for (int k = 0; k < kDayTimeKeys; ++k) {
    channel.KeyTime[k] = kPresetKeys[preset][k][0];
    channel.KeyValue[k] = kPresetKeys[preset][k][1];
  }
}

void SetDayTimeOrbit(TDayTime& day, float x, float y, float radius) {
  day.OrbitX = x;
  day.OrbitY = y;
  day.OrbitRadius = radius;
}

float ChannelValue(const TDayTimeChannel& channel, float time) {
  int k = 0;
  while (k < kDayTimeKeys && !(channel.KeyTime[k] > time)) ++k;
  return Segment(channel.KeyTime, channel.KeyValue, k, time);
}

void ApplyDayTime(TDayTime& day, TGLMaterialLibrary& library, float seconds) {
  day.Time += seconds * day.Speed * day.SpeedFactor;
  if (day.Time > 1) day.Time -= 1;
  const int32_t count = day.ChannelCount < kDayTimeChannels ? day.ChannelCount : kDayTimeChannels;
  for (int32_t i = 0; i < count; ++i) {
    const TDayTimeChannel& c = day.Channels[static_cast<size_t>(i)];
    if (c.Picture < 0 || c.Picture >= library.Count()) continue;
    const float value = ChannelValue(c, day.Time);
    float* diffuse = library.At(c.Picture).Diffuse;
    if (c.Kind == 0) diffuse[3] = value;
    if (c.Kind == 1) diffuse[0] = diffuse[1] = diffuse[2] = value;
  }
}

float DayTimeOrbitX(const TDayTime& day) {
  return static_cast<float>(std::cos((-day.Time / 2.0 - 0.1) * std::numbers::pi) * day.OrbitRadius + day.OrbitX);
}

float DayTimeOrbitY(const TDayTime& day) {
  return static_cast<float>(std::sin((-day.Time / 2.0 - 0.1) * std::numbers::pi) * day.OrbitRadius + day.OrbitY);
}

void UpdateDayTime(TqvxScene& scene, float seconds) {
  TDayTime& day = scene.DayTime;
  if (!day.DayTimeActive) return;
  ApplyDayTime(day, *scene.LocationLibrary, seconds);
  if (ValidObject(scene, scene.DayTimeObject)) {
    TqvxObject& o = scene.Objects[static_cast<size_t>(scene.DayTimeObject)];
    o.X = DayTimeOrbitX(day);
    o.Y = DayTimeOrbitY(day);
  }
}

float DayLight(const TDayTime& day) {
  float times[kDayTimeKeys], values[kDayTimeKeys];
  for (int k = 0; k < kDayTimeKeys; ++k) times[k] = kDayLightKeys[k][0], values[k] = kDayLightKeys[k][1];
  int k = 0;
  while (k < kDayTimeKeys && times[k] < day.Time) ++k;
  return Segment(times, values, k, day.Time);
}

void SaveDayTime(const TDayTime& day, TBinaryWriter& out) {
  const int32_t count = day.ChannelCount < 0 ? 0 : std::min(day.ChannelCount, kDayTimeChannels);
  out.WriteInt32(count);
  for (int32_t i = 0; i < count; ++i) {
    const TDayTimeChannel& c = day.Channels[static_cast<size_t>(i)];
    out.WriteInt32(c.Picture);
    for (int k = 0; k < kDayTimeKeys; ++k) out.WriteFloat(c.KeyTime[k]), out.WriteFloat(c.KeyValue[k]);
    out.WriteInt32(c.Kind);
  }
  out.WriteFloat(day.Time);
  out.WriteFloat(day.Speed);
  out.WriteFloat(day.SpeedFactor);
  out.WriteBool(day.DayTimeActive);
  out.WriteFloat(day.OrbitX);
  out.WriteFloat(day.OrbitY);
  out.WriteFloat(day.OrbitRadius);
}

void LoadDayTime(TDayTime& day, TBinaryReader& in) {
  int32_t count = day.ChannelCount;
  if (!in.ReadInt32(count)) return;
  if (count < 0 || count > kDayTimeChannels || static_cast<uint64_t>(count) * kChannelBytes > in.Remaining())
    throw EGameError(in.Name() + ": the time of day holds " + std::to_string(count) + " channels (at most " +
                     std::to_string(kDayTimeChannels) + " fit)");
  day.ChannelCount = count;
  for (int32_t i = 0; i < count; ++i) {
    TDayTimeChannel& c = day.Channels[static_cast<size_t>(i)];
    in.ReadInt32(c.Picture);
    for (int k = 0; k < kDayTimeKeys; ++k) in.ReadFloat(c.KeyTime[k]), in.ReadFloat(c.KeyValue[k]);
    in.ReadInt32(c.Kind);
  }
  in.ReadFloat(day.Time);
  in.ReadFloat(day.Speed);
  in.ReadFloat(day.SpeedFactor);
  in.ReadBool(day.DayTimeActive);
  in.ReadFloat(day.OrbitX);
  in.ReadFloat(day.OrbitY);
  in.ReadFloat(day.OrbitRadius);
}
