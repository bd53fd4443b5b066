// The time of day: a phase that runs from 0 to 1 (a day lasts 900 s at the
// default speed), colour and opacity channels that follow six-key curves of
// the phase on pictures of the location library, and one object that rides
// an arc with it. The record lives in the scene (TDayTime); it is inactive
// until the first clear or advance resets it, and from then on the phase
// runs on across locations while each location adds its channels again.
#pragma once

#include <cstdint>

#include "platform/stream.h"
#include "render/materials.h"
#include "state/scene_state.h"

void ResetDayTime(TDayTime& day);
// Drops the channels of an active record; resets (and so activates) an
// inactive one.
void ClearDayTime(TDayTime& day);
// On an active record: clears the channels and moves the phase on by `d`,
// wrapping past 1. An inactive record is reset instead.
void AdvanceDayTime(TDayTime& day, float d);
// Appends a channel of `kind` on material `picture` with the curve of preset
// `kind`; a picture below 0, or a full table, adds nothing. Returns the new
// channel's index or -1.
int32_t AddDayTimeChannel(TDayTime& day, int32_t kind, int32_t picture);
// Gives the channel the keys of preset 0..4; other presets keep its keys.
void SetDayTimeCurve(TDayTimeChannel& channel, int32_t preset);
void SetDayTimeOrbit(TDayTime& day, float x, float y, float radius);

// Advances the phase by seconds x Speed x SpeedFactor and sets each channel's
// material colour or alpha from its curve.
void ApplyDayTime(TDayTime& day, TGLMaterialLibrary& library, float seconds);
// The frame's step on an active record: ApplyDayTime on the location library,
// then the orbiting object (DayTimeObject) is placed.
void UpdateDayTime(TqvxScene& scene, float seconds);
// The channel's curve at the record's phase.
float ChannelValue(const TDayTimeChannel& channel, float time);
float DayTimeOrbitX(const TDayTime& day);
float DayTimeOrbitY(const TDayTime& day);
// Daylight, 0 at night to 1 by day, from a fixed curve of the phase.
float DayLight(const TDayTime& day);

// The save block: channel count, the channels (56 bytes each), phase, speed,
// speed factor, the active flag and the orbit. Loading refuses a count the
// table cannot hold or the data cannot contain.
void SaveDayTime(const TDayTime& day, TBinaryWriter& out);
void LoadDayTime(TDayTime& day, TBinaryReader& in);
