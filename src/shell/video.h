// The video player of the game window: one file at a time, its pictures drawn
// as one sprite letterboxed into the 800x600 picture (its own small scene
// tree, which the shell draws instead of the game's while a video plays), its
// sound fed to a stream channel of the sound library.
//
// Facts a newcomer needs:
// - The player is advanced by the shell's frame time. Where the file has
//   sound and the library plays it, the sound's played time sets the clock
//   each time it moves; between those moves (and without sound) the frame
//   time does. The driver mode's fixed frames thus step videos exactly.
// - Its play state and position are kept in the scene record
//   (VideoPlayState, VideoPositionMs) with the states 0 undefined, 1 stopped,
//   2 paused, 3 playing, 8 media ended, which the watch step reads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/video_decoder.h"
#include "render/materials.h"
#include "render/nodes.h"
#include "state/scene_state.h"

enum : int32_t {
  kPlayUndefined = 0,
  kPlayStopped = 1,
  kPlayPaused = 2,
  kPlayPlaying = 3,
  kPlayEnded = 8,
};

struct TVideoPlayer {
  // The library outlives the scene whose sprite uses it.
  TGLMaterialLibrary Library;
  TGLScene Picture;
  THUDSprite* Sprite = nullptr;
  std::unique_ptr<TVideoDecoder> Decoder;
  int32_t Stream = 0;      // sound library stream channel, 0 when silent
  double ClockMs = 0;      // the play position
  int32_t HeardMs = -1;    // the stream's played time when the clock last took it
  int64_t PushedFrames = 0;  // sound frames handed to the stream
  double ShownMs = -1;     // time of the picture on screen, -1 before the first
  std::string ShownName;   // for warning lines
};

TVideoPlayer& EnsureVideoPlayer(std::unique_ptr<TVideoPlayer>& player);

// Starts playing `file` (named `shownName` in warnings); a file that cannot be
// played leaves the state undefined (0) after one warning line.
void VideoPlayerOpen(TVideoPlayer& player, TqvxScene& scene, const std::filesystem::path& file,
                     const std::string& shownName);
// Moves the play position on by `seconds`, decoding what that needs and
// showing the picture due; at the end of the file the state becomes 8 (or 1
// after a decoding error, with a warning line).
void VideoPlayerAdvance(TVideoPlayer& player, TqvxScene& scene, double seconds);
// Stops the sound and frees the file; the state becomes stopped (1) when a
// file was open.
void VideoPlayerStop(TVideoPlayer& player, TqvxScene& scene);
