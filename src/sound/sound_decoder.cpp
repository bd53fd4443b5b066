// Decoding and conversion of sound files. Vorbis gives 16-bit samples at the
// file's rate and channel count; SDL's loader gives WAV data in whatever
// format the file has; both go through SDL_AudioStream to 16-bit stereo at
// the output rate, so the mixer sees one format only.
#include "sound/sound_decoder.h"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "sound/sound_library.h"

namespace {

constexpr int32_t kOutFrameBytes = 4;       // 16-bit stereo
constexpr int32_t kDecodeBytes = 16384;     // one vorbisfile read
constexpr int64_t kReserveLimit = 1 << 22;  // frames: never trust a header for more
// Rates outside these are damage, not sound: a tiny rate would turn a small
// file into hours of output.
constexpr int32_t kMinRate = 1000;
constexpr int32_t kMaxRate = 384000;
// The most a WAV file may hold in memory once converted: ten minutes.
constexpr int64_t kMaxWavFrames = int64_t{600} * kMixRate;

// The first four bytes of the file; empty when it cannot be opened.
std::string Magic(const std::string& path, std::string& error) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    error = std::strerror(errno);
    return {};
  }
  char bytes[4] = {};
  const size_t got = std::fread(bytes, 1, sizeof bytes, f);
  std::fclose(f);
  if (got < sizeof bytes) error = "too short for a sound file";
  return std::string(bytes, got);
}

std::string VorbisError(int code) {
  switch (code) {
    case OV_ENOTVORBIS:
      return "not Vorbis data";
    case OV_EBADHEADER:
      return "a damaged Vorbis header";
    case OV_EVERSION:
      return "an unknown Vorbis version";
    case OV_EREAD:
      return "a read error";
    default:
      return "undecodable OGG data (error " + std::to_string(code) + ")";
  }
}

void Drain(TSoundConverter& converter, std::vector<int16_t>& pcm) {
  const int32_t frames = converter.Available();
  if (frames <= 0) return;
  const size_t at = pcm.size();
  pcm.resize(at + 2 * static_cast<size_t>(frames));
  const int32_t got = converter.Get(pcm.data() + at, frames);
  pcm.resize(at + 2 * static_cast<size_t>(got));
}

bool LoadWav(const std::string& path, TSoundFile& file, std::string& error) {
  SDL_AudioSpec spec;
  Uint8* data = nullptr;
  Uint32 bytes = 0;
  if (!SDL_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1, &spec, &data, &bytes)) {
    error = SDL_GetError();
    return false;
  }
  const int32_t frameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
  auto converter = TSoundConverter::Create(spec.format, spec.channels, spec.freq, error);
  if (!converter || frameBytes <= 0) {
    SDL_FreeWAV(data);
    if (error.empty()) error = "an unusable WAV format";
    return false;
  }
  file.Info = {spec.freq, spec.channels, bytes / frameBytes};
  if (file.Info.Frames * kMixRate / spec.freq > kMaxWavFrames) {
    SDL_FreeWAV(data);
    error = "too long for a WAV file (longer sounds belong in OGG files)";
    return false;
  }
  const Uint32 whole = bytes - bytes % static_cast<Uint32>(frameBytes);
  // In pieces, so the converter never holds the whole file twice over.
  for (Uint32 at = 0; at < whole;) {
    const Uint32 n = std::min<Uint32>(whole - at, 1u << 20);
    converter->Put(data + at, static_cast<int32_t>(n));
    Drain(*converter, file.Pcm);
    at += n;
  }
  SDL_FreeWAV(data);
  converter->Flush();
  Drain(*converter, file.Pcm);
  return true;
}

}  // namespace

// --- the converter ---------------------------------------------------------

std::unique_ptr<TSoundConverter> TSoundConverter::Create(uint16_t format, int32_t channels, int32_t rate,
                                                         std::string& error) {
  SDL_AudioStream* s = channels >= 1 && channels <= 8 && rate >= kMinRate && rate <= kMaxRate
                           ? SDL_NewAudioStream(format, static_cast<Uint8>(channels), rate, AUDIO_S16SYS, 2, kMixRate)
                           : nullptr;
  if (!s) {
    error = "an unusable sample format (" + std::to_string(channels) + " channels at " + std::to_string(rate) + " Hz)";
    return nullptr;
  }
  return std::unique_ptr<TSoundConverter>(
      new TSoundConverter(s, SDL_AUDIO_BITSIZE(format) / 8 * channels, rate != kMixRate));
}

TSoundConverter::~TSoundConverter() { SDL_FreeAudioStream(stream_); }

void TSoundConverter::Put(const void* data, int32_t bytes) {
  if (bytes > 0) SDL_AudioStreamPut(stream_, data, bytes);
}

void TSoundConverter::Flush() {
  // The resampler lets its held-back end out only when a part of an input
  // block is waiting: one frame of silence makes sure one is.
  const uint8_t silence[64] = {};
  if (resampling_) SDL_AudioStreamPut(stream_, silence, std::min<int32_t>(frameBytes_, sizeof silence));
  SDL_AudioStreamFlush(stream_);
}

void TSoundConverter::Clear() { SDL_AudioStreamClear(stream_); }

int32_t TSoundConverter::Available() const { return SDL_AudioStreamAvailable(stream_) / kOutFrameBytes; }

int32_t TSoundConverter::Get(int16_t* out, int32_t frames) {
  if (frames <= 0) return 0;
  const int got = SDL_AudioStreamGet(stream_, out, frames * kOutFrameBytes);
  return got > 0 ? got / kOutFrameBytes : 0;
}

// --- OGG streams -----------------------------------------------------------

struct TSoundStream::TVorbis {
  OggVorbis_File File;
  int Link = -1;
  ~TVorbis() { ov_clear(&File); }
};

std::unique_ptr<TSoundStream> TSoundStream::Open(const std::string& path, std::string& error) {
  std::unique_ptr<TSoundStream> s(new TSoundStream);
  auto vorbis = std::make_unique<TVorbis>();
  if (const int rc = ov_fopen(path.c_str(), &vorbis->File); rc != 0) {
    error = rc == OV_EREAD ? std::string(std::strerror(errno)) : VorbisError(rc);
    return nullptr;
  }
  s->vorbis_ = std::move(vorbis);
  const vorbis_info* vi = ov_info(&s->vorbis_->File, -1);
  if (!vi) {
    error = VorbisError(OV_EBADHEADER);
    return nullptr;
  }
  const ogg_int64_t total = ov_pcm_total(&s->vorbis_->File, -1);
  s->info_ = {static_cast<int32_t>(vi->rate), vi->channels, total > 0 ? total : 0};
  s->converter_ = TSoundConverter::Create(AUDIO_S16SYS, vi->channels, static_cast<int32_t>(vi->rate), error);
  if (!s->converter_) return nullptr;
  return s;
}

TSoundStream::~TSoundStream() = default;

// One read of the decoder into the converter; false at the end of the data.
// A chained file whose later part changes the channel count or rate ends
// there: one converter serves one format.
bool TSoundStream::DecodeMore() {
  char buffer[kDecodeBytes];
  for (int holes = 0; holes < 64; ++holes) {
    int link = 0;
    const long got = ov_read(&vorbis_->File, buffer, sizeof buffer, SDL_BYTEORDER == SDL_BIG_ENDIAN, 2, 1, &link);
    if (got == OV_HOLE) continue;
    if (got <= 0) return false;
    if (link != vorbis_->Link) {
      const vorbis_info* vi = ov_info(&vorbis_->File, link);
      if (!vi || vi->channels != info_.Channels || vi->rate != info_.Rate) return false;
      vorbis_->Link = link;
    }
    converter_->Put(buffer, static_cast<int32_t>(got));
    return true;
  }
  return false;
}

int32_t TSoundStream::Read(int16_t* out, int32_t frames) {
  int32_t done = 0;
  while (done < frames) {
    const int32_t got = converter_->Get(out + 2 * done, frames - done);
    done += got;
    if (done == frames || (got == 0 && ended_ && converter_->Available() == 0)) break;
    if (got == 0 && !ended_ && !DecodeMore()) {
      converter_->Flush();
      ended_ = true;
    }
  }
  return done;
}

void TSoundStream::Seek(int64_t frame) {
  converter_->Clear();
  frame = std::clamp<int64_t>(frame, 0, info_.Frames);
  // A seek that fails leaves the stream at its end, silent, rather than
  // playing from a wrong place.
  ended_ = frame >= info_.Frames || ov_pcm_seek(&vorbis_->File, frame) != 0;
}

// --- whole files -----------------------------------------------------------

namespace {

// The converter's output runs a few frames past the file's end after the
// flush; the sample keeps the length the file states.
void TrimToLength(TSoundFile& file) {
  const int64_t frames = (file.Info.Frames * kMixRate + file.Info.Rate - 1) / std::max(1, file.Info.Rate);
  if (file.Pcm.size() > 2 * static_cast<size_t>(frames)) file.Pcm.resize(2 * static_cast<size_t>(frames));
}

}  // namespace

bool LoadSoundFile(const std::string& path, double streamAboveSeconds, TSoundFile& file, std::string& error) {
  file = TSoundFile();
  const std::string magic = Magic(path, error);
  if (!error.empty()) return false;
  if (magic == "RIFF") {
    if (!LoadWav(path, file, error)) return false;
    TrimToLength(file);
    return true;
  }
  if (magic != "OggS") {
    error = "neither an OGG nor a WAV file";
    return false;
  }
  std::unique_ptr<TSoundStream> stream = TSoundStream::Open(path, error);
  if (!stream) return false;
  file.Info = stream->Info();
  if (file.Info.Frames > static_cast<int64_t>(streamAboveSeconds * file.Info.Rate)) {
    file.Streamed = true;
    return true;
  }
  const int64_t expected = file.Info.Frames * kMixRate / std::max(1, file.Info.Rate) + 1024;
  file.Pcm.reserve(2 * static_cast<size_t>(std::min(expected, kReserveLimit)));
  int16_t piece[2 * 4096];
  // Never past the length the file states, whatever its pages go on to hold.
  while (file.Pcm.size() / 2 < static_cast<size_t>(expected)) {
    const int32_t got = stream->Read(piece, 4096);
    if (got == 0) break;
    file.Pcm.insert(file.Pcm.end(), piece, piece + 2 * got);
  }
  TrimToLength(file);
  return true;
}
