// The sound manager: the location's sound set (samples by name, voice
// sequences whose positions are remembered per set), eight channel slots of
// plain, positional and time-of-day sounds, the voiced comments with their
// subtitles, and the two-voice background music. Everything plays through
// the sound library's handles; the records live in scene.Sound.
//
// Indices given by scripts are unchecked: a bad sample or sequence index
// does nothing, a ninth sound while eight play is dropped silently.
#pragma once

#include <cstdint>
#include <string>

#include "platform/stream.h"
#include "state/scene_state.h"

// At scene creation: slots emptied, no set, no groups, the music reset, the
// comment table read and the hero's footsteps bound to the sound set.
void InitSound(TqvxScene& scene);

// Loads the sound set at game path `path` ("SFX\" + name) unless it is the one
// loaded. The file is read whole before anything changes: an open error or a
// damaged file throws EGameError naming it and the previous set stays.
void LoadSoundSet(TqvxScene& scene, const std::string& path);
int32_t FindSample(const TqvxScene& scene, const std::string& name);
int32_t FindSequence(const TqvxScene& scene, const std::string& name);
// The group of remembered positions for a set path.
int32_t FindGroup(const TqvxScene& scene, const std::string& name);

void PlaySample(TqvxScene& scene, int32_t sample);
// Silent until the next UpdateListener sets its volume and pan.
void PlayPositional(TqvxScene& scene, int32_t sample, float x, float y, float radius);
// Silent until the next UpdateDayTimed sets its volume.
void PlayDayTimed(TqvxScene& scene, int32_t sample, bool inverse);
void StopSample(TqvxScene& scene, int32_t sample);
// Milliseconds; 0 for a bad index.
int32_t SampleLength(const TqvxScene& scene, int32_t sample);

// Plays the sequence's next line and advances it; its length in ms, 0 when
// nothing played (a bad index, an empty sequence, one run out).
int32_t PlaySequenceNext(TqvxScene& scene, int32_t sequence);
// The comment text and sample handle of the line PlaySequenceNext would play
// ("" and 0 when none).
std::string SequenceNextComment(const TqvxScene& scene, int32_t sequence);
int32_t SequenceNextHandle(const TqvxScene& scene, int32_t sequence);

// The hero's position as the listener of positional sounds, each frame.
void UpdateListener(TqvxScene& scene, float x, float y);
// The day-time level 0..100 for time-of-day sounds, each frame.
void UpdateDayTimed(TqvxScene& scene, int32_t level);
// Pauses (menu open) or resumes the eight slots' channels.
void PauseAll(TqvxScene& scene, bool pause);
// Stops the eight slots' channels: location loads, loading and new games.
void StopAll(TqvxScene& scene);
void ResetSequences(TqvxScene& scene);
void ClearGroups(TqvxScene& scene);

// Save-file sections: 39 bytes per slot; then the remembered positions of
// every set seen, the current set's included.
void SaveChannels(const TqvxScene& scene, TBinaryWriter& out);
void LoadChannels(TqvxScene& scene, TBinaryReader& in);
void SaveGroups(TqvxScene& scene, TBinaryWriter& out);
void LoadGroups(TqvxScene& scene, TBinaryReader& in);

// Voiced comments. The table "SFX\Comments\<name>" is read whole; a missing
// or damaged table gives one warning line naming it and stays empty.
void LoadComments(TqvxScene& scene, const std::string& name = "comments.dat");
// Comment `number`'s text; "" for 0, numbers past the table and no table.
std::string CommentText(const TqvxScene& scene, int32_t number);
// A line under way: with subtitles on, its text under the picture (the
// panel behind it only for a text that is not empty).
void ShowSubtitle(TqvxScene& scene, int32_t sampleHandle, const std::string& text);
// Ends the line: its sample stops, the subtitle goes, the wait ends.
void HideSubtitle(TqvxScene& scene);
// The line of sample `sample` as the script commands start it: the wait for
// its length and its subtitle, with `talk` the hero's talking frame too.
void SpeakSample(TqvxScene& scene, int32_t sample, bool talk);
// The hero shows its talking frame until the wait ends or is skipped.
void StartHeroTalking(TqvxScene& scene);

// Background music.
int32_t FindMusicGroup(const TqvxScene& scene, const std::string& name);
void AddMusicGroup(TqvxScene& scene, const std::string& name);
// Loads "SFX\OGG\" + file as the next track.
void AddTrack(TqvxScene& scene, const std::string& file);
void AddToGroup(TqvxScene& scene, const std::string& group, int32_t track);
// g -1: every track in order; outside -1..groups-1: the music fades out.
void PlayGroup(TqvxScene& scene, int32_t group);
void NextTrack(TqvxScene& scene);
void FadeOutAll(TqvxScene& scene);
// Advances the fades by dt and starts the next track four seconds before the
// current one ends; first thing every frame.
void UpdateMusic(TqvxScene& scene, float dt);

// Nearest integer, halves to the even neighbour; beyond the int32 range the
// nearest end, and 0 for a NaN.
int32_t RoundHalfEven(double v);
