#include "shell/video.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sound/sound_library.h"

namespace {

// Sound is decoded this far ahead of the clock so the stream never runs dry
// between two frames.
constexpr double kSoundAheadMs = 300;
// Pictures decoded but not yet due: enough to get past a stretch of sound
// packets, small enough to stay a few megabytes.
constexpr size_t kMaxQueuedPictures = 16;
// Packets read in one advance at most: a file of nothing but unwanted
// packets is read over several frames rather than in one long stall.
constexpr int kMaxPacketsPerAdvance = 4000;

const char* const kPictureMaterial = "video";

void Warn(const TVideoPlayer& player, const std::string& why) {
  std::fprintf(stderr, "ovgame: warning: video \"%s\": %s\n", player.ShownName.c_str(), why.c_str());
}

void SetState(TqvxScene& scene, int32_t state) { scene.VideoPlayState = state; }

// Hands the decoded sound to the stream; without one it is dropped.
void PushSound(TVideoPlayer& p) {
  std::vector<int16_t>& sound = p.Decoder->Sound();
  const auto frames = static_cast<int32_t>(sound.size() / 2);
  if (frames > 0 && p.Stream) {
    StreamPush(p.Stream, sound.data(), frames);
    p.PushedFrames += frames;
  }
  sound.clear();
}

// The time up to which the stream has been given sound.
double PushedMs(const TVideoPlayer& p) {
  return p.Decoder->SoundStartMs() + static_cast<double>(p.PushedFrames) * 1000.0 / kVideoSoundRate;
}

void ShowPicture(TVideoPlayer& p) {
  TGLLibMaterial& m = p.Library.At(0);
  m.Image.Width = p.Decoder->PictureWidth();
  m.Image.Height = p.Decoder->PictureHeight();
  m.Image.Bits = 32;
  p.ShownMs = p.Decoder->PictureTimeMs(0);
  p.Decoder->TakePicture(m.Image.Pixels);
  m.TextureDirty = true;
  p.Sprite->SetSize(static_cast<float>(m.Image.Width), static_cast<float>(m.Image.Height));
  p.Sprite->Visible = true;
}

}  // namespace

TVideoPlayer& EnsureVideoPlayer(std::unique_ptr<TVideoPlayer>& player) {
  if (player) return *player;
  player = std::make_unique<TVideoPlayer>();
  TGLLibMaterial m;
  m.Name = kPictureMaterial;
  m.TextureFormat = tfRGB;
  // Drawn at its own size in the game picture: no mipmaps to build per frame.
  m.MinFilter = miNearest;
  m.MagFilter = maLinear;
  player->Library.Add(std::move(m));
  player->Sprite = player->Picture.Root().AddNewChild<THUDSprite>();
  player->Sprite->SetMaterial(&player->Library, kPictureMaterial);
  player->Sprite->PositionX = 400;
  player->Sprite->PositionY = 300;
  player->Sprite->Visible = false;
  return *player;
}

void VideoPlayerOpen(TVideoPlayer& p, TqvxScene& scene, const std::filesystem::path& file,
                     const std::string& shownName) {
  VideoPlayerStop(p, scene);
  SetState(scene, kPlayUndefined);
  scene.VideoPositionMs = 0;
  p.ShownName = shownName;
  p.ClockMs = 0;
  p.HeardMs = -1;
  p.ShownMs = -1;
  p.Sprite->Visible = false;
  p.Decoder = std::make_unique<TVideoDecoder>();
  std::string error;
  if (!p.Decoder->Open(file, error)) {
    Warn(p, error);
    p.Decoder.reset();
    return;
  }
  if (p.Decoder->HasSound()) {
    p.Stream = StreamOpen(kVideoSoundRate, 2);
    ChannelSetVolume(p.Stream, scene.Sound.SoundVolume);
  }
  SetState(scene, kPlayPlaying);
  VideoPlayerAdvance(p, scene, 0);
}

void VideoPlayerAdvance(TVideoPlayer& p, TqvxScene& scene, double seconds) {
  if (scene.VideoPlayState != kPlayPlaying || !p.Decoder) return;
  TVideoDecoder& d = *p.Decoder;
  p.ClockMs += std::max(0.0, seconds) * 1000.0;
  if (p.Stream) {
    const int32_t heard = StreamPlayedMs(p.Stream);
    if (heard != p.HeardMs && heard > 0) p.ClockMs = std::max(p.ClockMs, d.SoundStartMs() + heard);
    p.HeardMs = heard;
  }
  auto needPictures = [&] {
    const size_t n = d.QueuedPictures();
    return n == 0 || d.PictureTimeMs(n - 1) <= p.ClockMs;
  };
  auto needSound = [&] { return p.Stream && d.HasSound() && PushedMs(p) < p.ClockMs + kSoundAheadMs; };
  for (int read = 0; read < kMaxPacketsPerAdvance && !d.Finished(); ++read) {
    if (d.QueuedPictures() >= kMaxQueuedPictures || !(needPictures() || needSound())) break;
    d.ReadPacket();
    PushSound(p);
  }
  // Pictures that came due together: only the last of them is converted.
  while (d.QueuedPictures() >= 2 && d.PictureTimeMs(1) <= p.ClockMs) d.DropPicture();
  if (d.QueuedPictures() >= 1 && d.PictureTimeMs(0) <= p.ClockMs) ShowPicture(p);
  scene.VideoPositionMs = static_cast<int32_t>(std::min(p.ClockMs, 2e9));

  const bool soundDone = !p.Stream || PushedMs(p) <= p.ClockMs;
  if (d.Finished() && d.QueuedPictures() == 0 && soundDone && p.ClockMs >= p.ShownMs + d.FrameDurationMs()) {
    if (!d.Error().empty()) Warn(p, "stopped: " + d.Error());
    SetState(scene, d.Error().empty() ? kPlayEnded : kPlayStopped);
  }
}

void VideoPlayerStop(TVideoPlayer& p, TqvxScene& scene) {
  if (p.Stream) ChannelStop(p.Stream);
  p.Stream = 0;
  p.PushedFrames = 0;
  if (p.Decoder) SetState(scene, kPlayStopped);
  p.Decoder.reset();
}
