#include "shell/author_tools.h"

#include <stdexcept>

#include "scene/location.h"
#include "scene/menu_frame.h"
#include "script/script_text.h"

TScriptTrace::TScriptTrace(const std::string& file, const int64_t& frame)
    : file_(std::fopen(file.c_str(), "w")), frame_(frame) {
  if (!file_) throw std::runtime_error("cannot create the trace file \"" + file + "\"");
}

void TScriptTrace::Install(TqvxScene& scene) {
  scene.TraceHook = [this](const TqvxScene& s, const TScriptLevel& level, const TScriptInstruction& ins) {
    Line(s, level, ins);
  };
}

void TScriptTrace::Line(const TqvxScene& scene, const TScriptLevel& level, const TScriptInstruction& ins) {
  std::string table = "location";
  const std::vector<TqvxFunction>* functions = &scene.Functions;
  if (level.Table == TScriptTable::Global) {
    table = "global";
    functions = &scene.GlobalFunctions;
  } else if (level.Table == TScriptTable::AddLoc) {
    table = "addloc:" + std::to_string(level.AddLoc);
    functions = nullptr;
  }
  std::string name;
  if (functions && InTable(level.Function, functions->size()))
    name = (*functions)[static_cast<size_t>(level.Function)].Name;
  std::fprintf(file_.get(), "%lld %s %d %s %d %s\n", static_cast<long long>(frame_), table.c_str(), level.Function,
               QuoteScriptString(name).c_str(), scene.ScriptExecuting ? 1 : 0,
               FormatInstruction(ins).c_str());
}

std::vector<TOutline> HotZoneOutlines(const TqvxScene& scene) {
  std::vector<TOutline> out;
  const float alpha = scene.OutlineTimer >= 0.5f ? 1.0f : scene.OutlineTimer * 2;
  for (const TRegion& r : scene.Regions) {
    TOutline o{r.X - scene.ScrollX, r.Y, r.Width, r.Height};
    if (r.Enabled) o = {o.X, o.Y, o.W, o.H, 0, 1.0f, 0.85f, 0.2f, alpha};
    else o = {o.X, o.Y, o.W, o.H, 0, 0.6f, 0.6f, 0.6f, alpha};
    out.push_back(o);
  }
  for (const TqvxObject& obj : scene.Objects) {
    if (!obj.Visible) continue;
    for (const THotSpot& h : obj.HotSpots)
      if (h.Radius > 0) out.push_back({h.X - scene.ScrollX, h.Y, 0, 0, h.Radius, 0.3f, 0.9f, 1.0f, alpha});
  }
  return out;
}

void StartInLocation(TqvxScene& scene, const std::string& name) {
  if (scene.MenuActive) HideMenu(scene);
  RequestLocationChange(scene, name, true);
}
