#include "core/tabs/zoom_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace sorvi {
namespace {

TEST(ZoomSteps, StepsThroughTheLevelsBothWaysAndStopsAtTheEnds) {
  double factor = kDefaultZoom;
  std::vector<int> up;
  for (int i = 0; i < 9; ++i) up.push_back(ZoomPercent(factor = ZoomIn(factor)));
  EXPECT_EQ(up, (std::vector<int>{110, 125, 150, 175, 200, 250, 300, 300, 300}));
  std::vector<int> down;
  for (int i = 0; i < 16; ++i) down.push_back(ZoomPercent(factor = ZoomOut(factor)));
  EXPECT_EQ(down, (std::vector<int>{250, 200, 175, 150, 125, 110, 100, 90, 80, 75, 67, 50, 33, 25, 25, 25}));
}

TEST(ZoomSteps, AFactorBetweenLevelsGoesToItsNeighbours) {
  EXPECT_EQ(ZoomPercent(ZoomIn(1.17)), 125);
  EXPECT_EQ(ZoomPercent(ZoomOut(1.17)), 110);
  // The engine's own rounding of a level is still that level.
  EXPECT_EQ(ZoomPercent(ZoomIn(0.6699999)), 75);
  EXPECT_EQ(ZoomPercent(ZoomOut(0.6700001)), 50);
  // Beyond the levels (the engine allows up to 500 %).
  EXPECT_EQ(ZoomPercent(ZoomOut(5.0)), 300);
  EXPECT_EQ(ZoomPercent(ZoomIn(0.1)), 25);
}

}  // namespace
}  // namespace sorvi
