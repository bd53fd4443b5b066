#include "platform/display_modes.h"

int32_t GetIndexFromResolution(const std::vector<TDisplayMode>& modes, int32_t width, int32_t height,
                               int32_t depth) {
  int32_t bestW = 9999, bestH = 9999, bestD = 99;
  int32_t choice = 0;
  for (size_t i = 0; i < modes.size(); ++i) {
    const TDisplayMode& m = modes[i];
    if (m.Width < width || m.Height < height || m.Depth < depth) continue;
    const int32_t ew = m.Width - width, eh = m.Height - height, ed = m.Depth - depth;
    if (ew <= bestW && eh <= bestH && ed <= bestD) {
      choice = static_cast<int32_t>(i) + 1;
      bestW = ew;
      bestH = eh;
      bestD = ed;
    }
  }
  return choice;
}

bool SetFullscreenMode(TDisplayDriver& driver, int32_t index, bool automatic, int32_t refresh) {
  TDisplayMode mode;
  if (index >= 1) {
    auto modes = driver.Modes();
    if (static_cast<size_t>(index) > modes.size()) return false;
    mode = modes[static_cast<size_t>(index) - 1];
  } else {
    mode = driver.CurrentMode();
  }
  if (automatic) {
    mode.Refresh = kRefreshSearchStart;
    while (!driver.TestMode(mode)) {
      mode.Refresh -= kRefreshSearchStep;
      if (mode.Refresh < kRefreshFloor) return false;
    }
  } else {
    mode.Refresh = refresh;
  }
  return driver.ChangeMode(mode);
}
