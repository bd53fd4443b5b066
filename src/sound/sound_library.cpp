// Placeholder until the mixer lands: every handle is the zero handle.
#include "sound/sound_library.h"

void SoundInit(TAudioOutput) {}
void SoundShutdown() {}
void SoundAdvance(double) {}
bool SoundCaptureTo(const std::string&) { return false; }
void SoundMix(int16_t* out, int32_t frames) {
  for (int32_t i = 0; i < 2 * frames; ++i) out[i] = 0;
}
int32_t SampleLoadFile(const std::string&) { return 0; }
void SampleUnload(int32_t) {}
int32_t SamplePlay(int32_t, bool, bool) { return 0; }
void SampleStop(int32_t) {}
int32_t SampleLengthMs(int32_t) { return 0; }
void ChannelStart(int32_t) {}
void ChannelStop(int32_t) {}
void ChannelPause(int32_t, bool) {}
int32_t ChannelStatus(int32_t) { return 0; }
void ChannelSetVolume(int32_t, int32_t) {}
int32_t ChannelGetVolume(int32_t) { return 0; }
void ChannelSetPan(int32_t, int32_t) {}
void ChannelSetLoop(int32_t, bool) {}
bool ChannelGetLoop(int32_t) { return false; }
int32_t ChannelGetPlayPosition(int32_t) { return 0; }
void ChannelSetPlayPosition(int32_t, int32_t) {}
int32_t ChannelGetPlayPositionMs(int32_t) { return 0; }
int32_t ChannelGetLengthMs(int32_t) { return 0; }
int32_t StreamOpen(int32_t, int32_t) { return 0; }
void StreamPush(int32_t, const int16_t*, int32_t) {}
int32_t StreamQueuedMs(int32_t) { return 0; }
int32_t StreamPlayedMs(int32_t) { return 0; }
