// Video files decoded with FFmpeg's libraries: any container and codec they
// read. Pictures come out as RGBA scaled into the 800x600 picture with their
// aspect kept; sound comes out as 16-bit stereo at kVideoSoundRate. No
// drawing and no sound output here: the player above feeds both on.
//
// Facts a newcomer needs:
// - Reading is pulled one packet at a time (ReadPacket), so the caller decides
//   how far ahead of the clock it decodes; pictures wait undecoded-to-RGBA in
//   a small queue until taken, so skipped ones cost no conversion.
// - Probing is bounded (bytes and stream time read before the streams are
//   known), so a hostile or damaged file costs at most a fraction of a second
//   to open; pictures above kVideoMaxPixels are refused.
// - A picture that fails to decode ends the file there (Failed); sound that
//   fails to decode only silences the rest of it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

constexpr int32_t kVideoSoundRate = 44100;
constexpr int64_t kVideoMaxPixels = 4096 * 4096;

// The size a picture of `width` x `height` pixels (each `pixelAspect` wide
// against its height) is shown at inside `boxWidth` x `boxHeight`: as large
// as fits, aspect kept, width rounded to a multiple of 4 and height to a
// multiple of 2, never below 4 x 2.
void FitVideoPicture(int32_t width, int32_t height, double pixelAspect, int32_t boxWidth, int32_t boxHeight,
                     int32_t& outWidth, int32_t& outHeight);

class TVideoDecoder {
 public:
  TVideoDecoder();
  ~TVideoDecoder();
  TVideoDecoder(const TVideoDecoder&) = delete;
  TVideoDecoder& operator=(const TVideoDecoder&) = delete;

  // Opens a regular file (or bytes held by the caller, which must outlive the
  // decoder); false with a reason in `error` when it cannot be opened or has
  // no video stream that can be decoded.
  bool Open(const std::filesystem::path& file, std::string& error);
  bool OpenMemory(std::span<const uint8_t> bytes, std::string& error);

  // The shown size inside 800x600 (see FitVideoPicture).
  int32_t PictureWidth() const;
  int32_t PictureHeight() const;
  // True while the file has sound that decodes.
  bool HasSound() const;
  // Milliseconds a picture lasts at the stream's nominal rate (40 when unknown).
  double FrameDurationMs() const;

  // Reads and decodes one packet; at the end of the file drains the decoders.
  // False once nothing more will come (the end, or a picture decoding error).
  bool ReadPacket();
  bool Finished() const;
  // The reason decoding of pictures stopped early; empty when it did not.
  const std::string& Error() const;

  // Decoded pictures waiting, oldest first, with their times in milliseconds
  // from the start of the file.
  size_t QueuedPictures() const;
  double PictureTimeMs(size_t index) const;
  // Converts the oldest picture into `rgba` (PictureWidth x PictureHeight x 4
  // bytes, top row first, alpha 255) and drops it.
  void TakePicture(std::vector<uint8_t>& rgba);
  void DropPicture();

  // Sound decoded so far and not yet taken: interleaved stereo frames.
  std::vector<int16_t>& Sound();
  // Time in milliseconds of the first sound frame, from the start of the file.
  double SoundStartMs() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
