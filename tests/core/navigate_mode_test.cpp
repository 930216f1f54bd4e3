#include <gtest/gtest.h>

#include "core/tabs/navigate_mode.h"

namespace sorvi {
namespace {

TEST(NavigateModeTest, ShiftInvertsTheModeAndNoTabAlwaysOpensOne) {
  using M = NavigateMode;
  EXPECT_TRUE(OpensNewTab(true, M::NewTab, false));
  EXPECT_FALSE(OpensNewTab(true, M::NewTab, true));
  EXPECT_FALSE(OpensNewTab(true, M::Overwrite, false));
  EXPECT_TRUE(OpensNewTab(true, M::Overwrite, true));
  for (M mode : {M::NewTab, M::Overwrite})
    for (bool shift : {false, true}) EXPECT_TRUE(OpensNewTab(false, mode, shift));
}

TEST(NavigateModeTest, SettingValueOneIsNewTabAnythingElseOverwrite) {
  EXPECT_EQ(NavigateModeFromSetting(1), NavigateMode::NewTab);
  EXPECT_EQ(NavigateModeFromSetting(2), NavigateMode::Overwrite);
  EXPECT_EQ(NavigateModeFromSetting(0), NavigateMode::Overwrite);
  EXPECT_EQ(NavigateModeToSetting(NavigateMode::NewTab), 1);
  EXPECT_EQ(NavigateModeToSetting(NavigateMode::Overwrite), 2);
}

}  // namespace
}  // namespace sorvi
