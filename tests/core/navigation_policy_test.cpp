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

  NavigationDecision Navigate(BrowserId browser, std::string_view target = "", bool top_level = true) {
    return policy_.OnBeforeNavigate(browser, top_level, target, tabs_);
  }

  NavigationDecision Request(BrowserId opener, BrowserId popup, std::string_view url, std::string_view target = "",
                             bool width = false, bool height = false, bool client = false) {
    PopupRequest request;
    request.opener = opener;
    request.popup = popup;
    request.url = std::string(url);
    request.target = std::string(target);
    request.has_width = width;
    request.has_height = height;
    request.client_option = client;
    return policy_.OnNewWindow(request, tabs_, serial_);
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
    if (d.has_frame_name_update) tabs_.tabs[d.frame_name_update.tab_index].frame_name = d.frame_name_update.name;
    if (d.activate_tab >= 0) tabs_.active_index = d.activate_tab;
  }

  NavigationPolicy policy_;
  TabsView tabs_;
  int serial_ = 2;
};

// ---- pop-up placement ----------------------------------------------------------

TEST_F(NavigationPolicyTest, PopupOpensRightAfterItsOpenerAtOnce) {
  tabs_.active_index = 1;
  const NavigationDecision d = Request(2, kPopup, "http://x/p.htm", "win");
  EXPECT_EQ(d.action, Action::PlacePopupInNewTab);
  EXPECT_EQ(d.popup, kPopup);
  EXPECT_EQ(d.new_tab.insert_index, 2);
  EXPECT_EQ(d.new_tab.return_index, 1);
  EXPECT_EQ(d.new_tab.family, 1);
  EXPECT_EQ(d.new_tab.frame_name, "win");
  EXPECT_TRUE(d.new_tab.fill);
  EXPECT_EQ(d.activate_tab, -1);  // shown without the user-switch bookkeeping
  EXPECT_FALSE(d.has_frame_name_update);
  EXPECT_TRUE(policy_.switch_done());
  EXPECT_FALSE(policy_.blank_popup_seen());
  EXPECT_EQ(serial_, 2);
}

TEST_F(NavigationPolicyTest, PopupGoesBesideItsOpenerOrElseBesideTheActiveTab) {
  // The user looks at tab 0; the page of tab 2 (family 2) opens a window.
  const NavigationDecision background = Request(3, kPopup, "http://x/p.htm", "", true, true);
  EXPECT_EQ(background.action, Action::PlacePopupInNewTab);
  EXPECT_FALSE(background.new_tab.fill);
  // An opener outside the tabs: the active tab stands in for it.
  tabs_.active_index = 2;
  for (const NavigationDecision& d : {background, Request(99, kPopup, "http://x/")}) {
    EXPECT_EQ(d.new_tab.insert_index, 3);
    EXPECT_EQ(d.new_tab.return_index, 2);
    EXPECT_EQ(d.new_tab.family, 2);
  }
}

TEST_F(NavigationPolicyTest, PopupsOwnFirstNavigationJustNamesItsTab) {
  Apply(Request(1, kPopup, "http://x/", "win"));
  const NavigationDecision first = Navigate(kPopup, "win");
  EXPECT_EQ(first.action, Action::Proceed);
  ASSERT_TRUE(first.has_frame_name_update);
  EXPECT_EQ(first.frame_name_update.tab_index, 1);
  EXPECT_EQ(first.frame_name_update.name, "win");
  EXPECT_TRUE(policy_.navigating());
}

TEST_F(NavigationPolicyTest, PopupWithoutAnyTabTakesAFreshFamily) {
  tabs_ = TabsView{};
  const NavigationDecision d = Request(7, kPopup, "http://x/");
  EXPECT_EQ(d.action, Action::PlacePopupInNewTab);
  EXPECT_EQ(d.new_tab.insert_index, 0);
  EXPECT_EQ(d.new_tab.return_index, -1);
  EXPECT_EQ(d.new_tab.family, 2);  // the current value, then counted on
  EXPECT_EQ(serial_, 3);
}

TEST_F(NavigationPolicyTest, BothSizesKeepThePageSizeOneOrTheClientOptionFills) {
  EXPECT_FALSE(Request(1, kPopup, "http://x/", "", true, true).new_tab.fill);
  EXPECT_TRUE(Request(1, kPopup, "http://x/", "", true, false).new_tab.fill);
  EXPECT_TRUE(Request(1, kPopup, "http://x/", "", false, true).new_tab.fill);
  EXPECT_TRUE(Request(1, kPopup, "http://x/", "", false, false).new_tab.fill);
  EXPECT_TRUE(Request(1, kPopup, "http://x/", "", true, true, true).new_tab.fill);
}

// ---- takeover of the active tab -----------------------------------------------------

// A page opens an empty window named "chart" and then loads into that name.
TEST_F(NavigationPolicyTest, NamedPopupAfterABlankOneTakesOverTheActiveTab) {
  const NavigationDecision blank = Request(1, kPopup, "about:blank", "chart");
  EXPECT_EQ(blank.action, Action::PlacePopupInNewTab);
  EXPECT_TRUE(policy_.blank_popup_seen());
  Apply(blank);
  ASSERT_EQ(tabs_.active_index, 1);

  const NavigationDecision d = Request(3, kSecondPopup, "http://x/c.htm", "chart");
  EXPECT_EQ(d.action, Action::TakeOverActiveTab);
  EXPECT_EQ(d.popup, kSecondPopup);
  EXPECT_EQ(d.takeover.tab_index, 1);
  EXPECT_EQ(d.takeover.retired, kPopup);
  EXPECT_EQ(d.activate_tab, 1);
  EXPECT_EQ(policy_.retired(), std::vector<BrowserId>{kPopup});

  EXPECT_EQ(policy_.OnIdle(0), std::vector<BrowserId>{kPopup});
  EXPECT_TRUE(policy_.retired().empty());
  EXPECT_FALSE(policy_.blank_popup_seen());
  EXPECT_TRUE(policy_.OnIdle(0).empty());
}

// Takeover needs a blank pop-up first in the burst and the active tab's exact,
// non-empty name. From fresh tabs: the burst's first pop-up aimed at "chart"
// (null: none), an idle pass after it, a name then given to the active tab
// (null: as it is), and the pop-up asked for.
TEST_F(NavigationPolicyTest, WhenANamedPopupTakesOverTheActiveTab) {
  const auto asked = [this](const char* blank_url, bool idle, const char* active_name, BrowserId opener,
                            const char* url, const char* target) {
    policy_ = NavigationPolicy{};
    serial_ = 2;
    SetUp();
    if (blank_url) {
      Apply(Request(1, kPopup, blank_url, "chart"));
      EXPECT_TRUE(policy_.blank_popup_seen());
    }
    if (idle) policy_.OnIdle(0);
    if (active_name) tabs_.tabs[tabs_.active_index].frame_name = active_name;
    return Request(opener, blank_url ? kSecondPopup : kPopup, url, target).action;
  };
  constexpr Action kNew = Action::PlacePopupInNewTab;
  // An empty address counts as a blank window; an idle pass ends the burst.
  EXPECT_EQ(asked("", false, nullptr, 1, "http://x/", "chart"), Action::TakeOverActiveTab);
  EXPECT_EQ(asked("about:blank", true, nullptr, 1, "http://x/", "chart"), kNew);
  EXPECT_EQ(asked(nullptr, false, "chart", 2, "http://x/", "chart"), kNew);
  for (const char* target : {"Chart", "chart2", ""}) {
    EXPECT_EQ(asked("about:blank", false, nullptr, 1, "http://x/", target), kNew) << target;
  }
  // An empty name never matches, not even an active tab without a name.
  EXPECT_EQ(asked("about:blank", false, "", 1, "http://x/", ""), kNew);
  // The blank mark is set after the check, so the first blank pop-up of a
  // burst opens a tab even when aimed at the active tab's name.
  EXPECT_EQ(asked(nullptr, false, "chart", 1, "about:blank", "chart"), kNew);
}

// ---- ordinary navigations ---------------------------------------------------------

TEST_F(NavigationPolicyTest, TopLevelNavigationNamesItsTab) {
  const NavigationDecision d = Navigate(3, "quote");
  EXPECT_EQ(d.action, Action::Proceed);
  ASSERT_TRUE(d.has_frame_name_update);
  EXPECT_EQ(d.frame_name_update.tab_index, 2);
  EXPECT_EQ(d.frame_name_update.name, "quote");
  EXPECT_FALSE(Navigate(99).has_frame_name_update);  // no tab
}

TEST_F(NavigationPolicyTest, FrameNavigationChangesNothingButTheMarker) {
  policy_.OnPageClick(1, 5000);
  const NavigationDecision d = Navigate(2, "f", false);
  EXPECT_EQ(d.action, Action::Proceed);
  EXPECT_FALSE(d.has_frame_name_update);
  EXPECT_EQ(d.activate_tab, -1);
  EXPECT_EQ(policy_.click_family(), 1);
  EXPECT_TRUE(policy_.navigating());
}

TEST_F(NavigationPolicyTest, NavigatingMarkerEndsOnce) {
  EXPECT_FALSE(policy_.EndNavigating());
  Navigate(1, "", false);
  EXPECT_TRUE(policy_.EndNavigating());
  EXPECT_FALSE(policy_.navigating());
  EXPECT_FALSE(policy_.EndNavigating());
}

// ---- click family ---------------------------------------------------------------

TEST_F(NavigationPolicyTest, ClickBringsATabOfTheSameFamilyForward) {
  policy_.OnPageClick(1, 5000);
  const NavigationDecision d = Navigate(2);
  EXPECT_EQ(d.activate_tab, 1);
  EXPECT_TRUE(policy_.switch_done());
  EXPECT_EQ(policy_.click_family(), 0);
}

TEST_F(NavigationPolicyTest, ClickCountsForOneSecond) {
  policy_.OnPageClick(1, 5000);
  policy_.OnIdle(6000);
  EXPECT_EQ(Navigate(2).activate_tab, 1);

  policy_.OnIdle(7000);
  policy_.OnPageClick(1, 8000);
  policy_.OnIdle(9001);
  EXPECT_EQ(policy_.click_family(), 0);
  EXPECT_EQ(Navigate(2).activate_tab, -1);
}

TEST_F(NavigationPolicyTest, TabOfAnotherFamilyLoadsInTheBackgroundAndEndsTheClick) {
  policy_.OnPageClick(1, 5000);
  EXPECT_EQ(Navigate(3).activate_tab, -1);
  EXPECT_EQ(policy_.click_family(), 0);
  EXPECT_EQ(Navigate(2).activate_tab, -1);
}

TEST_F(NavigationPolicyTest, ActiveTabsOwnNavigationKeepsTheClick) {
  policy_.OnPageClick(1, 5000);
  EXPECT_EQ(Navigate(1).activate_tab, -1);
  EXPECT_EQ(policy_.click_family(), 1);
  EXPECT_EQ(Navigate(2).activate_tab, 1);
}

TEST_F(NavigationPolicyTest, NoFamilySwitchAfterAnotherSwitchInTheSameBurst) {
  policy_.OnPageClick(1, 5000);
  Apply(Request(1, kPopup, "http://x/"));  // a new tab of family 1, now active
  EXPECT_EQ(Navigate(2).activate_tab, -1);
  EXPECT_EQ(policy_.click_family(), 1);  // untouched while the switch stands
  policy_.OnIdle(5100);
  EXPECT_FALSE(policy_.switch_done());
  EXPECT_EQ(Navigate(2).activate_tab, 2);
}

}  // namespace
}  // namespace sorvi
