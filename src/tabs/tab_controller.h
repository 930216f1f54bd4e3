#pragma once
// The tabs: opening pages in a new or the active tab, closing tabs, switching
// with the bookkeeping of return indexes and locks, the reload timer, and
// the placement of pages that pages open (the navigation policy's decisions
// carried out). The window shows the active tab's state from the signals.
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <map>
#include <string>
#include <vector>

#include "core/settings/app_options.h"
#include "core/tabs/navigate_mode.h"
#include "core/tabs/navigation_policy.h"
#include "core/tabs/tab_switch.h"
#include "tabs/open_request.h"

class QFrame;
class QTabWidget;
class QTimer;
class QToolButton;

namespace sorvi {

class BrowserTab;
class DownloadKeeper;
class FindBar;
class FullScreenHost;
class LockIndicator;
class TabCaptions;
class TabLock;
class TabMenu;
class TabShortcuts;
class TabStripMouse;
class WebBrowser;
struct NewWindowRequest;
enum class ZoomKey;

// The widgets of the window the tabs own.
struct TabWidgets {
  QTabWidget* page_control = nullptr;  // `PageControl`
  QFrame* cover = nullptr;             // `PanelCover`, hides the page area while a tab closes
  QToolButton* lock_button = nullptr;  // `ToolButtonLock`
};

class TabController : public QObject {
  Q_OBJECT
 public:
  // `options` is the window's, read as it is at each use; `window` is the
  // main window (activation, dialogs, the tab menu's parent).
  TabController(const TabWidgets& widgets, const AppOptions& options, const QString& exe_dir, QWidget* window);
  // Destroys every tab and its browser, then shuts the engine down.
  ~TabController() override;

  // ---- queries ----
  bool HasTabs() const;
  int Count() const;
  int ActiveIndex() const;
  BrowserTab* ActiveTab() const;
  BrowserTab* TabAt(int index) const;
  WebBrowser* ActiveBrowser() const;
  // The tab that holds `browser`, directly or through its scroll box.
  BrowserTab* TabOfBrowser(const WebBrowser* browser) const;
  QString Caption(int index) const;
  int PreviousTabIndex() const { return switch_memory_.previous_tab_index(); }
  const NavigationPolicy& Policy() const { return policy_; }
  const LockIndicator& Lock() const;
  // The active tab's lock target, null when none.
  QWidget* LockTarget() const;
  int DragTabIndex() const;
  bool RightClickPending() const;
  TabMenu& Menu() const { return *menu_; }

  // ---- opening, closing, switching ----
  void SetNavigateMode(NavigateMode mode) { mode_ = mode; }
  NavigateMode Mode() const { return mode_; }
  // Opens a page in a new tab or the active one (the navigate mode, Shift
  // inverting it); a tab is always made when there is none.
  void Open(const OpenRequest& request);
  // Closes the active tab.
  void ToolButtonCloseClick(QObject* sender = nullptr);
  // A switch the user asked for; false when refused (a key macro waits).
  bool SwitchTo(int index, QObject* sender);
  void MoveTab(int from, int to);

  // ---- the active page ----
  void ToolButtonGoBackClick();
  void ToolButtonGoFowardClick();
  void ToolButtonStopClick();
  void ToolButtonRefreshClick();
  void ToolButtonPrintClick();

  // ---- the reload timer and the idle moment ----
  void TimerTimer();
  // Lock capture, a close a page asked for, the navigation policy's steps.
  void IdleSteps();

  // While a tab holds a key macro waiting to be played, the user cannot
  // leave it. Null lets go.
  void SetMacroWaiting(BrowserTab* tab);
  bool MacroWaiting() const;

  // ---- what the browsers report for the navigation policy ----
  void CppWebBrowserBeforeNavigate2(WebBrowser* sender, const QString& url, bool top_level,
                                    const QString& target_frame_name, bool* cancel);
  // Places the pop-up at once, before the engine loads anything into it.
  void CppWebBrowserNewWindow2(WebBrowser* sender, const NewWindowRequest& request, WebBrowser** new_browser);

  // ---- find, zoom, full screen and downloads of the pages ----
  // Ctrl+F: the find bar over the active tab.
  void OpenFindBar();
  FindBar* Finder() const { return find_bar_; }
  // Ctrl+plus / minus / 0 and Ctrl+wheel: the active tab's zoom.
  void Zoom(ZoomKey key);
  // The page shown full screen, null when none.
  WebBrowser* FullScreenBrowser() const;
  // Browsers of closed tabs whose downloads go on.
  int KeptDownloadBrowsers() const;

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
  // The active tab finished loading the address a key macro waited for.
  void LoadKeyMacroReady(sorvi::BrowserTab* tab, const std::string& macro);
  // The active tab's zoom for the status bar: "150%", empty at 100 %.
  void ZoomTextChanged(const QString& text);

 private:
  // Strip bookkeeping (tab_controller.cpp).
  // A tab around `browser` at `insert_index`, showing `caption` (see
  // BrowserTab::SetFixedCaption).
  BrowserTab* AddTab(WebBrowser* browser, bool fill, int insert_index, const std::string& caption);
  void WireTab(BrowserTab* tab);
  bool LeaveActiveTab(QObject* sender);
  void ArriveAtActiveTab(QObject* sender);
  void SwitchWithBookkeeping(int index, QObject* sender);
  void ActivateTab(QWidget* tab);
  void OnCurrentChanged();
  void OnTabLoadFinished(BrowserTab* tab);
  void OnTabsShown();
  void KeepActivation(bool was_active);
  bool IsActive(const BrowserTab* tab) const { return tab && tab == ActiveTab(); }

  // Pages that pages open (tab_popups.cpp).
  WebBrowser* CreateBrowser();
  void WirePolicy(WebBrowser* browser);
  TabsView MakeTabsView() const;
  WebBrowser* BrowserById(BrowserId id) const;
  void Retire(WebBrowser* browser);
  void PlaceInNewTab(WebBrowser* popup, const NewTabPlacement& place);
  void TakeOverActiveTab(WebBrowser* popup, const Takeover& takeover, WebBrowser* sender);
  void OnPagePressed();
  void PolicyIdleSteps();

  // Find, zoom, full screen and downloads (tab_page_tools.cpp).
  void MakePageTools();
  void DropPageTools();
  void WirePageTools(BrowserTab* tab);
  void OnTabDownloadAsked(BrowserTab* tab);
  void OnTabDownloadProgress(BrowserTab* tab, const QString& path, qint64 received, qint64 total);
  void OnTabDownloadFinished(BrowserTab* tab, const QString& path, bool ok, const QString& message);
  void FollowFullScreen(WebBrowser* browser);
  bool LeaveFullScreen();
  void PageToolsIdleStep();

  QTabWidget* page_control_;
  QFrame* cover_;
  const AppOptions& options_;
  QString exe_dir_;
  QWidget* window_;
  QTimer* timer_;
  TabLock* lock_;
  TabMenu* menu_;
  TabStripMouse* strip_ = nullptr;
  TabCaptions* captions_ = nullptr;

  NavigateMode mode_ = NavigateMode::NewTab;
  NavigationPolicy policy_;
  TabSwitchMemory switch_memory_;
  int tab_serial_ = 0;  // `TabSerial`: the last family given out
  // The tab whose state the window shows; differs from the current widget
  // only while the tab control reports a user's switch.
  QPointer<BrowserTab> shown_tab_;
  int switching_by_code_ = 0;
  // Tabs whose pages asked to close, in the order they asked.
  std::vector<QPointer<BrowserTab>> close_requests_;
  QPointer<BrowserTab> macro_tab_;
  // Every browser made here, by id, for the policy's decisions.
  std::map<BrowserId, QPointer<WebBrowser>> browsers_;
  FindBar* find_bar_ = nullptr;
  FullScreenHost* full_screen_ = nullptr;
  TabShortcuts* shortcuts_ = nullptr;
  DownloadKeeper* downloads_ = nullptr;
  // Tabs left empty by a page that turned into a download, with where its
  // downloads under way go: closed at the idle moment.
  struct DownloadOnlyTab {
    QPointer<BrowserTab> tab;
    QSet<QString> running;
  };
  std::vector<DownloadOnlyTab> download_only_tabs_;
};

}  // namespace sorvi
