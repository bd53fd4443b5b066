// Choosing and switching the full-screen display mode. The search works over
// a list of modes and a driver that can test and switch them, so it runs the
// same over SDL's modes and over a list built in a test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct TDisplayMode {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Depth = 0;    // bits per pixel
  int32_t Refresh = 0;  // Hz; 0 when unknown
};

// The automatic refresh search starts here and steps down by 5 Hz; below the
// floor the switch counts as refused.
constexpr int32_t kRefreshSearchStart = 150;
constexpr int32_t kRefreshSearchStep = 5;
constexpr int32_t kRefreshFloor = 50;

class TDisplayDriver {
 public:
  virtual ~TDisplayDriver() = default;
  // The modes the display lists, numbered from 1 by GetIndexFromResolution.
  virtual std::vector<TDisplayMode> Modes() = 0;
  virtual TDisplayMode CurrentMode() = 0;
  // Whether a full-screen switch to the mode would be accepted.
  virtual bool TestMode(const TDisplayMode& mode) = 0;
  // Switches; false when refused.
  virtual bool ChangeMode(const TDisplayMode& mode) = 0;
};

// The mode numbered from 1 that fits (w, h, depth) with the smallest excesses,
// walking the list in order; 0 (the current mode) when none fits.
int32_t GetIndexFromResolution(const std::vector<TDisplayMode>& modes, int32_t width, int32_t height, int32_t depth);

// Switches to mode `index` (0 the current one). With `automatic` the refresh
// rate is the first from 150 Hz down in 5 Hz steps that the driver accepts,
// down to the floor; otherwise `refresh`. False when refused.
bool SetFullscreenMode(TDisplayDriver& driver, int32_t index, bool automatic, int32_t refresh);
