// The sound library: samples (decoded or streamed sound files) and channels
// (one playing instance of a sample) addressed by plain integer handles, the
// way the sound manager and the music use them. A zero, stale or unknown
// handle is always harmless: setters ignore it, getters give 0.
//
// The library is one per process and lives on the game's one thread. With a
// device, SDL's audio callback mixes every channel; on the frame clock (the
// driver mode) nothing runs on its own and each SoundAdvance mixes exactly
// its time, so runs repeat sample for sample. Without a usable device the
// library keeps every channel's time the same way and plays nothing.
#pragma once

#include <cstdint>
#include <string>

enum class TAudioOutput {
  Device,      // SDL audio; falls back to Silent with one warning line
  FrameClock,  // mixed by SoundAdvance, optionally written to a WAV file
  Silent,      // time kept by SoundAdvance, nothing heard
};

constexpr int32_t kMixRate = 44100;  // output frames per second, stereo

// Prepares playback; a second call shuts the first down.
void SoundInit(TAudioOutput output);
void SoundShutdown();
// The frame's time: on the frame clock mixes `seconds` of output (into the
// capture file when one is open); silent, advances every channel by it. With
// a device it does nothing, the device's callback keeps time.
void SoundAdvance(double seconds);
// Writes the mixed output from now on to a 16-bit stereo 44100 Hz WAV file;
// false (and a message on stderr) when it cannot be created.
bool SoundCaptureTo(const std::string& path);
// Mixes `frames` stereo frames of every playing channel into `out`
// (interleaved left, right), advancing them; what the callback and
// SoundAdvance use, and what tests call directly.
void SoundMix(int16_t* out, int32_t frames);

// A sound file (OGG Vorbis or WAV) by its file-system path. Short files are
// decoded into memory once, long ones (OGG files over ten seconds) decoded
// as they play; WAV files are always held in memory. A missing or undecodable file
// gives a silent sample of length 0 and one warning line naming it; the
// handle is still a real one.
int32_t SampleLoadFile(const std::string& path);
void SampleUnload(int32_t sample);
// A new channel of `sample`; `start` false leaves it waiting for ChannelStart
// (status 2 meanwhile). 0 for a sample handle that is not loaded.
int32_t SamplePlay(int32_t sample, bool loop, bool start);
// Stops every channel playing `sample`.
void SampleStop(int32_t sample);
int32_t SampleLengthMs(int32_t sample);

void ChannelStart(int32_t channel);
void ChannelStop(int32_t channel);
void ChannelPause(int32_t channel, bool pause);
// 0 when the channel plays no longer (or never was), 1 playing, 2 paused or
// waiting for its start.
int32_t ChannelStatus(int32_t channel);
// Percent 0..100 (clamped), scaling the amplitude linearly.
void ChannelSetVolume(int32_t channel, int32_t volume);
int32_t ChannelGetVolume(int32_t channel);
// 0..100 (clamped), 50 the centre: the left side gets min(1, (100 - p) / 50)
// of the signal and the right min(1, p / 50).
void ChannelSetPan(int32_t channel, int32_t pan);
void ChannelSetLoop(int32_t channel, bool loop);
bool ChannelGetLoop(int32_t channel);
// The play position as a sample-frame index of the file: opaque to callers,
// who store it in a save and give it back.
int32_t ChannelGetPlayPosition(int32_t channel);
void ChannelSetPlayPosition(int32_t channel, int32_t position);
int32_t ChannelGetPlayPositionMs(int32_t channel);
int32_t ChannelGetLengthMs(int32_t channel);

// A channel fed by the caller instead of a file (a video's sound): pushed
// interleaved 16-bit frames at `rate` with `channels` channels (1 or 2),
// converted to the output rate. It plays while it has frames queued and
// silence when starved (status 1 all the while); ChannelStop ends it. 0 for
// a rate or channel count that cannot be played.
int32_t StreamOpen(int32_t rate, int32_t channels);
void StreamPush(int32_t channel, const int16_t* frames, int32_t count);
// Milliseconds of pushed sound not yet played; what a player times its
// pictures by.
int32_t StreamQueuedMs(int32_t channel);
// Milliseconds of the stream's sound played so far.
int32_t StreamPlayedMs(int32_t channel);
