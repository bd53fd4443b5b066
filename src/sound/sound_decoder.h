// Sound files as the mixer wants them: interleaved 16-bit stereo at the
// output rate, whatever the file holds. OGG Vorbis goes through vorbisfile,
// WAV through SDL's loader, and every format and rate change through one
// converter. Private to src/sound.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _SDL_AudioStream;

// Format and rate conversion of interleaved samples to 16-bit stereo at
// kMixRate, fed in pieces and drained in pieces. `format` is an SDL audio
// format code.
class TSoundConverter {
 public:
  // Null (and `error` set) when the format cannot be converted.
  static std::unique_ptr<TSoundConverter> Create(uint16_t format, int32_t channels, int32_t rate, std::string& error);
  ~TSoundConverter();
  TSoundConverter(const TSoundConverter&) = delete;
  TSoundConverter& operator=(const TSoundConverter&) = delete;

  void Put(const void* data, int32_t bytes);
  // Ends the input: what the resampler still holds becomes available.
  void Flush();
  void Clear();
  // Output frames ready to be taken.
  int32_t Available() const;
  // Takes up to `frames` output frames; the number taken.
  int32_t Get(int16_t* out, int32_t frames);

 private:
  TSoundConverter(_SDL_AudioStream* stream, int32_t frameBytes, bool resampling)
      : stream_(stream), frameBytes_(frameBytes), resampling_(resampling) {}
  _SDL_AudioStream* stream_;
  int32_t frameBytes_;  // one input frame
  bool resampling_;
};

// What a file holds, in its own frames.
struct TSoundFileInfo {
  int32_t Rate = 0;
  int32_t Channels = 0;
  int64_t Frames = 0;
};

// A loaded file: decoded into `Pcm` (interleaved stereo at kMixRate) when
// short, or only looked at when it is an OGG file longer than the limit, to
// be read by a TSoundStream per playing channel. OGG and WAV are told apart
// by their first bytes, not by the name.
struct TSoundFile {
  TSoundFileInfo Info;
  bool Streamed = false;
  std::vector<int16_t> Pcm;
};

// False with `error` set (why, without the path) when the file cannot be
// read or decoded.
bool LoadSoundFile(const std::string& path, double streamAboveSeconds, TSoundFile& file, std::string& error);

// An OGG file decoded a piece at a time as it plays; each playing channel
// has its own, since each reads at its own place.
class TSoundStream {
 public:
  static std::unique_ptr<TSoundStream> Open(const std::string& path, std::string& error);
  ~TSoundStream();
  TSoundStream(const TSoundStream&) = delete;
  TSoundStream& operator=(const TSoundStream&) = delete;

  // Up to `frames` converted frames; fewer only at the end of the file.
  int32_t Read(int16_t* out, int32_t frames);
  // Moves to a frame of the file (clamped to its length).
  void Seek(int64_t frame);
  const TSoundFileInfo& Info() const { return info_; }

 private:
  TSoundStream() = default;
  bool DecodeMore();

  struct TVorbis;
  std::unique_ptr<TVorbis> vorbis_;
  std::unique_ptr<TSoundConverter> converter_;
  TSoundFileInfo info_;
  bool ended_ = false;
};
