#include <cmath>

#include "effects/effects.h"
#include "platform/cp1251.h"
#include "shell/state_dump.h"

namespace {

using nlohmann::json;

// Floats that a bad save or script could make NaN stay valid JSON.
json Number(float v) { return std::isfinite(v) ? json(v) : json(nullptr); }

json PanelJson(const TqvxGameLayer& layer) {
  const THUDSprite* slide =
      InTable(layer.SlideIndex, layer.Pictures.size()) ? layer.Pictures[static_cast<size_t>(layer.SlideIndex)] : nullptr;
  return {{"progress", Number(layer.Progress)},
          {"running", layer.Running},
          {"closing", layer.Closing},
          {"slide_index", layer.SlideIndex},
          {"pictures", layer.Pictures.size()},
          {"visible", layer.Parent && layer.Parent->Visible && slide && slide->Visible}};
}

json AddLocJson(const TqvxAddLoc& a) {
  json zones = json::array();
  for (int32_t i = 0; i < a.ZoneCount && i < kAddLocSlots; ++i) {
    const TAddLocZone& z = a.Zones[static_cast<size_t>(i)];
    zones.push_back({{"x", Number(z.CentreX)},
                     {"y", Number(z.CentreY)},
                     {"width", Number(z.Width)},
                     {"height", Number(z.Height)},
                     {"function", z.ZoneFunction},
                     {"cursor", z.ZoneCursor},
                     {"enabled", z.Enabled}});
  }
  return {{"visible", AddLocShown(a)}, {"sprites", a.SpriteCount}, {"zones", zones}};
}

}  // namespace

json EffectsStateJson(const TqvxScene& s) {
  const TDayTime& d = s.DayTime;
  json addLocs = json::array();
  for (const TqvxAddLoc& a : s.AddLocs) addLocs.push_back(AddLocJson(a));
  return {
      {"day",
       {{"time", Number(d.Time)},
        {"speed", Number(d.Speed)},
        {"speed_factor", Number(d.SpeedFactor)},
        {"active", d.DayTimeActive},
        {"channels", d.ChannelCount},
        {"orbit", {Number(d.OrbitX), Number(d.OrbitY), Number(d.OrbitRadius)}},
        {"daylight", Number(DayLight(d))}}},
      {"panels", {PanelJson(s.PanelLayers[0]), PanelJson(s.PanelLayers[1])}},
      {"sketch",
       {{"current", s.Sketches.CurrentSketch},
        {"count", s.Sketches.SketchCount},
        {"timer", Number(s.Sketches.SketchTimer)},
        {"next_location", Cp1251ToUtf8(s.Sketches.NextLocation)}}},
      {"overlay_active", s.OverlayActive},
      {"addlocs", addLocs},
  };
}
