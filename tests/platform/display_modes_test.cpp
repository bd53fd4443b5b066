#include "platform/display_modes.h"

#include <gtest/gtest.h>

namespace {

class FakeDriver : public TDisplayDriver {
 public:
  std::vector<TDisplayMode> modes;
  int maxAccepted = 0;  // highest refresh accepted by tests; 0: none
  std::vector<int32_t> tested;
  std::vector<TDisplayMode> changed;
  std::vector<TDisplayMode> Modes() override { return modes; }
  TDisplayMode CurrentMode() override { return {1920, 1080, 32, 60}; }
  bool TestMode(const TDisplayMode& m) override {
    tested.push_back(m.Refresh);
    return m.Refresh <= maxAccepted;
  }
  bool ChangeMode(const TDisplayMode& m) override {
    changed.push_back(m);
    return true;
  }
};

}  // namespace

TEST(DisplayModes, IndexPicksTheSmallestExcessInOrder) {
  std::vector<TDisplayMode> modes = {
      {640, 480, 32, 60}, {1024, 768, 32, 60}, {800, 600, 16, 60}, {800, 600, 32, 60}, {800, 600, 32, 75},
  };
  // Both exact 800x600x32 modes fit; the later one with equal excesses wins.
  EXPECT_EQ(GetIndexFromResolution(modes, 800, 600, 32), 5);
  EXPECT_EQ(GetIndexFromResolution({{640, 480, 32, 60}}, 800, 600, 32), 0) << "nothing fits: current mode";
  // A larger mode is taken when it is the only fit.
  EXPECT_EQ(GetIndexFromResolution({{640, 480, 32, 60}, {1024, 768, 32, 60}}, 800, 600, 32), 2);
  // A mode that is smaller in one excess but larger in another does not replace the choice.
  EXPECT_EQ(GetIndexFromResolution({{800, 768, 32, 0}, {1024, 600, 32, 0}}, 800, 600, 32), 1);
}

TEST(DisplayModes, RefreshSearchStepsDownAndStopsAtTheFloor) {
  FakeDriver d;
  d.modes = {{800, 600, 32, 60}};
  d.maxAccepted = 85;
  ASSERT_TRUE(SetFullscreenMode(d, 1, true, 75));
  ASSERT_EQ(d.changed.size(), 1u);
  EXPECT_EQ(d.changed[0].Refresh, 85);
  EXPECT_EQ(d.tested.front(), 150);
  EXPECT_EQ(d.tested.size(), 14u);  // 150, 145, ..., 85

  FakeDriver none;
  none.modes = d.modes;
  EXPECT_FALSE(SetFullscreenMode(none, 1, true, 75)) << "no rate down to the floor: refused";
  EXPECT_TRUE(none.changed.empty());
  EXPECT_EQ(none.tested.back(), kRefreshFloor);

  FakeDriver manual;
  manual.modes = d.modes;
  ASSERT_TRUE(SetFullscreenMode(manual, 1, false, 85));
  EXPECT_TRUE(manual.tested.empty());
  EXPECT_EQ(manual.changed[0].Refresh, 85);
  EXPECT_FALSE(SetFullscreenMode(manual, 7, false, 60)) << "index past the list";
}
