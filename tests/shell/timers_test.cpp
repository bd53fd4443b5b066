#include "shell/timers.h"

#include <gtest/gtest.h>

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
  TViewportRect r = FitGamePicture(800, 600);
  EXPECT_EQ(r.X, 0);
  EXPECT_EQ(r.Width, 800);
  r = FitGamePicture(1920, 1080);  // pillarbox
  EXPECT_EQ(r.Height, 1080);
  EXPECT_EQ(r.Width, 1440);
  EXPECT_EQ(r.X, 240);
  EXPECT_EQ(r.Y, 0);
  r = FitGamePicture(800, 1000);  // letterbox
  EXPECT_EQ(r.Width, 800);
  EXPECT_EQ(r.Height, 600);
  EXPECT_EQ(r.Y, 200);

  int32_t x, y;
  SurfaceToGame(1920, 1080, 240.5, 0.5, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  SurfaceToGame(1920, 1080, 1919, 1079, x, y);
  EXPECT_EQ(x, 799);
  EXPECT_EQ(y, 599);
  SurfaceToGame(1920, 1080, 960, 540, x, y);
  EXPECT_EQ(x, 400);
  EXPECT_EQ(y, 300);
  SurfaceToGame(1920, 1080, 10, 10, x, y);  // in the black bar: clamped to the edge
  EXPECT_EQ(x, 0);
  // A window at a fractional display scale (1.5): 1200x900 surface points.
  SurfaceToGame(1200, 900, 600, 450, x, y);
  EXPECT_EQ(x, 400);
  EXPECT_EQ(y, 300);
}
