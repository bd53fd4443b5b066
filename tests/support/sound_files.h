// Sound files made in a test: WAV bytes by hand, OGG Vorbis through the
// encoder library where the build has it (QVX_HAVE_VORBISENC).
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

#ifdef QVX_HAVE_VORBISENC
#include <vorbis/vorbisenc.h>
#endif

// The sample value of one channel at a frame.
using TWave = std::function<int16_t(int64_t frame, int channel)>;

inline std::string LittleEndian(uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s += static_cast<char>(v >> (8 * i));
  return s;
}

inline std::string WavBytes(int rate, int channels, int64_t frames, const TWave& wave) {
  std::string data;
  for (int64_t f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) data += LittleEndian(static_cast<uint16_t>(wave(f, c)), 2);
  return "RIFF" + LittleEndian(36 + data.size(), 4) + "WAVEfmt " + LittleEndian(16, 4) + LittleEndian(1, 2) +
         LittleEndian(channels, 2) + LittleEndian(rate, 4) + LittleEndian(rate * channels * 2, 4) +
         LittleEndian(channels * 2, 2) + LittleEndian(16, 2) + "data" + LittleEndian(data.size(), 4) + data;
}

#ifdef QVX_HAVE_VORBISENC
inline std::string OggBytes(int rate, int channels, int64_t frames, const TWave& wave) {
  std::string out;
  vorbis_info vi;
  vorbis_info_init(&vi);
  vorbis_encode_init_vbr(&vi, channels, rate, 0.3f);
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block vb;
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 1);
  ogg_packet head, comm, code, op;
  ogg_page og;
  vorbis_analysis_headerout(&vd, &vc, &head, &comm, &code);
  for (ogg_packet* p : {&head, &comm, &code}) ogg_stream_packetin(&os, p);
  auto page = [&] {
    out.append(reinterpret_cast<char*>(og.header), og.header_len).append(reinterpret_cast<char*>(og.body), og.body_len);
  };
  while (ogg_stream_flush(&os, &og)) page();
  // A last call with 0 frames ends the stream, flushing its final block.
  for (int64_t at = 0;; at += 4096) {
    const int n = static_cast<int>(std::clamp<int64_t>(frames - at, 0, 4096));
    if (n > 0) {
      float** buf = vorbis_analysis_buffer(&vd, n);
      for (int i = 0; i < n; ++i)
        for (int c = 0; c < channels; ++c) buf[c][i] = static_cast<float>(wave(at + i, c)) / 32768.0f;
    }
    vorbis_analysis_wrote(&vd, n);
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        while (ogg_stream_pageout(&os, &og)) page();
      }
    }
    if (n == 0) break;
  }
  while (ogg_stream_flush(&os, &og)) page();
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}
#endif
