#include "shell/timers.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/window.h"

TEST(Timers, ChangingTheIntervalRestarts) {
  TTimer t(5000, true);
  EXPECT_FALSE(t.Advance(4000));
  t.SetInterval(5000);  // unchanged: keeps counting
  EXPECT_TRUE(t.Advance(1000));
  EXPECT_FALSE(t.Advance(4000));
  t.SetInterval(3000);
  EXPECT_FALSE(t.Advance(2500)) << "a new interval counts from zero";
  EXPECT_TRUE(t.Advance(500));
  t.SetEnabled(false);
  EXPECT_FALSE(t.Advance(10000));
}

TEST(Timers, CadencerCapsTheStepAndMovesItsOrigin) {
  TGLCadencer c;
  EXPECT_EQ(c.Step(10.0), 0.0);
  EXPECT_NEAR(c.Step(10.02), 0.02, 1e-9);
  EXPECT_DOUBLE_EQ(c.Step(11.0), 0.05) << "a long frame reports 0.05 s";
  EXPECT_NEAR(c.Step(11.01), 0.01, 1e-9) << "the rest of the long frame is dropped";
}

TEST(Window, PictureFitsWithItsAspectKept) {
  auto rect = [](int32_t w, int32_t h) {
    const TViewportRect r = FitGamePicture(w, h);
    return std::tuple(r.X, r.Y, r.Width, r.Height);
  };
  EXPECT_EQ(rect(800, 600), std::tuple(0, 0, 800, 600));
  EXPECT_EQ(rect(1920, 1080), std::tuple(240, 0, 1440, 1080)) << "pillarbox";
  EXPECT_EQ(rect(800, 1000), std::tuple(0, 200, 800, 600)) << "letterbox";

  // Window points to game pixels: corners, the middle, a point in the black
  // bar (clamped to the edge), and a window at a fractional display scale
  // (1.5: 1200x900 surface points).
  const std::tuple<int32_t, int32_t, double, double, int32_t, int32_t> points[] = {
      {1920, 1080, 240.5, 0.5, 0, 0}, {1920, 1080, 1919, 1079, 799, 599}, {1920, 1080, 960, 540, 400, 300},
      {1920, 1080, 10, 0.5, 0, 0},    {1200, 900, 600, 450, 400, 300}};
  for (const auto& [w, h, sx, sy, gx, gy] : points) {
    int32_t x = -1, y = -1;
    SurfaceToGame(w, h, sx, sy, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(gx, gy)) << sx << "," << sy;
  }
}
