#include "core/tabs/navigation_policy.h"

#include <utility>

namespace sorvi {

namespace {

// A click brings a tab of its family forward only this long.
constexpr std::uint64_t kClickFamilyLifetimeMs = 1000;

const TabView* ActiveTab(const TabsView& tabs) {
  const int active = tabs.active_index;
  if (active < 0 || active >= static_cast<int>(tabs.tabs.size())) return nullptr;
  return &tabs.tabs[active];
}

int TabOfBrowser(const TabsView& tabs, BrowserId browser) {
  if (browser == 0) return -1;
  for (size_t i = 0; i < tabs.tabs.size(); ++i)
    if (tabs.tabs[i].browser == browser) return static_cast<int>(i);
  return -1;
}

}  // namespace

void NavigationPolicy::OnNewWindow(BrowserId opener, BrowserId popup,
                                   bool client_option) {
  // The earlier pop-up never navigated; nothing will place it any more.
  if (new_window_pending_ && popup_ != 0 && popup_ != popup)
    retired_.push_back(popup_);
  popup_ = popup;
  popup_opener_ = opener;
  new_window_pending_ = true;
  sizes_wired_ = !client_option;
  width_set_ = false;
  height_set_ = false;
}

bool NavigationPolicy::OnSizeRequest(BrowserId browser, PageSize kind) {
  if (!new_window_pending_ || !sizes_wired_ || browser == 0 || browser != popup_)
    return false;
  bool& done = kind == PageSize::Width ? width_set_ : height_set_;
  if (done) return false;
  done = true;
  return true;
}

NavigationDecision NavigationPolicy::OnBeforeNavigate(
    BrowserId browser, bool top_level, std::string_view target,
    std::string_view url, const TabsView& tabs, int& tab_serial) {
  navigating_ = true;
  if (new_window_pending_) return PlacePopup(target, url, tabs, tab_serial);

  NavigationDecision decision;
  if (top_level) FollowTopLevel(browser, target, tabs, decision);
  return decision;
}

NavigationDecision NavigationPolicy::PlacePopup(std::string_view target,
                                                std::string_view url,
                                                const TabsView& tabs,
                                                int& tab_serial) {
  new_window_pending_ = false;
  const TabView* active = ActiveTab(tabs);
  // Only within a burst that already opened a blank pop-up: a page that
  // first opens an empty window and then aims a second one at a tab's name
  // means to replace that tab's page.
  const bool takeover = blank_popup_seen_ && !target.empty() && active &&
                        active->frame_name == target &&
                        active->browser != popup_;
  if (url == "about:blank") blank_popup_seen_ = true;

  NavigationDecision decision;
  decision.popup = popup_;
  decision.reissue_navigation = true;
  decision.url = std::string(url);
  if (takeover) {
    decision.action = NavigationDecision::Action::TakeOverActiveTab;
    decision.takeover.tab_index = tabs.active_index;
    decision.takeover.retired = active->browser;
    if (active->browser != 0) retired_.push_back(active->browser);
    decision.activate_tab = tabs.active_index;
  } else {
    decision.action = NavigationDecision::Action::PlacePopupInNewTab;
    NewTabPlacement& place = decision.new_tab;
    place.insert_index = active ? tabs.active_index + 1 : 0;
    place.return_index = active ? tabs.active_index : -1;
    place.family = active ? active->family : tab_serial++;
    place.frame_name = std::string(target);
    place.fill = !sizes_wired_ || !width_set_ || !height_set_;
  }
  switch_done_ = true;
  // Placed: its size requests no longer count.
  popup_ = 0;
  popup_opener_ = 0;
  sizes_wired_ = false;
  return decision;
}

void NavigationPolicy::FollowTopLevel(BrowserId browser, std::string_view target,
                                      const TabsView& tabs,
                                      NavigationDecision& decision) {
  const int tab = TabOfBrowser(tabs, browser);
  if (tab < 0) return;
  decision.has_frame_name_update = true;
  decision.frame_name_update = FrameNameUpdate{tab, std::string(target)};

  if (switch_done_ || click_family_ <= 0 || tab == tabs.active_index) return;
  if (tabs.tabs[tab].family == click_family_) {
    decision.activate_tab = tab;
    switch_done_ = true;
  }
  click_family_ = 0;
}

void NavigationPolicy::OnPageClick(int active_family, std::uint64_t now_ms) {
  click_family_ = active_family;
  click_tick_ = now_ms;
}

std::vector<BrowserId> NavigationPolicy::OnIdle(std::uint64_t now_ms) {
  std::vector<BrowserId> destroy = std::move(retired_);
  retired_.clear();
  blank_popup_seen_ = false;
  switch_done_ = false;
  // Unsigned difference: a clock that went back expires the click too.
  if (click_family_ > 0 && now_ms - click_tick_ > kClickFamilyLifetimeMs)
    click_family_ = 0;
  return destroy;
}

bool NavigationPolicy::EndNavigating() {
  return std::exchange(navigating_, false);
}

}  // namespace sorvi
