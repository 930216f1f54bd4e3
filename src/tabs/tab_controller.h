#pragma once
// The tabs: opening pages in a new or the active tab, closing tabs, switching
// with the bookkeeping of return indexes and locks, the reload timer, and
// the tabs the navigation policy asks for (pop-ups placed, tabs brought
// forward). The window shows the active tab's state from the signals.
#include <QObject>
#include <QPointer>
#include <QString>
#include <string>
#include <vector>

#include "core/settings/app_options.h"
#include "core/tabs/navigate_mode.h"
#include "core/tabs/navigation_policy.h"
#include "core/tabs/session.h"
#include "core/tabs/tab_switch.h"
#include "core/tabs/tile_layout.h"
#include "tabs/active_page_host.h"
#include "tabs/active_tab_host.h"
#include "tabs/open_request.h"
#include "tabs/popup_placement.h"

class QFrame;
class QTabBar;
class QTimer;
class QToolButton;

namespace sorvi {

class TabStack;

class BrowserTab;
class HiddenTabKeeper;
class LockIndicator;
class OpenQueue;
class PageTools;
class TabCaptions;
class TabLock;
class TabMenu;
class TabSleeper;
class TabStripMouse;
class TileArea;
class WebBrowser;

// The widgets of the window the tabs own.
struct TabWidgets {
  TabStack* page_control = nullptr;    // `PageControl`
  QFrame* cover = nullptr;             // `PanelCover`, hides the page area while a tab closes
  QToolButton* lock_button = nullptr;  // `ToolButtonLock`
};

class TabController : public QObject, public ActivePageHost, private PopupHost, private ActiveTabHost {
  Q_OBJECT
 public:
  // `options` is the window's, read as it is at each use; `window` is the
  // main window (activation, dialogs, the tab menu's parent).
  TabController(const TabWidgets& widgets, const AppOptions& options, const QString& data_dir, QWidget* window);
  // Destroys every tab and its browser, then shuts the engine down.
  ~TabController() override;

  // ---- queries ----
  bool HasTabs() const;
  int Count() const;
  int ActiveIndex() const;
  BrowserTab* ActiveTab() const override;
  BrowserTab* TabAt(int index) const override;
  WebBrowser* ActiveBrowser() const;
  // The tab that holds `browser`, directly or through its scroll box.
  BrowserTab* TabOfBrowser(const WebBrowser* browser) const;
  QString Caption(int index) const;
  int PreviousTabIndex() const { return switch_memory_.previous_tab_index(); }
  const NavigationPolicy& Policy() const { return popups_->Policy(); }
  // Where pages' new windows go; the owner of every browser.
  PopupPlacement& Popups() const { return *popups_; }
  // Find, zoom, full screen and downloads of the pages.
  PageTools& Tools() const { return *tools_; }
  const LockIndicator& Lock() const;
  // The active tab's lock target, null when none.
  QWidget* LockTarget() const;
  int DragTabIndex() const;
  bool RightClickPending() const;
  TabMenu& Menu() const { return *menu_; }
  // How many tabs' pages are on screen at once, and how they are arranged.
  TileLayout Tiles() const;
  void SetTiles(TileLayout layout);
  // The tab's page is on screen (in a tile, or as the active tab).
  bool IsShown(const BrowserTab* tab) const;
  int IndexOf(const BrowserTab* tab) const;
  QTabBar* Strip() const;
  // A key macro waits to be played in `tab`.
  bool MacroWaitingIn(const BrowserTab* tab) const;
  // Puts tabs out of sight to sleep (see TabSleeper).
  TabSleeper& Sleeper() const { return *sleeper_; }
  // The tab gives its browser up and waits, dimmed, until it is shown.
  void PutToSleep(BrowserTab* tab);

  // ---- opening, closing, switching ----
  void SetNavigateMode(NavigateMode mode) { mode_ = mode; }
  NavigateMode Mode() const { return mode_; }
  // Opens a page in a new tab or the active one (the navigate mode, Shift
  // inverting it); a tab is always made when there is none.
  void Open(const OpenRequest& request);
  // Pages opened one after another, each once the one before has loaded
  // and played its key macro (see OpenQueue); OpenDue asks for each.
  void OpenEach(std::vector<OpenRequest> requests);
  // Closes the active tab.
  void CloseActiveTab();
  // A switch the user asked for; false when refused (a key macro waits).
  bool SwitchTo(int index, QObject* sender);
  void MoveTab(int from, int to);

  // ---- the tabs kept between runs ----
  // Opens the tabs of a kept session after any open ones; only the current
  // one loads now, each other one when it is first shown or its reload
  // falls due.
  void RestoreSession(const Session& session);
  // The open tabs as a session keeps them (see SessionToKeep for which).
  Session SessionToKeep() const;

  // ---- the active page (the tool bar; a double-click on the strip reloads) ----
  void GoBack();
  void GoForward();
  void StopActive();
  void ReloadActive();
  void PrintActive();

  // ---- the reload timer and the idle moment ----
  // One tick of the reload timer: reloads the tabs whose interval is up.
  void ReloadTick();
  // Lock capture, a close a page asked for, the navigation policy's steps,
  // the views of long hidden tabs, the pages' tools, the next page of
  // OpenEach; in this order.
  void IdleSteps();

  // ---- what the key macros ask (see ActivePageHost) ----
  QWidget* ActivePage() const override;
  WebBrowser* BrowserOfPage(const QWidget* page) const override;
  QWidget* TabArea() const override;
  bool FocusLockTarget() override;
  void SetMacroWaiting(QWidget* page) override;
  bool MacroWaiting() const override;

 signals:
  // The active tab's state, for the address box, status bar and tool bar.
  void AddressChanged(const QString& address);
  void StatusTextChanged(const QString& text);
  // Of `progress_max` while loading; 0 or less when done.
  void ProgressChanged(int progress, int progress_max);
  void BackEnabledChanged(bool enabled);
  void ForwardEnabledChanged(bool enabled);
  void StopEnabledChanged(bool enabled);
  void TabCountChanged(int count);
  // A tab's page finished loading, whichever tab.
  void TabLoadFinished(sorvi::BrowserTab* tab);
  // The active tab finished loading the address a key macro waited for.
  void LoadKeyMacroReady(sorvi::BrowserTab* tab, const std::string& macro);
  // The active tab's zoom for the status bar: "150%", empty at 100 %.
  void ZoomTextChanged(const QString& text);
  // A page of OpenEach is due: open it as any request.
  void OpenDue(const sorvi::OpenRequest& request);
  // The user chose a layout of tiles.
  void TilesChosen(sorvi::TileLayout layout);

 private:
  // A tab around `browser` at `insert_index`, showing `caption` (see
  // BrowserTab::SetFixedCaption).
  BrowserTab* AddTab(WebBrowser* browser, bool fill, int insert_index, const std::string& caption);
  void WireTab(BrowserTab* tab);
  // The user's switches are refused while a key macro waits (false); the
  // program's own (a pop-up, a new tab, kept tabs, the navigation policy)
  // are not.
  enum class SwitchBy { kUser, kProgram };
  bool LeaveActiveTab(QObject* sender, SwitchBy by);
  void ArriveAtActiveTab(QObject* sender);
  void ActivateTab(QWidget* tab);
  // Closes `tab`, whichever tab is active.
  void Close(BrowserTab* tab) override;
  void OnCurrentChanged();
  void OnTabLoadFinished(BrowserTab* tab);
  void OnPagePressed(BrowserTab* tab);
  void OnTabsShown();
  // A tab brought back from the last run or asleep gets its browser and
  // loads.
  void LoadWaitingPage(BrowserTab* tab);
  // The status while the active tab loads its page again.
  QString WakingStatus(const BrowserTab* tab) const;
  void LoadShownPages();
  void KeepActivation(bool was_active);
  bool IsActive(const BrowserTab* tab) const { return tab && tab == ActiveTab(); }

  // What the pop-up placement asks of the strip.
  TabsView PolicyView() const override;
  void AddPopupTab(WebBrowser* popup, const NewTabPlacement& place) override;
  void SwitchWithBookkeeping(int index, QObject* sender) override;
  void WakeWith(BrowserTab* tab, WebBrowser* popup) override;

  TabStack* page_control_;
  QFrame* cover_;
  const AppOptions& options_;
  QWidget* window_;
  QTimer* timer_;
  TabLock* lock_;
  TabMenu* menu_;
  TabStripMouse* strip_ = nullptr;
  TabCaptions* captions_ = nullptr;
  TileArea* tiles_ = nullptr;
  OpenQueue* queue_ = nullptr;

  PopupPlacement* popups_ = nullptr;
  PageTools* tools_ = nullptr;
  HiddenTabKeeper* hidden_tabs_ = nullptr;
  TabSleeper* sleeper_ = nullptr;

  NavigateMode mode_ = NavigateMode::NewTab;
  TabSwitchMemory switch_memory_;
  // The tab whose state the window shows; differs from the current widget
  // only while the tab control reports a user's switch.
  QPointer<BrowserTab> shown_tab_;
  int switching_by_code_ = 0;
  // Tabs whose pages asked to close, in the order they asked.
  std::vector<QPointer<BrowserTab>> close_requests_;
  QPointer<BrowserTab> macro_tab_;
};

}  // namespace sorvi
