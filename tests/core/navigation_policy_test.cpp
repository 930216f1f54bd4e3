#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/tabs/navigation_policy.h"

namespace sorvi {
namespace {

using Action = NavigationDecision::Action;

constexpr BrowserId kPopup = 100;
constexpr BrowserId kSecondPopup = 101;

class NavigationPolicyTest : public ::testing::Test {
 protected:
  // Three tabs: browsers 1 and 2 of family 1, browser 3 of family 2.
  void SetUp() override {
    tabs_.tabs = {{1, "", 1}, {2, "", 1}, {3, "", 2}};
    tabs_.active_index = 0;
  }

  NavigationDecision Navigate(BrowserId browser, std::string_view url,
                              std::string_view target = "",
                              bool top_level = true) {
    return policy_.OnBeforeNavigate(browser, top_level, target, url, tabs_,
                                    serial_);
  }

  // What the UI side does with a placement: the pop-up's tab goes in and
  // becomes active.
  void Apply(const NavigationDecision& d) {
    if (d.action == Action::PlacePopupInNewTab) {
      tabs_.tabs.insert(tabs_.tabs.begin() + d.new_tab.insert_index,
                        TabView{d.popup, d.new_tab.frame_name, d.new_tab.family});
      tabs_.active_index = d.new_tab.insert_index;
    } else if (d.action == Action::TakeOverActiveTab) {
      tabs_.tabs[d.takeover.tab_index].browser = d.popup;
    }
    if (d.has_frame_name_update)
      tabs_.tabs[d.frame_name_update.tab_index].frame_name = d.frame_name_update.name;
    if (d.activate_tab >= 0) tabs_.active_index = d.activate_tab;
  }

  NavigationPolicy policy_;
  TabsView tabs_;
  int serial_ = 2;
};

// ---- pop-up placement ----------------------------------------------------------

TEST_F(NavigationPolicyTest, PopupWithoutSizeOpensRightAfterItsOpener) {
  tabs_.active_index = 1;
  policy_.OnNewWindow(2, kPopup, false);
  EXPECT_TRUE(policy_.new_window_pending());

  const NavigationDecision d = Navigate(kPopup, "http://x/p.htm", "win");
  EXPECT_EQ(d.action, Action::PlacePopupInNewTab);
  EXPECT_EQ(d.popup, kPopup);
  EXPECT_EQ(d.new_tab.insert_index, 2);
  EXPECT_EQ(d.new_tab.return_index, 1);
  EXPECT_EQ(d.new_tab.family, 1);
  EXPECT_EQ(d.new_tab.frame_name, "win");
  EXPECT_TRUE(d.new_tab.fill);
  EXPECT_TRUE(d.reissue_navigation);
  EXPECT_EQ(d.url, "http://x/p.htm");
  EXPECT_EQ(d.activate_tab, -1);  // shown without the user-switch bookkeeping
  EXPECT_FALSE(d.has_frame_name_update);

  EXPECT_FALSE(policy_.new_window_pending());
  EXPECT_EQ(policy_.pending_popup(), 0u);
  EXPECT_TRUE(policy_.switch_done());
  EXPECT_EQ(serial_, 2);
}

TEST_F(NavigationPolicyTest, ReannouncedNavigationOfThePlacedPopupJustProceeds) {
  policy_.OnNewWindow(1, kPopup, false);
  Apply(Navigate(kPopup, "http://x/", "win"));
  const NavigationDecision again = Navigate(kPopup, "http://x/", "win");
  EXPECT_EQ(again.action, Action::Proceed);
  EXPECT_FALSE(again.reissue_navigation);
  ASSERT_TRUE(again.has_frame_name_update);
  EXPECT_EQ(again.frame_name_update.tab_index, 1);
  EXPECT_EQ(again.frame_name_update.name, "win");
}

TEST_F(NavigationPolicyTest, PopupWithoutActiveTabTakesAFreshFamily) {
  tabs_ = TabsView{};
  policy_.OnNewWindow(7, kPopup, false);
  const NavigationDecision d = Navigate(kPopup, "http://x/");
  EXPECT_EQ(d.action, Action::PlacePopupInNewTab);
  EXPECT_EQ(d.new_tab.insert_index, 0);
  EXPECT_EQ(d.new_tab.return_index, -1);
  EXPECT_EQ(d.new_tab.family, 2);  // the current value, then counted on
  EXPECT_EQ(serial_, 3);
}

TEST_F(NavigationPolicyTest, BothSizesKeepThePageSizeInAScrollArea) {
  policy_.OnNewWindow(1, kPopup, false);
  EXPECT_TRUE(policy_.OnSizeRequest(kPopup, PageSize::Width));
  EXPECT_TRUE(policy_.OnSizeRequest(kPopup, PageSize::Height));
  EXPECT_FALSE(policy_.OnSizeRequest(kPopup, PageSize::Width));  // once each
  EXPECT_FALSE(Navigate(kPopup, "http://x/").new_tab.fill);
  // Placed: the page can no longer resize it.
  EXPECT_FALSE(policy_.OnSizeRequest(kPopup, PageSize::Height));
}

TEST_F(NavigationPolicyTest, OneSizeAloneFillsTheTab) {
  for (PageSize kind : {PageSize::Width, PageSize::Height}) {
    NavigationPolicy policy;
    policy.OnNewWindow(1, kPopup, false);
    EXPECT_TRUE(policy.OnSizeRequest(kPopup, kind));
    EXPECT_FALSE(policy.OnSizeRequest(kPopup, kind));
    EXPECT_TRUE(
        policy.OnBeforeNavigate(kPopup, true, "", "http://x/", tabs_, serial_)
            .new_tab.fill);
  }
}

TEST_F(NavigationPolicyTest, ClientOptionAlwaysFillsAndIgnoresSizes) {
  policy_.OnNewWindow(1, kPopup, true);
  EXPECT_FALSE(policy_.OnSizeRequest(kPopup, PageSize::Width));
  EXPECT_FALSE(policy_.OnSizeRequest(kPopup, PageSize::Height));
  EXPECT_TRUE(Navigate(kPopup, "http://x/").new_tab.fill);
}

TEST_F(NavigationPolicyTest, SizeRequestsOfOtherBrowsersAreRefused) {
  EXPECT_FALSE(policy_.OnSizeRequest(1, PageSize::Width));
  policy_.OnNewWindow(1, kPopup, false);
  EXPECT_FALSE(policy_.OnSizeRequest(2, PageSize::Width));
  EXPECT_FALSE(policy_.OnSizeRequest(0, PageSize::Height));
}

TEST_F(NavigationPolicyTest, PendingPopupCapturesTheNextNavigationFromAnyBrowser) {
  policy_.OnNewWindow(1, kPopup, false);
  // The pop-up never navigates; a frame of another tab does.
  const NavigationDecision d = Navigate(3, "http://frame/", "", false);
  EXPECT_EQ(d.action, Action::PlacePopupInNewTab);
  EXPECT_EQ(d.popup, kPopup);
  EXPECT_TRUE(d.reissue_navigation);
  EXPECT_EQ(d.url, "http://frame/");
  EXPECT_FALSE(policy_.new_window_pending());
  EXPECT_EQ(Navigate(3, "http://frame/", "", false).action, Action::Proceed);
}

TEST_F(NavigationPolicyTest, SecondRequestRetiresAPopupThatNeverNavigated) {
  policy_.OnNewWindow(1, kPopup, false);
  policy_.OnNewWindow(1, kSecondPopup, false);
  EXPECT_EQ(policy_.pending_popup(), kSecondPopup);
  EXPECT_EQ(Navigate(kSecondPopup, "http://x/").popup, kSecondPopup);
  EXPECT_EQ(policy_.OnIdle(0), std::vector<BrowserId>{kPopup});
}

// ---- takeover of the active tab -----------------------------------------------------

// A page opens an empty window named "chart" and then loads into that name.
TEST_F(NavigationPolicyTest, NamedPopupAfterABlankOneTakesOverTheActiveTab) {
  policy_.OnNewWindow(1, kPopup, false);
  const NavigationDecision blank = Navigate(kPopup, "about:blank", "chart");
  EXPECT_EQ(blank.action, Action::PlacePopupInNewTab);
  EXPECT_TRUE(policy_.blank_popup_seen());
  Apply(blank);
  ASSERT_EQ(tabs_.active_index, 1);

  policy_.OnNewWindow(kPopup, kSecondPopup, false);
  const NavigationDecision d = Navigate(kSecondPopup, "http://x/c.htm", "chart");
  EXPECT_EQ(d.action, Action::TakeOverActiveTab);
  EXPECT_EQ(d.popup, kSecondPopup);
  EXPECT_EQ(d.takeover.tab_index, 1);
  EXPECT_EQ(d.takeover.retired, kPopup);
  EXPECT_EQ(d.activate_tab, 1);
  EXPECT_TRUE(d.reissue_navigation);
  EXPECT_EQ(d.url, "http://x/c.htm");
  EXPECT_EQ(policy_.retired(), std::vector<BrowserId>{kPopup});

  EXPECT_EQ(policy_.OnIdle(0), std::vector<BrowserId>{kPopup});
  EXPECT_TRUE(policy_.retired().empty());
  EXPECT_FALSE(policy_.blank_popup_seen());
  EXPECT_TRUE(policy_.OnIdle(0).empty());
}

TEST_F(NavigationPolicyTest, IdleBetweenEndsTheBurst) {
  policy_.OnNewWindow(1, kPopup, false);
  Apply(Navigate(kPopup, "about:blank", "chart"));
  policy_.OnIdle(0);
  policy_.OnNewWindow(kPopup, kSecondPopup, false);
  EXPECT_EQ(Navigate(kSecondPopup, "http://x/", "chart").action,
            Action::PlacePopupInNewTab);
}

TEST_F(NavigationPolicyTest, NameOfTheActiveTabWithoutABlankPopupOpensANewTab) {
  tabs_.tabs[0].frame_name = "chart";
  policy_.OnNewWindow(1, kPopup, false);
  EXPECT_EQ(Navigate(kPopup, "http://x/", "chart").action,
            Action::PlacePopupInNewTab);
}

TEST_F(NavigationPolicyTest, TakeoverNeedsTheExactNonEmptyName) {
  policy_.OnNewWindow(1, kPopup, false);
  Apply(Navigate(kPopup, "about:blank", "chart"));
  for (std::string_view target : {"Chart", "chart2", ""}) {
    policy_.OnNewWindow(kPopup, kSecondPopup, false);
    EXPECT_EQ(Navigate(kSecondPopup, "http://x/", target).action,
              Action::PlacePopupInNewTab)
        << target;
  }
  // An empty name never matches, not even an active tab without a name.
  tabs_.tabs[tabs_.active_index].frame_name.clear();
  policy_.OnNewWindow(1, kSecondPopup, false);
  EXPECT_EQ(Navigate(kSecondPopup, "http://x/", "").action,
            Action::PlacePopupInNewTab);
}

TEST_F(NavigationPolicyTest, BlankPopupItselfNeverTakesOver) {
  // The blank mark is set after the check, so the first blank pop-up of a
  // burst opens a tab even when aimed at the active tab's name.
  tabs_.tabs[0].frame_name = "chart";
  policy_.OnNewWindow(1, kPopup, false);
  EXPECT_EQ(Navigate(kPopup, "about:blank", "chart").action,
            Action::PlacePopupInNewTab);
}

// ---- ordinary navigations ---------------------------------------------------------

TEST_F(NavigationPolicyTest, TopLevelNavigationNamesItsTab) {
  const NavigationDecision d = Navigate(3, "http://x/", "quote");
  EXPECT_EQ(d.action, Action::Proceed);
  EXPECT_FALSE(d.reissue_navigation);
  ASSERT_TRUE(d.has_frame_name_update);
  EXPECT_EQ(d.frame_name_update.tab_index, 2);
  EXPECT_EQ(d.frame_name_update.name, "quote");
  EXPECT_FALSE(Navigate(99, "http://x/").has_frame_name_update);  // no tab
}

TEST_F(NavigationPolicyTest, FrameNavigationChangesNothingButTheMarker) {
  policy_.OnPageClick(1, 5000);
  const NavigationDecision d = Navigate(2, "http://x/f.htm", "f", false);
  EXPECT_EQ(d.action, Action::Proceed);
  EXPECT_FALSE(d.has_frame_name_update);
  EXPECT_EQ(d.activate_tab, -1);
  EXPECT_EQ(policy_.click_family(), 1);
  EXPECT_TRUE(policy_.navigating());
}

TEST_F(NavigationPolicyTest, NavigatingMarkerEndsOnce) {
  EXPECT_FALSE(policy_.EndNavigating());
  Navigate(1, "http://x/", "", false);
  EXPECT_TRUE(policy_.EndNavigating());
  EXPECT_FALSE(policy_.navigating());
  EXPECT_FALSE(policy_.EndNavigating());
}

// ---- click family ---------------------------------------------------------------

TEST_F(NavigationPolicyTest, ClickBringsATabOfTheSameFamilyForward) {
  policy_.OnPageClick(1, 5000);
  const NavigationDecision d = Navigate(2, "http://x/");
  EXPECT_EQ(d.activate_tab, 1);
  EXPECT_TRUE(policy_.switch_done());
  EXPECT_EQ(policy_.click_family(), 0);
}

TEST_F(NavigationPolicyTest, ClickCountsForOneSecond) {
  policy_.OnPageClick(1, 5000);
  policy_.OnIdle(6000);
  EXPECT_EQ(Navigate(2, "http://x/").activate_tab, 1);

  policy_.OnIdle(7000);
  policy_.OnPageClick(1, 8000);
  policy_.OnIdle(9001);
  EXPECT_EQ(policy_.click_family(), 0);
  EXPECT_EQ(Navigate(2, "http://x/").activate_tab, -1);
}

TEST_F(NavigationPolicyTest, TabOfAnotherFamilyLoadsInTheBackgroundAndEndsTheClick) {
  policy_.OnPageClick(1, 5000);
  EXPECT_EQ(Navigate(3, "http://x/").activate_tab, -1);
  EXPECT_EQ(policy_.click_family(), 0);
  EXPECT_EQ(Navigate(2, "http://x/").activate_tab, -1);
}

TEST_F(NavigationPolicyTest, ActiveTabsOwnNavigationKeepsTheClick) {
  policy_.OnPageClick(1, 5000);
  EXPECT_EQ(Navigate(1, "http://x/").activate_tab, -1);
  EXPECT_EQ(policy_.click_family(), 1);
  EXPECT_EQ(Navigate(2, "http://x/").activate_tab, 1);
}

TEST_F(NavigationPolicyTest, NoFamilySwitchAfterAnotherSwitchInTheSameBurst) {
  policy_.OnPageClick(1, 5000);
  policy_.OnNewWindow(1, kPopup, false);
  Apply(Navigate(kPopup, "http://x/"));  // a new tab of family 1, now active
  EXPECT_EQ(Navigate(2, "http://x/").activate_tab, -1);
  EXPECT_EQ(policy_.click_family(), 1);  // untouched while the switch stands
  policy_.OnIdle(5100);
  EXPECT_FALSE(policy_.switch_done());
  EXPECT_EQ(Navigate(2, "http://x/").activate_tab, 2);
}

}  // namespace
}  // namespace sorvi
