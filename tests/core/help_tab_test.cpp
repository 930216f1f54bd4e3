#include <gtest/gtest.h>

#include "core/help/help_tab.h"

namespace sorvi {
namespace {

const std::string kCaption(kHelpCaption);

TEST(HelpTab, CaptionAndFileNameBothDecide) {
  EXPECT_TRUE(IsHelpTab(kCaption, "file:///opt/sorvi/Sorvi.htm"));
  EXPECT_TRUE(IsHelpTab(kCaption, "file:///opt/sorvi/Sorvi.htm#keys"));
  EXPECT_TRUE(IsHelpTab(kCaption, "file:///opt/sorvi/Sorvi.html"));  // begins with the nine bytes
  // A slash inside the anchor or query does not hide the file name.
  EXPECT_TRUE(IsHelpTab(kCaption, "file:///opt/sorvi/Sorvi.htm#a/b"));
  EXPECT_TRUE(IsHelpTab(kCaption, "file:///opt/sorvi/Sorvi.htm?x=1/2"));

  EXPECT_FALSE(IsHelpTab("そるび", "file:///opt/sorvi/Sorvi.htm"));
  EXPECT_FALSE(IsHelpTab(kCaption, "file:///opt/sorvi/sorvi.htm"));  // letter case counts
  EXPECT_FALSE(IsHelpTab(kCaption, "Sorvi.htm"));                    // no slash at all
  EXPECT_FALSE(IsHelpTab(kCaption, ""));
  EXPECT_FALSE(IsHelpTab(kCaption, "file:///opt/Sorvi.htm/other.html"));
  EXPECT_FALSE(IsHelpTab(kCaption, "file:///opt/sorvi/XSorvi.htm"));
}

TEST(HelpTab, TheFirstHelpTabIsFoundAndOneNavigatedAwayIsNot) {
  std::vector<TabIdentity> tabs = {
      {"株価", "http://example.jp/chart?code=7203"},
      // The help tab after the user followed a link: the fixed caption stays.
      {kCaption, "http://example.jp/index.html"},
  };
  EXPECT_EQ(FindHelpTab(tabs), -1);

  tabs.push_back({kCaption, "file:///opt/sorvi/Sorvi.htm#options"});
  tabs.push_back({kCaption, "file:///opt/sorvi/Sorvi.htm"});
  EXPECT_EQ(FindHelpTab(tabs), 2);
  EXPECT_EQ(FindHelpTab({}), -1);
}

}  // namespace
}  // namespace sorvi
