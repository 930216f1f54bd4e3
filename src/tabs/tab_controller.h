#pragma once
// The tabs: opening pages from the address box, closing tabs, the toolbar
// following the active tab, the pages' notifications, the placement of
// pages that pages open, the tab menu with automatic reload, the tab strip's
// mouse handling and the lock. One per main window.
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <map>
#include <optional>
#include <string>

#include "core/tabs/lock_state.h"
#include "core/tabs/navigation_policy.h"
#include "core/tabs/tab_switch.h"
#include "tabs/browser_tab.h"

class QAction;
class QComboBox;
class QScrollArea;

namespace sorvi {

class TFormMain;
class WebBrowser;

// The address box history rule on the combo box's items: the edit text goes
// first, a case-insensitive match moves up, the oldest falls off past
// `limit`. The edit text stays as it is.
void AddToHistory(QComboBox* box, int limit);

class TabController : public QObject {
  Q_OBJECT
 public:
  explicit TabController(TFormMain& form);
  // Destroys every tab's browser and record, then shuts the engine down.
  ~TabController() override;

  // One-shot values for the next `ToolButtonNavigateClick` (Shift-JIS).
  std::string PendingCaption;
  std::string PendingKeyMacro;

  // A load key macro handed over for the idle step to play; while set, the
  // user cannot switch tabs.
  QWidget* MacroTab = nullptr;
  std::string MacroText;

  // A page asked to close its window; the active tab closes at idle.
  bool CloseRequested = false;
  // The browser made for the last new-window request, until it is placed.
  QPointer<WebBrowser> PopupBrowser;
  // -1 no drag, -2 the next left press belongs to a double-click.
  int DragTabIndex = -1;
  bool RightClickPending = false;
  // The lock target of the active tab.
  QPointer<QWidget> LockTarget;

  // ---- queries ----
  bool HasTabs() const;
  QWidget* ActiveSheet() const;
  BrowserTab* ActiveRecord() const;
  WebBrowser* ActiveBrowser() const;
  TabSheet* SheetAt(int index) const;
  BrowserTab* RecordAt(int index) const;
  // The sheet that holds `browser`, directly or through its scroll box.
  TabSheet* TabSheetOfBrowser(const WebBrowser* browser) const;
  bool IsActiveBrowser(const WebBrowser* browser) const;
  int PreviousTabIndex() const { return switch_memory_.previous_tab_index(); }
  bool Navigating() const { return policy_.navigating(); }
  const NavigationPolicy& Policy() const { return policy_; }
  const LockIndicator& Lock() const { return lock_; }

  // ---- tabs and the toolbar ----
  void ToolButtonNavigateClick(QObject* sender);
  void ToolButtonCloseClick(QObject* sender = nullptr);
  void PageControlChanging(QObject* sender, bool& allow);
  void PageControlChange(QObject* sender);
  void ToolButtonGoBackClick();
  void ToolButtonGoFowardClick();
  void ToolButtonStopClick();
  void ToolButtonRefreshClick();
  void ToolButtonPrintClick();
  void ComboBoxURLDblClick();

  // ---- notifications of every browser ----
  void CppWebBrowserBeforeNavigate2(WebBrowser* sender, const QString& url, bool top_level,
                                    const QString& target_frame_name, bool* cancel);
  void CppWebBrowserNewWindow2(WebBrowser* sender, WebBrowser** new_browser);
  void CppWebBrowserWindowSetWidth(WebBrowser* sender, int width);
  void CppWebBrowserWindowSetHeight(WebBrowser* sender, int height);
  void CppWebBrowserWindowClosing(WebBrowser* sender, bool* cancel);
  void CppWebBrowserDownloadBegin(WebBrowser* sender);
  void CppWebBrowserDownloadComplete(WebBrowser* sender);
  void CppWebBrowserProgressChange(WebBrowser* sender, int progress, int progress_max);
  void CppWebBrowserStatusTextChange(WebBrowser* sender, const QString& text);
  void CppWebBrowserTitleChange(WebBrowser* sender, const QString& text);
  void CppWebBrowserCommandStateChange(WebBrowser* sender, int command, bool enable);
  // A left press anywhere inside a page: click family and lock capture.
  void PageControlPagePressed(WebBrowser* sender);

  // ---- the tab menu and the reload timer ----
  void PopupMenuTabPopup();
  void PopupMenuTabReloadClick(QAction* item);
  void PopupMenuTabSilentClick();
  void PopupMenuTabLockClearClick();
  void PopupMenuClientClick();
  void TimerTimer();

  // ---- the tab strip (positions in the tab bar's coordinates) ----
  void PageControlDblClick();
  void PageControlMouseDown(Qt::MouseButton button, QPoint pos);
  void PageControlMouseMove(QPoint pos);
  void PageControlMouseUp(Qt::MouseButton button, QPoint pos);

  // ---- the lock button ----
  void ToolButtonLockClick(bool pressed);

  // The idle handler's tab steps, in their fixed order.
  void IdleSteps();

  // Tests force the Shift state seen by the navigate operation.
  std::optional<bool> ShiftStateForTest;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Opening and closing (tab_controller.cpp).
  void ConnectControls();
  WebBrowser* CreateBrowser(QWidget* parent);
  void WireHandlers(WebBrowser* browser);
  void WireSizeHandlers(WebBrowser* browser);
  void UnwireSizeHandlers(WebBrowser* browser);
  void InitRecord(BrowserTab& record, WebBrowser* browser);
  void ApplyPendingCaption(TabSheet* sheet);
  void EnableTabControls();
  void KeepActivation(bool was_active);
  void ActivateSheet(QWidget* sheet);
  void OnCurrentChanged();
  bool ShiftHeld() const;
  int ActiveIndex() const;

  // Placement of pop-ups (popup_placement.cpp).
  TabsView MakeTabsView() const;
  WebBrowser* BrowserById(BrowserId id) const;
  void Retire(WebBrowser* browser);
  void PlaceInNewTab(WebBrowser* popup, const NewTabPlacement& place);
  void TakeOverActiveTab(WebBrowser* popup, const Takeover& takeover, WebBrowser* sender);
  void SwitchWithBookkeeping(int index, QObject* sender);
  void ReadFrameName(WebBrowser* browser);
  void PolicyIdleSteps();

  // The lock (tab_lock.cpp).
  void ShowLock();
  void SyncLockTarget();
  void LockCaptureStep();
  void LockPageClick();

  // The tab strip (tab_strip.cpp).
  bool TabBarEvent(QEvent* event);
  void SetDragCursor(Qt::CursorShape shape);
  void EndDragCursor();

  TFormMain& form_;
  NavigationPolicy policy_;
  TabSwitchMemory switch_memory_;
  LockIndicator lock_;
  // The sheet whose state the toolbar shows; differs from the current
  // widget only while the tab control reports a user's switch.
  QPointer<QWidget> shown_sheet_;
  int switching_by_code_ = 0;
  bool drag_cursor_set_ = false;
  // Every browser made here, by id, for the policy's decisions.
  std::map<BrowserId, QPointer<WebBrowser>> browsers_;
};

}  // namespace sorvi
