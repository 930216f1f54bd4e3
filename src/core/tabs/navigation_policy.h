#pragma once
// Steers everything a page opens by itself into tabs: a new-window request
// places its pop-up at once, in a new tab next to the tab that opened it or
// in place of the active tab's browser; each navigation a browser announces
// names its tab and may bring a background tab of the clicked page's family
// forward.
//
// Browsers and tabs are plain ids and indexes here; the UI side owns the
// widgets, feeds the engine's notifications in and carries out the returned
// decisions.
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

// A page's request for a new window, with what it said about it.
struct PopupRequest {
  BrowserId opener = 0;  // the browser whose page asked
  BrowserId popup = 0;   // the browser the UI side made for it
  std::string target;    // the window name aimed at; empty for none
  std::string url;       // "about:blank" (or empty) for an empty window
  bool has_width = false;
  bool has_height = false;
  bool client_option = false;  // Option/Client: pop-ups always fill their tab
};

// Where a pop-up goes when it is placed in a new tab.
struct NewTabPlacement {
  int insert_index = 0;   // right after its opener's tab (or the active tab)
  int family = 0;         // the opener's, or a fresh one without any
  int return_index = -1;  // the opener's index, so closing returns there
  std::string frame_name;
  bool fill = true;  // false: keep the page's size in a scroll box
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

  BrowserId popup = 0;      // the browser being placed
  NewTabPlacement new_tab;  // for PlacePopupInNewTab
  Takeover takeover;        // for TakeOverActiveTab

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
  // A page asked for a new window and the UI side has made `popup` for it:
  // where it goes, decided before the engine loads anything into it. It
  // goes next to the tab of its opener (the page that asked, which may be a
  // background tab), taking that tab's family; without an opener in a tab,
  // next to the active tab. Within a burst that opened an empty window, a
  // request aimed at the active tab's name takes that tab over instead.
  // `tab_serial` is the source of family numbers; it advances when a pop-up
  // has no tab to inherit one from.
  NavigationDecision OnNewWindow(const PopupRequest& request, const TabsView& tabs, int& tab_serial);

  // A navigation announced by `browser`, of its page (`top_level`) or of a
  // frame in it; `target` is the name of the window it loads into.
  NavigationDecision OnBeforeNavigate(BrowserId browser, bool top_level, std::string_view target, const TabsView& tabs);

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

  bool blank_popup_seen() const { return blank_popup_seen_; }
  bool switch_done() const { return switch_done_; }
  int click_family() const { return click_family_; }
  const std::vector<BrowserId>& retired() const { return retired_; }

 private:
  void FollowTopLevel(BrowserId browser, std::string_view target, const TabsView& tabs, NavigationDecision& decision);

  bool blank_popup_seen_ = false;
  bool switch_done_ = false;
  bool navigating_ = false;
  int click_family_ = 0;
  std::uint64_t click_tick_ = 0;
  std::vector<BrowserId> retired_;
};

}  // namespace sorvi
