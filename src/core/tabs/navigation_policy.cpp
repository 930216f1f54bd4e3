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

NavigationDecision NavigationPolicy::OnNewWindow(const PopupRequest& request, const TabsView& tabs, int& tab_serial) {
  const TabView* active = ActiveTab(tabs);
  // Only within a burst that already opened an empty window: a page that
  // first opens one and then aims a second window at a tab's name means to
  // replace that tab's page.
  const bool takeover = blank_popup_seen_ && !request.target.empty() && active &&
                        active->frame_name == request.target && active->browser != request.popup;
  if (request.url.empty() || request.url == "about:blank") blank_popup_seen_ = true;

  NavigationDecision decision;
  decision.popup = request.popup;
  if (takeover) {
    decision.action = NavigationDecision::Action::TakeOverActiveTab;
    decision.takeover.tab_index = tabs.active_index;
    decision.takeover.retired = active->browser;
    if (active->browser != 0) retired_.push_back(active->browser);
    decision.activate_tab = tabs.active_index;
  } else {
    // The page that asked may sit in a background tab: the pop-up belongs
    // beside it, not beside whatever the user is looking at.
    int opener = TabOfBrowser(tabs, request.opener);
    if (opener < 0 && active) opener = tabs.active_index;
    decision.action = NavigationDecision::Action::PlacePopupInNewTab;
    NewTabPlacement& place = decision.new_tab;
    place.insert_index = opener >= 0 ? opener + 1 : 0;
    place.return_index = opener;
    place.family = opener >= 0 ? tabs.tabs[opener].family : tab_serial++;
    place.frame_name = request.target;
    place.fill = request.client_option || !request.has_width || !request.has_height;
  }
  switch_done_ = true;
  return decision;
}

NavigationDecision NavigationPolicy::OnBeforeNavigate(BrowserId browser, bool top_level, std::string_view target,
                                                      const TabsView& tabs) {
  navigating_ = true;
  NavigationDecision decision;
  if (top_level) FollowTopLevel(browser, target, tabs, decision);
  return decision;
}

void NavigationPolicy::FollowTopLevel(BrowserId browser, std::string_view target, const TabsView& tabs,
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
  if (click_family_ > 0 && now_ms - click_tick_ > kClickFamilyLifetimeMs) click_family_ = 0;
  return destroy;
}

bool NavigationPolicy::EndNavigating() { return std::exchange(navigating_, false); }

}  // namespace sorvi
