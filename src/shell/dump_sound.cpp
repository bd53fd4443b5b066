#include "platform/cp1251.h"
#include "shell/state_dump.h"
#include "sound/sound_library.h"

nlohmann::json SoundStateJson(const TqvxScene& scene) {
  using nlohmann::json;
  const TqvxSound& s = scene.Sound;
  json slots = json::array();
  for (const TSoundSlot& slot : s.ChannelSlots)
    slots.push_back({{"sample", slot.Sample},
                     {"status", ChannelStatus(slot.Channel)},
                     {"volume", ChannelGetVolume(slot.Channel)},
                     {"pan", slot.Pan},
                     {"loop", ChannelGetLoop(slot.Channel)},
                     {"positional", slot.Positional},
                     {"daytimed", slot.DayTimed},
                     {"position_ms", ChannelGetPlayPositionMs(slot.Channel)}});
  json sequences = json::array();
  for (const TqvxSoundSeq& q : s.Sequences) sequences.push_back({{"name", Cp1251ToUtf8(q.Name)}, {"position", q.Position}});
  const TqvxBackMusic& m = s.BackMusic;
  return {{"set", Cp1251ToUtf8(s.SoundSetName)},
          {"volume", s.SoundVolume},
          {"slots", slots},
          {"sequences", sequences},
          {"music",
           {{"current_group", m.CurrentGroup},
            {"current_voice", m.CurrentVoice},
            {"levels", {m.Levels[0], m.Levels[1]}},
            {"location_music", scene.LocationMusic},
            {"menu_music", scene.MenuMusic}}},
          {"subtitle", scene.Subtitle ? Cp1251ToUtf8(scene.Subtitle->Text) : std::string()},
          {"subtitle_shown", scene.SubtitleShown}};
}
