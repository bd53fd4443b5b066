// The sound library: handle tables, the one mixing routine and the outputs
// (an SDL device, the frame clock with its optional WAV capture, silence).
//
// Handles come from one counter shared by samples and channels and are never
// given out twice in a run, so a stale handle finds nothing and is harmless.
// With a device the callback runs on SDL's audio thread and touches only the
// channel table: every entry point that touches it takes the device lock.
#include "sound/sound_library.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "sound/sound_decoder.h"

namespace {

// Files longer than this are decoded as they play instead of at load time.
constexpr double kStreamAboveSeconds = 10.0;
constexpr int32_t kMixPiece = 1024;  // frames mixed at a time

struct TSample {
  std::string Path;
  TSoundFileInfo Info;
  bool Streamed = false;
  std::shared_ptr<const std::vector<int16_t>> Pcm;  // shared with its channels
};

struct TChannel {
  int32_t Sample = 0;  // 0 for a pushed stream
  TSoundFileInfo Info;
  std::shared_ptr<const std::vector<int16_t>> Pcm;
  std::unique_ptr<TSoundStream> Stream;
  std::unique_ptr<TSoundConverter> Pushed;
  // The file frame last set (0 at the start and after a loop) and the output
  // frames played since: the position reads back exactly what was set.
  int64_t Base = 0;
  int64_t Since = 0;
  int64_t PcmStart = 0;  // output frame of Base in Pcm
  int64_t PushedPlayed = 0;
  bool PushedFlushed = false;  // the converter's held-back tail let out
  int32_t Volume = 100;
  int32_t Pan = 50;
  bool Loop = false;
  bool Started = false;
  bool Paused = false;
  bool Ended = false;
};

struct TWavCapture {
  FILE* File = nullptr;
  int64_t Frames = 0;
};

struct TLibrary {
  TAudioOutput Output = TAudioOutput::Silent;
  SDL_AudioDeviceID Device = 0;
  bool AudioSubsystem = false;
  double FrameDebt = 0;  // output frames owed to the frame clock, below one
  TWavCapture Capture;
  int32_t LastHandle = 0;
  std::map<int32_t, TSample> Samples;
  std::map<int32_t, TChannel> Channels;
  std::vector<float> Mix = std::vector<float>(2 * kMixPiece);
  std::vector<int16_t> Piece = std::vector<int16_t>(2 * kMixPiece);
};

TLibrary& Lib() {
  static TLibrary library;
  return library;
}

// Holds the device lock for the scope when a device runs the callback.
class TLock {
 public:
  TLock() : device_(Lib().Device) {
    if (device_) SDL_LockAudioDevice(device_);
  }
  ~TLock() {
    if (device_) SDL_UnlockAudioDevice(device_);
  }
  TLock(const TLock&) = delete;
  TLock& operator=(const TLock&) = delete;

 private:
  SDL_AudioDeviceID device_;
};

int32_t NewHandle() {
  TLibrary& l = Lib();
  l.LastHandle = l.LastHandle == INT32_MAX ? 1 : l.LastHandle + 1;
  return l.LastHandle;
}

TChannel* FindChannel(int32_t handle) {
  auto it = Lib().Channels.find(handle);
  return it == Lib().Channels.end() ? nullptr : &it->second;
}

TSample* FindSample(int32_t handle) {
  auto it = Lib().Samples.find(handle);
  return it == Lib().Samples.end() ? nullptr : &it->second;
}

void Warn(const std::string& text) { std::fprintf(stderr, "ovgame: warning: %s\n", text.c_str()); }

int64_t ToOutputFrames(int64_t fileFrames, int32_t rate) {
  // Rounded up, so that going back to file frames gives the same number.
  return rate > 0 ? (fileFrames * kMixRate + rate - 1) / rate : 0;
}

int64_t PositionOf(const TChannel& c) {
  if (c.Info.Rate <= 0) return c.Base;
  return std::min(c.Info.Frames, c.Base + c.Since * c.Info.Rate / kMixRate);
}

int32_t Ms(int64_t frames, int32_t rate) {
  return rate > 0 ? static_cast<int32_t>(std::min<int64_t>(INT32_MAX, frames * 1000 / rate)) : 0;
}

void SetPosition(TChannel& c, int64_t frame) {
  c.Base = std::clamp<int64_t>(frame, 0, c.Info.Frames);
  c.Since = 0;
  c.PcmStart = ToOutputFrames(c.Base, c.Info.Rate);
  if (c.Stream) c.Stream->Seek(c.Base);
}

// Adds `frames` of the channel to the mix at `gainL`/`gainR`, advancing it.
// A channel that reaches its end without looping is marked ended.
void MixChannel(TChannel& c, float* mix, int32_t frames, float gainL, float gainR) {
  std::vector<int16_t>& piece = Lib().Piece;
  int32_t done = 0;
  auto add = [&](const int16_t* from, int32_t n) {
    float* to = mix + 2 * done;
    for (int32_t i = 0; i < n; ++i) {
      to[2 * i] += gainL * from[2 * i];
      to[2 * i + 1] += gainR * from[2 * i + 1];
    }
    done += n;
  };
  if (c.Pushed) {
    while (done < frames) {
      const int32_t got = c.Pushed->Get(piece.data(), std::min(frames - done, kMixPiece));
      if (got == 0) {
        // Starved: the resampler's last few milliseconds are let out (a gap
        // is there anyway), then silence until more is pushed.
        if (c.PushedFlushed) break;
        c.Pushed->Flush();
        c.PushedFlushed = true;
        continue;
      }
      add(piece.data(), got);
      c.PushedPlayed += got;
    }
    return;
  }
  bool wrapped = false;  // an empty looping file must not spin here
  while (done < frames && !c.Ended) {
    int32_t got = 0;
    if (c.Stream) {
      got = c.Stream->Read(piece.data(), std::min(frames - done, kMixPiece));
      add(piece.data(), got);
    } else if (c.Pcm) {
      const int64_t at = c.PcmStart + c.Since;
      const int64_t have = static_cast<int64_t>(c.Pcm->size() / 2) - at;
      got = static_cast<int32_t>(std::clamp<int64_t>(have, 0, frames - done));
      if (got > 0) add(c.Pcm->data() + 2 * at, got);
    }
    c.Since += got;
    if (done == frames) break;
    if (!c.Loop || (wrapped && got == 0)) {
      c.Ended = true;
    } else {
      SetPosition(c, 0);
      wrapped = true;
    }
  }
}

void MixUnlocked(int16_t* out, int32_t frames) {
  TLibrary& l = Lib();
  for (int32_t from = 0; from < frames; from += kMixPiece) {
    const int32_t n = std::min(kMixPiece, frames - from);
    std::fill(l.Mix.begin(), l.Mix.begin() + 2 * n, 0.0f);
    for (auto it = l.Channels.begin(); it != l.Channels.end();) {
      TChannel& c = it->second;
      if (c.Started && !c.Paused) {
        const float volume = static_cast<float>(c.Volume) / 100.0f;
        const float left = volume * std::min(1.0f, static_cast<float>(100 - c.Pan) / 50.0f);
        const float right = volume * std::min(1.0f, static_cast<float>(c.Pan) / 50.0f);
        MixChannel(c, l.Mix.data(), n, left, right);
      }
      it = c.Ended ? l.Channels.erase(it) : std::next(it);
    }
    for (int32_t i = 0; i < 2 * n; ++i)
      out[2 * from + i] = static_cast<int16_t>(std::clamp(std::lround(l.Mix[i]), -32768L, 32767L));
  }
}

void DeviceCallback(void*, Uint8* stream, int bytes) { MixUnlocked(reinterpret_cast<int16_t*>(stream), bytes / 4); }

// --- the WAV capture -------------------------------------------------------

void PutLe(uint8_t* at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// The header with the sizes of what was written so far, so the file is a
// valid WAV after every frame, even when the game never reaches its end.
void WriteWavHeader(TWavCapture& c) {
  const uint32_t data = static_cast<uint32_t>(std::min<int64_t>(c.Frames * 4, UINT32_MAX - 36));
  uint8_t h[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  PutLe(h + 4, 36 + data, 4);
  PutLe(h + 16, 16, 4);
  PutLe(h + 20, 1, 2);  // PCM
  PutLe(h + 22, 2, 2);
  PutLe(h + 24, kMixRate, 4);
  PutLe(h + 28, kMixRate * 4, 4);
  PutLe(h + 32, 4, 2);
  PutLe(h + 34, 16, 2);
  std::memcpy(h + 36, "data", 4);
  PutLe(h + 40, data, 4);
  std::fseek(c.File, 0, SEEK_SET);
  std::fwrite(h, 1, sizeof h, c.File);
  std::fseek(c.File, 0, SEEK_END);
}

void CaptureWrite(TWavCapture& c, const int16_t* pcm, int32_t frames) {
  uint8_t bytes[4 * kMixPiece];
  for (int32_t from = 0; from < frames; from += kMixPiece) {
    const int32_t n = std::min(kMixPiece, frames - from);
    for (int32_t i = 0; i < 2 * n; ++i) PutLe(bytes + 2 * i, static_cast<uint16_t>(pcm[2 * from + i]), 2);
    std::fwrite(bytes, 4, static_cast<size_t>(n), c.File);
  }
  c.Frames += frames;
  WriteWavHeader(c);
}

void CaptureClose(TWavCapture& c) {
  if (!c.File) return;
  WriteWavHeader(c);
  std::fclose(c.File);
  c = TWavCapture();
}

// --- the device ------------------------------------------------------------

void CloseDevice(TLibrary& l) {
  if (l.Device) SDL_CloseAudioDevice(l.Device);
  l.Device = 0;
  if (l.AudioSubsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  l.AudioSubsystem = false;
}

bool OpenDevice(TLibrary& l) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    Warn(std::string("no audio output (") + SDL_GetError() + "); the game plays without sound");
    return false;
  }
  l.AudioSubsystem = true;
  SDL_AudioSpec want{};
  want.freq = kMixRate;
  want.format = AUDIO_S16SYS;
  want.channels = 2;
  want.samples = 2048;
  want.callback = DeviceCallback;
  SDL_AudioSpec have{};
  l.Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (!l.Device) {
    Warn(std::string("cannot open the audio device (") + SDL_GetError() + "); the game plays without sound");
    CloseDevice(l);
    return false;
  }
  SDL_PauseAudioDevice(l.Device, 0);
  return true;
}

}  // namespace

// --- outputs ---------------------------------------------------------------

void SoundInit(TAudioOutput output) {
  SoundShutdown();
  TLibrary& l = Lib();
  l.Output = output;
  if (output == TAudioOutput::Device && !OpenDevice(l)) l.Output = TAudioOutput::Silent;
}

void SoundShutdown() {
  TLibrary& l = Lib();
  CloseDevice(l);
  CaptureClose(l.Capture);
  l.Channels.clear();
  l.Samples.clear();
  l.Output = TAudioOutput::Silent;
  l.FrameDebt = 0;
}

void SoundAdvance(double seconds) {
  TLibrary& l = Lib();
  if (l.Output == TAudioOutput::Device) {
    if (SDL_GetAudioDeviceStatus(l.Device) != SDL_AUDIO_STOPPED) return;
    Warn("the audio device was lost; the game plays on without sound");
    CloseDevice(l);
    l.Output = TAudioOutput::Silent;
  }
  if (!(seconds > 0)) return;
  // The fraction of a frame left over carries to the next call; the small
  // allowance keeps a 0.02 s frame at exactly 882 output frames, where the
  // sum of binary fractions would otherwise give 881 and 883 in turn.
  l.FrameDebt += seconds * kMixRate;
  const int64_t frames = static_cast<int64_t>(std::floor(l.FrameDebt + 1e-6));
  l.FrameDebt = std::max(0.0, l.FrameDebt - static_cast<double>(frames));
  int16_t out[2 * kMixPiece];
  for (int64_t from = 0; from < frames; from += kMixPiece) {
    const int32_t n = static_cast<int32_t>(std::min<int64_t>(kMixPiece, frames - from));
    MixUnlocked(out, n);
    if (l.Output == TAudioOutput::FrameClock && l.Capture.File) CaptureWrite(l.Capture, out, n);
  }
}

bool SoundCaptureTo(const std::string& path) {
  TLibrary& l = Lib();
  CaptureClose(l.Capture);
  l.Capture.File = std::fopen(path.c_str(), "wb");
  if (!l.Capture.File) {
    std::fprintf(stderr, "ovgame: cannot write the audio to '%s': %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  WriteWavHeader(l.Capture);
  return true;
}

void SoundMix(int16_t* out, int32_t frames) {
  TLock lock;
  MixUnlocked(out, frames);
}

// --- samples ---------------------------------------------------------------

int32_t SampleLoadFile(const std::string& path) {
  TSoundFile file;
  std::string error;
  TSample s;
  s.Path = path;
  if (LoadSoundFile(path, kStreamAboveSeconds, file, error)) {
    s.Info = file.Info;
    s.Streamed = file.Streamed;
    s.Pcm = std::make_shared<const std::vector<int16_t>>(std::move(file.Pcm));
  } else {
    Warn("cannot play '" + path + "': " + error);
  }
  const int32_t handle = NewHandle();
  Lib().Samples.emplace(handle, std::move(s));
  return handle;
}

void SampleUnload(int32_t sample) {
  SampleStop(sample);
  Lib().Samples.erase(sample);
}

int32_t SamplePlay(int32_t sample, bool loop, bool start) {
  const TSample* s = FindSample(sample);
  if (!s) return 0;
  TChannel c;
  c.Sample = sample;
  c.Info = s->Info;
  c.Loop = loop;
  c.Started = start;
  if (!s->Streamed) {
    c.Pcm = s->Pcm;
  } else {
    // Opened outside the lock: the device never waits on the disk.
    std::string error;
    c.Stream = TSoundStream::Open(s->Path, error);
    if (!c.Stream) Warn("cannot play '" + s->Path + "': " + error);
  }
  const int32_t handle = NewHandle();
  TLock lock;
  Lib().Channels.emplace(handle, std::move(c));
  return handle;
}

void SampleStop(int32_t sample) {
  if (sample == 0) return;
  TLock lock;
  std::erase_if(Lib().Channels, [&](const auto& entry) { return entry.second.Sample == sample; });
}

int32_t SampleLengthMs(int32_t sample) {
  const TSample* s = FindSample(sample);
  return s ? Ms(s->Info.Frames, s->Info.Rate) : 0;
}

// --- channels --------------------------------------------------------------

void ChannelStart(int32_t channel) {
  TLock lock;
  if (TChannel* c = FindChannel(channel)) c->Started = true, c->Paused = false;
}

void ChannelStop(int32_t channel) {
  TLock lock;
  Lib().Channels.erase(channel);
}

void ChannelPause(int32_t channel, bool pause) {
  TLock lock;
  if (TChannel* c = FindChannel(channel)) {
    c->Paused = pause;
    if (!pause) c->Started = true;
  }
}

int32_t ChannelStatus(int32_t channel) {
  TLock lock;
  const TChannel* c = FindChannel(channel);
  if (!c) return 0;
  return c->Started && !c->Paused ? 1 : 2;
}

void ChannelSetVolume(int32_t channel, int32_t volume) {
  TLock lock;
  if (TChannel* c = FindChannel(channel)) c->Volume = std::clamp(volume, 0, 100);
}

int32_t ChannelGetVolume(int32_t channel) {
  TLock lock;
  const TChannel* c = FindChannel(channel);
  return c ? c->Volume : 0;
}

void ChannelSetPan(int32_t channel, int32_t pan) {
  TLock lock;
  if (TChannel* c = FindChannel(channel)) c->Pan = std::clamp(pan, 0, 100);
}

void ChannelSetLoop(int32_t channel, bool loop) {
  TLock lock;
  if (TChannel* c = FindChannel(channel)) c->Loop = loop;
}

bool ChannelGetLoop(int32_t channel) {
  TLock lock;
  const TChannel* c = FindChannel(channel);
  return c && c->Loop;
}

int32_t ChannelGetPlayPosition(int32_t channel) {
  TLock lock;
  const TChannel* c = FindChannel(channel);
  if (!c) return 0;
  return static_cast<int32_t>(std::min<int64_t>(INT32_MAX, c->Pushed ? c->PushedPlayed : PositionOf(*c)));
}

void ChannelSetPlayPosition(int32_t channel, int32_t position) {
  TLock lock;
  TChannel* c = FindChannel(channel);
  if (c && !c->Pushed) SetPosition(*c, position);
}

int32_t ChannelGetPlayPositionMs(int32_t channel) {
  TLock lock;
  const TChannel* c = FindChannel(channel);
  if (!c) return 0;
  return c->Pushed ? Ms(c->PushedPlayed, kMixRate) : Ms(PositionOf(*c), c->Info.Rate);
}

int32_t ChannelGetLengthMs(int32_t channel) {
  TLock lock;
  const TChannel* c = FindChannel(channel);
  return c ? Ms(c->Info.Frames, c->Info.Rate) : 0;
}

// --- pushed streams --------------------------------------------------------

int32_t StreamOpen(int32_t rate, int32_t channels) {
  std::string error;
  TChannel c;
  c.Pushed = channels == 1 || channels == 2 ? TSoundConverter::Create(AUDIO_S16SYS, channels, rate, error) : nullptr;
  if (!c.Pushed) {
    Warn("cannot play a sound stream of " + std::to_string(channels) + " channels at " + std::to_string(rate) + " Hz");
    return 0;
  }
  c.Info = {rate, channels, 0};
  c.Started = true;
  TLock lock;
  const int32_t handle = NewHandle();
  Lib().Channels.emplace(handle, std::move(c));
  return handle;
}

void StreamPush(int32_t channel, const int16_t* frames, int32_t count) {
  TLock lock;
  TChannel* c = FindChannel(channel);
  if (c && c->Pushed && frames && count > 0) {
    c->Pushed->Put(frames, count * c->Info.Channels * 2);
    c->PushedFlushed = false;
  }
}

int32_t StreamQueuedMs(int32_t channel) {
  TLock lock;
  const TChannel* c = FindChannel(channel);
  return c && c->Pushed ? Ms(c->Pushed->Available(), kMixRate) : 0;
}

int32_t StreamPlayedMs(int32_t channel) {
  TLock lock;
  const TChannel* c = FindChannel(channel);
  return c && c->Pushed ? Ms(c->PushedPlayed, kMixRate) : 0;
}
