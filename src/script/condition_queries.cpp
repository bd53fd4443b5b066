#include "script/condition_queries.h"

#include <algorithm>

#include "state/scene_state.h"

int32_t ItemOnPointer(const TqvxScene& scene) { return scene.Inventory.ItemInHand; }

bool InventoryHolds(const TqvxScene& scene, int32_t item) {
  const auto& items = scene.Inventory.Items;
  return std::find(items.begin(), items.end(), item) != items.end();
}

int32_t PairItem(const TqvxScene& scene, bool high) {
  return high ? scene.Inventory.PairHigh : scene.Inventory.PairLow;
}

bool VoiceSequencePending(const TqvxScene& scene, const std::string& name) {
  return SequenceHasMore(scene.Sound, name);
}

float DayTimePhase(const TqvxScene& scene) { return scene.DayTime.Time; }

bool LoadingSaveGame(const TqvxScene& scene) { return scene.LoadingSave; }
