// What the conditions read from records other subsystems own: the inventory,
// the voice-comment sequences, the time of day and the restore flag. Each
// query is the one place that knows the owner's field, so an owner that
// reshapes its record changes one function here.
#pragma once

#include <cstdint>
#include <string>

struct TqvxScene;

int32_t ItemOnPointer(const TqvxScene& scene);
bool InventoryHolds(const TqvxScene& scene, int32_t item);
// The lower (high false) or higher item of the last combination, -1 none.
int32_t PairItem(const TqvxScene& scene, bool high);
// Whether the voice-comment sequence still has a comment to play; false for
// a name that is not found. Until the sound manager keeps sequences there are
// none; it may also take over condition 111 with RegisterCommand.
bool VoiceSequencePending(const TqvxScene& scene, const std::string& name);
// The phase of the day, 0..1.
float DayTimePhase(const TqvxScene& scene);
bool LoadingSaveGame(const TqvxScene& scene);
