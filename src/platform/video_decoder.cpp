#include "platform/video_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <system_error>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace {

// Enough for every container's header and the first packets of each stream;
// a file that needs more to show its streams is not worth the wait.
constexpr int64_t kProbeBytes = 1 << 20;
constexpr int64_t kAnalyzeMicroseconds = 2 * AV_TIME_BASE;
constexpr size_t kMemoryBlock = 16 * 1024;

std::string AvErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

struct TMemorySource {
  std::span<const uint8_t> Bytes;
  size_t At = 0;
};

int ReadMemory(void* opaque, uint8_t* buf, int size) {
  auto* src = static_cast<TMemorySource*>(opaque);
  const size_t left = src->Bytes.size() - src->At;
  const size_t n = std::min(left, static_cast<size_t>(size));
  if (n == 0) return AVERROR_EOF;
  std::memcpy(buf, src->Bytes.data() + src->At, n);
  src->At += n;
  return static_cast<int>(n);
}

int64_t SeekMemory(void* opaque, int64_t offset, int whence) {
  auto* src = static_cast<TMemorySource*>(opaque);
  const auto size = static_cast<int64_t>(src->Bytes.size());
  if (whence & AVSEEK_SIZE) return size;
  int64_t base = 0;
  switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<int64_t>(src->At); break;
    case SEEK_END: base = size; break;
    default: return -1;
  }
  if (offset > size - base || offset < -base) return -1;
  src->At = static_cast<size_t>(base + offset);
  return static_cast<int64_t>(src->At);
}

}  // namespace

void FitVideoPicture(int32_t width, int32_t height, double pixelAspect, int32_t boxWidth, int32_t boxHeight,
                     int32_t& outWidth, int32_t& outHeight) {
  if (!(pixelAspect > 0) || !std::isfinite(pixelAspect)) pixelAspect = 1;
  const double shownWidth = std::max(1, width) * pixelAspect;
  const double shownHeight = std::max(1, height);
  const double scale = std::min(boxWidth / shownWidth, boxHeight / shownHeight);
  outWidth = static_cast<int32_t>(std::lround(shownWidth * scale / 4)) * 4;
  outHeight = static_cast<int32_t>(std::lround(shownHeight * scale / 2)) * 2;
  outWidth = std::clamp(outWidth, 4, std::max(4, boxWidth - boxWidth % 4));
  outHeight = std::clamp(outHeight, 2, std::max(2, boxHeight - boxHeight % 2));
}

struct TVideoDecoder::Impl {
  TMemorySource Memory;
  AVIOContext* Io = nullptr;
  AVFormatContext* Format = nullptr;
  AVCodecContext* Video = nullptr;
  AVCodecContext* Audio = nullptr;
  SwsContext* Scaler = nullptr;
  SwrContext* Resampler = nullptr;
  AVPacket* Packet = nullptr;
  AVFrame* Decoded = nullptr;
  int VideoIndex = -1;
  int AudioIndex = -1;
  int32_t Width = 4, Height = 2;
  double FrameMs = 40;
  bool Eof = false;
  bool Done = false;
  std::string Failure;

  struct TPicture {
    AVFrame* Frame;
    double TimeMs;
  };
  std::deque<TPicture> Pictures;
  double LastPictureMs = -1;

  std::vector<int16_t> Sound;
  double SoundStart = -1;

  ~Impl() {
    for (TPicture& p : Pictures) av_frame_free(&p.Frame);
    av_frame_free(&Decoded);
    av_packet_free(&Packet);
    sws_freeContext(Scaler);
    swr_free(&Resampler);
    avcodec_free_context(&Video);
    avcodec_free_context(&Audio);
    avformat_close_input(&Format);
    if (Io) {
      av_freep(&Io->buffer);
      avio_context_free(&Io);
    }
  }

  // Milliseconds from the start of the file for a time in the stream's base.
  double StreamMs(int stream, int64_t ts) const {
    const AVStream* st = Format->streams[stream];
    const int64_t start = st->start_time == AV_NOPTS_VALUE ? 0 : st->start_time;
    return static_cast<double>(ts - start) * av_q2d(st->time_base) * 1000.0;
  }

  bool OpenStreams(std::string& error) {
    Format->probesize = kProbeBytes;
    Format->format_probesize = static_cast<int>(kProbeBytes);
    Format->max_analyze_duration = kAnalyzeMicroseconds;
    AVDictionary* options = nullptr;
    // Pictures of any size would let one bad header ask for gigabytes.
    av_dict_set_int(&options, "max_pixels", kVideoMaxPixels, 0);
    const int found = avformat_find_stream_info(Format, nullptr);
    if (found < 0) {
      av_dict_free(&options);
      error = "cannot read its streams (" + AvErrorText(found) + ")";
      return false;
    }
    const AVCodec* videoCodec = nullptr;
    VideoIndex = av_find_best_stream(Format, AVMEDIA_TYPE_VIDEO, -1, -1, &videoCodec, 0);
    if (VideoIndex < 0 || !videoCodec) {
      av_dict_free(&options);
      error = "no decodable video stream";
      return false;
    }
    const AVStream* vs = Format->streams[VideoIndex];
    Video = OpenCodec(vs, videoCodec, options);
    av_dict_free(&options);
    if (!Video || Video->width <= 0 || Video->height <= 0 ||
        static_cast<int64_t>(Video->width) * Video->height > kVideoMaxPixels) {
      error = "no decodable video stream";
      return false;
    }
    const AVRational sar = av_guess_sample_aspect_ratio(Format, const_cast<AVStream*>(vs), nullptr);
    FitVideoPicture(Video->width, Video->height, sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0, 800, 600, Width,
                    Height);
    const AVRational rate = av_guess_frame_rate(Format, const_cast<AVStream*>(vs), nullptr);
    if (rate.num > 0 && rate.den > 0 && av_q2d(rate) >= 1 && av_q2d(rate) <= 240) FrameMs = 1000.0 / av_q2d(rate);

    const AVCodec* audioCodec = nullptr;
    AudioIndex = av_find_best_stream(Format, AVMEDIA_TYPE_AUDIO, -1, VideoIndex, &audioCodec, 0);
    if (AudioIndex >= 0 && audioCodec) Audio = OpenCodec(Format->streams[AudioIndex], audioCodec, nullptr);
    if (Audio && !OpenResampler()) avcodec_free_context(&Audio);
    if (!Audio) AudioIndex = -1;

    Packet = av_packet_alloc();
    Decoded = av_frame_alloc();
    if (!Packet || !Decoded) {
      error = "out of memory";
      return false;
    }
    return true;
  }

  static AVCodecContext* OpenCodec(const AVStream* stream, const AVCodec* codec, AVDictionary* options) {
    AVCodecContext* ctx = avcodec_alloc_context3(codec);
    if (!ctx) return nullptr;
    AVDictionary* copy = nullptr;
    av_dict_copy(&copy, options, 0);
    // One thread: the game's frame needs one picture at a time, and decoding
    // stays on the game's thread.
    ctx->thread_count = 1;
    const bool ok = avcodec_parameters_to_context(ctx, stream->codecpar) >= 0 && avcodec_open2(ctx, codec, &copy) >= 0;
    av_dict_free(&copy);
    if (!ok) avcodec_free_context(&ctx);
    return ctx;
  }

  bool OpenResampler() {
    if (Audio->sample_rate <= 0 || Audio->sample_rate > 768000 || Audio->ch_layout.nb_channels <= 0) return false;
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    if (Audio->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
      const int channels = Audio->ch_layout.nb_channels;
      av_channel_layout_uninit(&Audio->ch_layout);
      av_channel_layout_default(&Audio->ch_layout, channels);
    }
    if (swr_alloc_set_opts2(&Resampler, &stereo, AV_SAMPLE_FMT_S16, kVideoSoundRate, &Audio->ch_layout,
                            Audio->sample_fmt, Audio->sample_rate, 0, nullptr) < 0)
      return false;
    return swr_init(Resampler) >= 0;
  }

  // Takes every frame the video decoder has ready; false on a decoding error.
  bool ReceivePictures() {
    for (;;) {
      const int r = avcodec_receive_frame(Video, Decoded);
      if (r == AVERROR(EAGAIN)) return true;
      if (r == AVERROR_EOF) {
        Done = true;
        return true;
      }
      if (r < 0) return Fail("a picture does not decode (" + AvErrorText(r) + ")");
      if (Decoded->width <= 0 || Decoded->height <= 0 ||
          static_cast<int64_t>(Decoded->width) * Decoded->height > kVideoMaxPixels)
        return Fail("a picture has an impossible size");
      const int64_t ts = Decoded->best_effort_timestamp;
      double ms = ts == AV_NOPTS_VALUE ? LastPictureMs + FrameMs : StreamMs(VideoIndex, ts);
      // Times that go backwards or are absurd follow the previous picture.
      if (!std::isfinite(ms) || ms < LastPictureMs || ms > LastPictureMs + 3600e3) ms = LastPictureMs + FrameMs;
      if (ms < 0) ms = 0;
      LastPictureMs = ms;
      AVFrame* kept = av_frame_alloc();
      if (!kept) return Fail("out of memory");
      av_frame_move_ref(kept, Decoded);
      Pictures.push_back({kept, ms});
    }
  }

  void ReceiveSound() {
    for (;;) {
      const int r = avcodec_receive_frame(Audio, Decoded);
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return;
      if (r < 0) return DropSound();
      // The resampler was set up for the first frames' layout; a stream that
      // changes it midway goes on without sound rather than misread.
      if (Decoded->ch_layout.nb_channels != Audio->ch_layout.nb_channels || Decoded->format != Audio->sample_fmt ||
          Decoded->sample_rate != Audio->sample_rate)
        return DropSound();
      if (SoundStart < 0) {
        const int64_t ts = Decoded->best_effort_timestamp;
        const double ms = ts == AV_NOPTS_VALUE ? 0 : StreamMs(AudioIndex, ts);
        SoundStart = std::isfinite(ms) && ms > 0 && ms < 3600e3 ? ms : 0;
      }
      const int room = swr_get_out_samples(Resampler, Decoded->nb_samples);
      if (room < 0) return DropSound();
      const size_t at = Sound.size();
      Sound.resize(at + static_cast<size_t>(room) * 2);
      uint8_t* out = reinterpret_cast<uint8_t*>(Sound.data() + at);
      const int got = swr_convert(Resampler, &out, room, const_cast<const uint8_t**>(Decoded->extended_data),
                                  Decoded->nb_samples);
      av_frame_unref(Decoded);
      if (got < 0) return DropSound();
      Sound.resize(at + static_cast<size_t>(got) * 2);
    }
  }

  void DropSound() {
    av_frame_unref(Decoded);
    avcodec_free_context(&Audio);
    AudioIndex = -1;
  }

  bool Fail(const std::string& why) {
    Failure = why;
    Done = true;
    return false;
  }

  bool ReadPacket() {
    if (Done) return false;
    if (!Eof) {
      const int r = av_read_frame(Format, Packet);
      if (r < 0) {
        Eof = true;
        avcodec_send_packet(Video, nullptr);
        if (Audio) avcodec_send_packet(Audio, nullptr);
      } else if (Packet->stream_index == VideoIndex) {
        const int sent = avcodec_send_packet(Video, Packet);
        av_packet_unref(Packet);
        if (sent < 0 && sent != AVERROR(EAGAIN)) return Fail("a picture does not decode (" + AvErrorText(sent) + ")");
      } else if (Packet->stream_index == AudioIndex && Audio) {
        if (avcodec_send_packet(Audio, Packet) < 0 && Audio) DropSound();
        av_packet_unref(Packet);
      } else {
        av_packet_unref(Packet);
      }
    }
    if (Audio) ReceiveSound();
    if (!ReceivePictures()) return false;
    return !Done;
  }
};

TVideoDecoder::TVideoDecoder() : impl_(std::make_unique<Impl>()) {}
TVideoDecoder::~TVideoDecoder() = default;

namespace {
// FFmpeg's own messages would bury the one warning line a bad file gets.
void Quieten() { av_log_set_level(AV_LOG_QUIET); }
}  // namespace

bool TVideoDecoder::Open(const std::filesystem::path& file, std::string& error) {
  Quieten();
  impl_ = std::make_unique<Impl>();
  std::error_code ec;
  // Only regular files: a pipe or device could block the game forever.
  if (!std::filesystem::is_regular_file(file, ec)) {
    error = std::filesystem::exists(file, ec) ? "not a regular file" : "no such file";
    return false;
  }
  impl_->Format = avformat_alloc_context();
  if (!impl_->Format) {
    error = "out of memory";
    return false;
  }
  impl_->Format->probesize = kProbeBytes;
  impl_->Format->format_probesize = static_cast<int>(kProbeBytes);
  const int r = avformat_open_input(&impl_->Format, file.c_str(), nullptr, nullptr);
  if (r < 0) {
    error = "cannot be opened (" + AvErrorText(r) + ")";
    return false;
  }
  return impl_->OpenStreams(error);
}

bool TVideoDecoder::OpenMemory(std::span<const uint8_t> bytes, std::string& error) {
  Quieten();
  impl_ = std::make_unique<Impl>();
  impl_->Memory.Bytes = bytes;
  auto* buffer = static_cast<uint8_t*>(av_malloc(kMemoryBlock));
  impl_->Format = avformat_alloc_context();
  if (buffer) impl_->Io = avio_alloc_context(buffer, kMemoryBlock, 0, &impl_->Memory, ReadMemory, nullptr, SeekMemory);
  if (!impl_->Io) av_free(buffer);
  if (!impl_->Format || !impl_->Io) {
    error = "out of memory";
    return false;
  }
  impl_->Format->pb = impl_->Io;
  impl_->Format->probesize = kProbeBytes;
  impl_->Format->format_probesize = static_cast<int>(kProbeBytes);
  const int r = avformat_open_input(&impl_->Format, nullptr, nullptr, nullptr);
  if (r < 0) {
    error = "cannot be opened (" + AvErrorText(r) + ")";
    return false;
  }
  return impl_->OpenStreams(error);
}

int32_t TVideoDecoder::PictureWidth() const { return impl_->Width; }
int32_t TVideoDecoder::PictureHeight() const { return impl_->Height; }
bool TVideoDecoder::HasSound() const { return impl_->Audio != nullptr; }
double TVideoDecoder::FrameDurationMs() const { return impl_->FrameMs; }
bool TVideoDecoder::ReadPacket() { return impl_->Video && impl_->Packet && impl_->ReadPacket(); }
bool TVideoDecoder::Finished() const { return !impl_->Video || !impl_->Packet || impl_->Done; }
const std::string& TVideoDecoder::Error() const { return impl_->Failure; }
size_t TVideoDecoder::QueuedPictures() const { return impl_->Pictures.size(); }
double TVideoDecoder::PictureTimeMs(size_t index) const { return impl_->Pictures[index].TimeMs; }

void TVideoDecoder::DropPicture() {
  if (impl_->Pictures.empty()) return;
  av_frame_free(&impl_->Pictures.front().Frame);
  impl_->Pictures.pop_front();
}

void TVideoDecoder::TakePicture(std::vector<uint8_t>& rgba) {
  if (impl_->Pictures.empty()) return;
  Impl& d = *impl_;
  const AVFrame* f = d.Pictures.front().Frame;
  rgba.resize(static_cast<size_t>(d.Width) * static_cast<size_t>(d.Height) * 4);
  d.Scaler = sws_getCachedContext(d.Scaler, f->width, f->height, static_cast<AVPixelFormat>(f->format), d.Width,
                                  d.Height, AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
  uint8_t* dst[4] = {rgba.data(), nullptr, nullptr, nullptr};
  int dstStride[4] = {d.Width * 4, 0, 0, 0};
  if (!d.Scaler || sws_scale(d.Scaler, f->data, f->linesize, 0, f->height, dst, dstStride) <= 0)
    std::fill(rgba.begin(), rgba.end(), uint8_t{0});
  // Formats with alpha would otherwise let the cleared screen show through.
  for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
  DropPicture();
}

std::vector<int16_t>& TVideoDecoder::Sound() { return impl_->Sound; }
double TVideoDecoder::SoundStartMs() const { return impl_->SoundStart > 0 ? impl_->SoundStart : 0; }
