#pragma once
// Steers everything a page opens by itself into tabs: each navigation a
// browser announces either proceeds where it is, places a freshly requested
// pop-up in a new tab next to its opener, or lets the pop-up take over the
// active tab. It also brings a background tab forward when a click in a page
// of the same family made it navigate.
//
// Browsers and tabs are plain ids and indexes here; the UI side owns the
// widgets, feeds the engine's notifications in and carries out the returned
// decisions.
//
// The engine does not tell which window name a link or script aimed at, so
// `target` may well be empty. With an empty target a pop-up never takes over
// a tab, and a top-level navigation clears its tab's FrameName.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sorvi {

// A browser as the UI side names it; 0 = none.
using BrowserId = std::uint64_t;

struct TabView {
  BrowserId browser = 0;
  std::string frame_name;  // FrameName
  int family = 0;          // Family
};

// The tabs in tab order at the moment of a navigation.
struct TabsView {
  int active_index = -1;  // -1 = no active tab
  std::vector<TabView> tabs;
};

enum class PageSize { Width, Height };

// Where the pending pop-up goes when it is placed in a new tab.
struct NewTabPlacement {
  int insert_index = 0;   // right after the active tab; 0 without one
  int family = 0;         // the opener's, or a fresh one without an opener
  int return_index = -1;  // the opener's index, so closing returns there
  std::string frame_name;
  bool fill = true;       // false: keep the page's size in a scroll box
};

// The pop-up replaces the active tab's browser; the tab keeps its place,
// family and reload setting. Whether the pop-up fills the tab or takes the
// old browser's scroll box and size depends on how the old one sits.
struct Takeover {
  int tab_index = -1;
  BrowserId retired = 0;  // stop and quit it now; destroyed at the next idle
};

struct FrameNameUpdate {
  int tab_index = -1;
  std::string name;
};

struct NavigationDecision {
  enum class Action { Proceed, PlacePopupInNewTab, TakeOverActiveTab };
  Action action = Action::Proceed;

  BrowserId popup = 0;        // the browser being placed
  NewTabPlacement new_tab;    // for PlacePopupInNewTab
  Takeover takeover;          // for TakeOverActiveTab

  // Cancel the announced navigation and load `url` in `popup` afresh,
  // without the post data, headers or target of the announced one.
  bool reissue_navigation = false;
  std::string url;

  // Set this tab's FrameName (a top-level navigation of a placed browser).
  bool has_frame_name_update = false;
  FrameNameUpdate frame_name_update;

  // Switch to this tab with the user-switch bookkeeping, the navigating
  // browser acting as sender; -1 = none. A takeover switches to the tab it
  // took over, so its ReturnIndex becomes its own index.
  int activate_tab = -1;
};

class NavigationPolicy {
 public:
  // A page asked for a new window; the UI side has made `popup` for it and
  // hands it to the engine unparented. Its size requests count only while
  // `client_option` (Option/Client) is off. An earlier pop-up still waiting
  // for its first navigation is given up and retired.
  void OnNewWindow(BrowserId opener, BrowserId popup, bool client_option);

  // The page of `browser` asked for a window width or height. Returns true
  // when the UI side should apply it: only for the waiting pop-up, only with
  // Option/Client off, each of the two at most once.
  bool OnSizeRequest(BrowserId browser, PageSize kind);

  // A navigation announced by `browser`, of its page (`top_level`) or of a
  // frame in it. While a pop-up waits, whatever comes next, from any
  // browser, is taken as the pop-up's first navigation. `tab_serial` is the
  // source of family numbers; it advances when a pop-up needs a family and
  // there is no active tab to inherit one from.
  NavigationDecision OnBeforeNavigate(BrowserId browser, bool top_level,
                                      std::string_view target,
                                      std::string_view url,
                                      const TabsView& tabs, int& tab_serial);

  // A left press inside a page of the active tab.
  void OnPageClick(int active_family, std::uint64_t now_ms);

  // The UI went idle: ends the pop-up burst and the switch marker and lets
  // an old click expire. Returns the retired browsers to destroy now.
  std::vector<BrowserId> OnIdle(std::uint64_t now_ms);

  // Navigating: set by every announced navigation; cleared by the UI side
  // when the active tab completes a download (returns whether it was set,
  // which is when the lock indicator settles).
  bool navigating() const { return navigating_; }
  bool EndNavigating();

  bool new_window_pending() const { return new_window_pending_; }
  BrowserId pending_popup() const { return popup_; }
  BrowserId pending_popup_opener() const { return popup_opener_; }
  bool blank_popup_seen() const { return blank_popup_seen_; }
  bool switch_done() const { return switch_done_; }
  int click_family() const { return click_family_; }
  const std::vector<BrowserId>& retired() const { return retired_; }

 private:
  NavigationDecision PlacePopup(std::string_view target, std::string_view url,
                                const TabsView& tabs, int& tab_serial);
  void FollowTopLevel(BrowserId browser, std::string_view target,
                      const TabsView& tabs, NavigationDecision& decision);

  BrowserId popup_ = 0;
  BrowserId popup_opener_ = 0;
  bool new_window_pending_ = false;
  bool sizes_wired_ = false;
  bool width_set_ = false;
  bool height_set_ = false;

  bool blank_popup_seen_ = false;
  bool switch_done_ = false;
  bool navigating_ = false;
  int click_family_ = 0;
  std::uint64_t click_tick_ = 0;
  std::vector<BrowserId> retired_;
};

}  // namespace sorvi
