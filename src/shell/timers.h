// Window timers and the frame clock, run from the main loop on the one
// thread. Times come in from the loop (the real clock, or the driver mode's
// fixed step), so both are deterministic under test.
#pragma once

#include <cstdint>

// A repeating timer. Changing the interval restarts it, as window timers do.
class TTimer {
 public:
  explicit TTimer(int32_t intervalMs = 1000, bool enabled = false) : interval_(intervalMs), enabled_(enabled) {}
  void SetInterval(int32_t ms) {
    if (ms != interval_) elapsed_ = 0;
    interval_ = ms;
  }
  int32_t Interval() const { return interval_; }
  void SetEnabled(bool on) {
    if (on != enabled_) elapsed_ = 0;
    enabled_ = on;
  }
  bool Enabled() const { return enabled_; }
  // Advances by `ms`; returns true when the timer fires. At most one firing
  // per call, like a message queue that folds missed ticks.
  bool Advance(double ms) {
    if (!enabled_ || interval_ <= 0) return false;
    elapsed_ += ms;
    if (elapsed_ < interval_) return false;
    elapsed_ = 0;
    return true;
  }

 private:
  int32_t interval_;
  bool enabled_;
  double elapsed_ = 0;
};

enum TCadencerMode { cmASAP, cmManual };

// The frame clock: reports the time since the last frame, never more than
// MaxDeltaTime; when a frame took longer, its origin moves on by the rest so
// the game slows down instead of jumping.
class TGLCadencer {
 public:
  bool Enabled = true;
  TCadencerMode Mode = cmASAP;
  double MaxDeltaTime = 0.05;

  // `now` in seconds; returns the step to report.
  double Step(double now) {
    if (!started_) {
      started_ = true;
      last_ = now;
    }
    double dt = now - last_;
    if (dt > MaxDeltaTime) dt = MaxDeltaTime;
    if (dt < 0) dt = 0;
    last_ = now;
    return dt;
  }
  void Restart() { started_ = false; }

 private:
  bool started_ = false;
  double last_ = 0;
};
