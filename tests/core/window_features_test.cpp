#include <gtest/gtest.h>

#include "core/tabs/window_features.h"

namespace sorvi {
namespace {

TEST(WindowFeaturesTest, WidthAndHeightEachOnTheirOwnAsPagesSpellThem) {
  constexpr int kAny = -1;  // a size not asked for: its number is not looked at
  const struct {
    const char* features;
    bool has_width, has_height;
    int width, height;
  } rows[] = {
      {"width=300,height=200", true, true, 300, 200},
      {"width=300,resizable=yes", true, false, kAny, kAny},
      {"scrollbars,height=240", false, true, kAny, 240},
      {"", false, false, kAny, kAny},
      // Upper case, the inner names, spaces around '=', units after the digits.
      {" WIDTH = 320px  innerHeight=180 ,left=10", true, true, 320, 180},
      // The last value counts.
      {"width=100,innerWidth=500", true, false, 500, kAny},
      // Values without digits are no size.
      {"width=auto,height,widths=40,xheight=50", false, false, kAny, kAny},
      {"width=99999999999", true, false, 1000000, kAny},
  };
  for (const auto& row : rows) {
    const RequestedWindowSize s = ParseWindowFeatures(row.features);
    EXPECT_EQ(s.has_width, row.has_width) << row.features;
    EXPECT_EQ(s.has_height, row.has_height) << row.features;
    if (row.width != kAny) EXPECT_EQ(s.width, row.width) << row.features;
    if (row.height != kAny) EXPECT_EQ(s.height, row.height) << row.features;
  }
}

}  // namespace
}  // namespace sorvi
