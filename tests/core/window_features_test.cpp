#include <gtest/gtest.h>

#include "core/tabs/window_features.h"

namespace sorvi {
namespace {

TEST(WindowFeaturesTest, WidthAndHeightEachOnTheirOwn) {
  const RequestedWindowSize both = ParseWindowFeatures("width=300,height=200");
  EXPECT_TRUE(both.has_width);
  EXPECT_TRUE(both.has_height);
  EXPECT_EQ(both.width, 300);
  EXPECT_EQ(both.height, 200);

  const RequestedWindowSize width = ParseWindowFeatures("width=300,resizable=yes");
  EXPECT_TRUE(width.has_width);
  EXPECT_FALSE(width.has_height);
  const RequestedWindowSize height = ParseWindowFeatures("scrollbars,height=240");
  EXPECT_FALSE(height.has_width);
  EXPECT_TRUE(height.has_height);
  EXPECT_EQ(height.height, 240);

  const RequestedWindowSize none = ParseWindowFeatures("");
  EXPECT_FALSE(none.has_width || none.has_height);
}

TEST(WindowFeaturesTest, SpellingsPagesUse) {
  // Upper case, the inner names, spaces around '=', units after the digits.
  const RequestedWindowSize s = ParseWindowFeatures(" WIDTH = 320px  innerHeight=180 ,left=10");
  EXPECT_TRUE(s.has_width);
  EXPECT_EQ(s.width, 320);
  EXPECT_TRUE(s.has_height);
  EXPECT_EQ(s.height, 180);
  // The last value counts.
  EXPECT_EQ(ParseWindowFeatures("width=100,innerWidth=500").width, 500);
}

TEST(WindowFeaturesTest, ValuesWithoutDigitsAreNoSize) {
  const RequestedWindowSize s = ParseWindowFeatures("width=auto,height,widths=40,xheight=50");
  EXPECT_FALSE(s.has_width);
  EXPECT_FALSE(s.has_height);
  EXPECT_EQ(ParseWindowFeatures("width=99999999999").width, 1000000);
}

}  // namespace
}  // namespace sorvi
