#include "tabs/tab_controller.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "app/main_window.h"
#include "core/tabs/address_history.h"
#include "core/tabs/navigate_mode.h"
#include "core/tabs/tab_close.h"
#include "platform/cp932.h"
#include "platform/web_browser.h"

namespace sorvi {

TabController::TabController(TFormMain& form) : QObject(&form), form_(form) { ConnectControls(); }

TabController::~TabController() {
  // The tab control reports the removals below; nothing is left to follow.
  disconnect(form_.PageControl, nullptr, this, nullptr);
  form_.PageControl->tabBar()->removeEventFilter(this);
  form_.PageControl->removeEventFilter(this);
  form_.Timer->stop();
  EndDragCursor();
  MacroTab = nullptr;
  ++switching_by_code_;
  while (form_.PageControl->count() > 0) {
    auto* sheet = static_cast<TabSheet*>(form_.PageControl->widget(0));
    form_.PageControl->removeTab(0);
    if (WebBrowser* browser = sheet->Tag()->Browser) {
      browser->DisconnectAll();
      delete browser;
    }
    sheet->DropRecord();
    delete sheet;
  }
  // Pop-ups never placed and browsers retired since the last idle moment.
  for (auto& [id, browser] : browsers_) {
    if (browser) {
      browser->DisconnectAll();
      delete browser.data();
    }
  }
  browsers_.clear();
  WebEngine::Shutdown();
}

void TabController::ConnectControls() {
  TFormMain& f = form_;
  connect(f.ToolButtonNavigate, &QToolButton::clicked, this, [this] { ToolButtonNavigateClick(form_.ToolButtonNavigate); });
  connect(f.ToolButtonClose, &QToolButton::clicked, this, [this] { ToolButtonCloseClick(form_.ToolButtonClose); });
  connect(f.ToolButtonGoBack, &QToolButton::clicked, this, &TabController::ToolButtonGoBackClick);
  connect(f.ToolButtonGoFoward, &QToolButton::clicked, this, &TabController::ToolButtonGoFowardClick);
  connect(f.ToolButtonStop, &QToolButton::clicked, this, &TabController::ToolButtonStopClick);
  connect(f.ToolButtonRefresh, &QToolButton::clicked, this, &TabController::ToolButtonRefreshClick);
  connect(f.ToolButtonPrint, &QToolButton::clicked, this, &TabController::ToolButtonPrintClick);
  connect(f.ToolButtonLock, &QToolButton::toggled, this, &TabController::ToolButtonLockClick);
  if (QLineEdit* edit = f.ComboBoxURL->lineEdit()) {
    connect(edit, &QLineEdit::returnPressed, this, [this] { ToolButtonNavigateClick(form_.ComboBoxURL); });
    edit->installEventFilter(this);
  }
  connect(f.PageControl, &QTabWidget::currentChanged, this, &TabController::OnCurrentChanged);
  f.PageControl->tabBar()->installEventFilter(this);
  f.PageControl->installEventFilter(this);

  for (QAction* item : f.PopupMenuTabReloadGroup->actions())
    connect(item, &QAction::triggered, this, [this, item] { PopupMenuTabReloadClick(item); });
  connect(f.PopupMenuTabSilent, &QAction::triggered, this, &TabController::PopupMenuTabSilentClick);
  connect(f.PopupMenuTabLockClear, &QAction::triggered, this, &TabController::PopupMenuTabLockClearClick);
  connect(f.PopupMenuClient, &QAction::triggered, this, &TabController::PopupMenuClientClick);
  connect(f.Timer, &QTimer::timeout, this, &TabController::TimerTimer);
}

// ---- queries ---------------------------------------------------------------

bool TabController::HasTabs() const { return form_.PageControl->count() > 0; }

QWidget* TabController::ActiveSheet() const { return form_.PageControl->currentWidget(); }

BrowserTab* TabController::ActiveRecord() const {
  auto* sheet = qobject_cast<TabSheet*>(ActiveSheet());
  return sheet ? sheet->Tag() : nullptr;
}

WebBrowser* TabController::ActiveBrowser() const {
  BrowserTab* record = ActiveRecord();
  return record ? record->Browser : nullptr;
}

TabSheet* TabController::SheetAt(int index) const {
  return qobject_cast<TabSheet*>(form_.PageControl->widget(index));
}

BrowserTab* TabController::RecordAt(int index) const {
  TabSheet* sheet = SheetAt(index);
  return sheet ? sheet->Tag() : nullptr;
}

TabSheet* TabController::TabSheetOfBrowser(const WebBrowser* browser) const {
  for (QWidget* w = browser ? browser->parentWidget() : nullptr; w; w = w->parentWidget()) {
    if (auto* sheet = qobject_cast<TabSheet*>(w)) return sheet;
  }
  return nullptr;
}

bool TabController::IsActiveBrowser(const WebBrowser* browser) const {
  TabSheet* sheet = TabSheetOfBrowser(browser);
  return sheet && sheet == ActiveSheet();
}

int TabController::ActiveIndex() const { return form_.PageControl->currentIndex(); }

bool TabController::ShiftHeld() const {
  if (ShiftStateForTest) return *ShiftStateForTest;
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

// ---- browsers --------------------------------------------------------------

WebBrowser* TabController::CreateBrowser(QWidget* parent) {
  // The engine starts with the first browser, and keeps its data beside the
  // program's other files.
  if (!WebEngine::IsStarted()) WebEngine::SetStoragePath(form_.ExeDir + "WebData");
  WebBrowser* browser = WebBrowser::Create(parent);
  browsers_[browser->Id()] = browser;
  return browser;
}

void TabController::WireHandlers(WebBrowser* b) {
  const auto direct = Qt::DirectConnection;
  connect(b, &WebBrowser::CommandStateChange, this, &TabController::CppWebBrowserCommandStateChange, direct);
  connect(b, &WebBrowser::DownloadBegin, this, &TabController::CppWebBrowserDownloadBegin, direct);
  connect(b, &WebBrowser::DownloadComplete, this, &TabController::CppWebBrowserDownloadComplete, direct);
  connect(b, &WebBrowser::NewWindow2, this, &TabController::CppWebBrowserNewWindow2, direct);
  connect(b, &WebBrowser::ProgressChange, this, &TabController::CppWebBrowserProgressChange, direct);
  connect(b, &WebBrowser::StatusTextChange, this, &TabController::CppWebBrowserStatusTextChange, direct);
  connect(b, &WebBrowser::TitleChange, this, &TabController::CppWebBrowserTitleChange, direct);
  connect(b, &WebBrowser::WindowClosing, this, &TabController::CppWebBrowserWindowClosing, direct);
  connect(b, &WebBrowser::BeforeNavigate2, this, &TabController::CppWebBrowserBeforeNavigate2, direct);
  connect(b, &WebBrowser::PageMousePressed, this, &TabController::PageControlPagePressed, direct);
}

void TabController::WireSizeHandlers(WebBrowser* b) {
  connect(b, &WebBrowser::WindowSetWidth, this, &TabController::CppWebBrowserWindowSetWidth, Qt::DirectConnection);
  connect(b, &WebBrowser::WindowSetHeight, this, &TabController::CppWebBrowserWindowSetHeight, Qt::DirectConnection);
}

void TabController::UnwireSizeHandlers(WebBrowser* b) {
  disconnect(b, &WebBrowser::WindowSetWidth, this, nullptr);
  disconnect(b, &WebBrowser::WindowSetHeight, this, nullptr);
}

void TabController::InitRecord(BrowserTab& record, WebBrowser* browser) {
  record.Browser = browser;
  record.ActiveObject = nullptr;
  record.LockDown = form_.Options.FocusLock;
  record.LockState = 0;
  record.LockOffsetX = record.LockOffsetY = 0;
  record.LockTarget = nullptr;
  record.FrameName.clear();
  record.CanGoBack = record.CanGoForward = false;
  record.ReloadInterval = record.ReloadCount = 0;
}

void TabController::ApplyPendingCaption(TabSheet* sheet) {
  BrowserTab* record = sheet->Tag();
  const int index = form_.PageControl->indexOf(sheet);
  if (PendingCaption.empty()) {
    record->FixedCaption = false;
    form_.PageControl->setTabText(index, QStringLiteral("Loading..."));
  } else {
    record->FixedCaption = true;
    form_.PageControl->setTabText(index, SjisToQString(PendingCaption));
    PendingCaption.clear();
  }
}

void TabController::EnableTabControls() {
  TFormMain& f = form_;
  f.SpeedButtonOption->setEnabled(true);
  f.ToolButtonLock->setEnabled(true);
  f.ToolButtonLock->setChecked(f.Options.FocusLock);
  f.ToolButtonRefresh->setEnabled(true);
  f.ToolButtonClose->setEnabled(true);
  f.ToolButtonPrint->setEnabled(true);
  // The engine reports back and forward only when they change; a fresh
  // browser has neither.
  f.ToolButtonGoBack->setEnabled(false);
  f.ToolButtonGoFoward->setEnabled(false);
}

// ---- switching -------------------------------------------------------------

void TabController::KeepActivation(bool was_active) {
  // The first web view makes Qt recreate the main window's native window
  // for the view's way of drawing, and the new one is not active: give the
  // user's window its activation back.
  if (was_active && !form_.isActiveWindow()) {
    form_.raise();
    form_.activateWindow();
  }
}

void TabController::ActivateSheet(QWidget* sheet) {
  ++switching_by_code_;
  form_.PageControl->setCurrentWidget(sheet);
  --switching_by_code_;
  shown_sheet_ = sheet;
}

void TabController::OnCurrentChanged() {
  if (switching_by_code_ > 0) return;
  QWidget* now = form_.PageControl->currentWidget();
  if (!shown_sheet_ || now == shown_sheet_) {
    shown_sheet_ = now;
    return;
  }
  // The user picked a tab (click, wheel or keys on the tab strip).
  bool allow = true;
  PageControlChanging(form_.PageControl, allow);
  if (!allow) {
    ActivateSheet(shown_sheet_);
    return;
  }
  shown_sheet_ = now;
  PageControlChange(form_.PageControl);
}

void TabController::PageControlChanging(QObject* sender, bool& allow) {
  auto* sheet = qobject_cast<TabSheet*>(shown_sheet_.data());
  if (!sheet) return;
  const int index = form_.PageControl->indexOf(sheet);
  if (!switch_memory_.Leave(index, MacroTab != nullptr, sender != nullptr)) {
    allow = false;
    return;
  }
  BrowserTab* record = sheet->Tag();
  const SavedLock saved = lock_.SaveForTabSwitch();
  record->LockDown = form_.ToolButtonLock->isChecked();
  record->LockState = saved.state;
  record->LockTarget = LockTarget;
  record->CanGoBack = form_.ToolButtonGoBack->isEnabled();
  record->CanGoForward = form_.ToolButtonGoFoward->isEnabled();
}

void TabController::PageControlChange(QObject* sender) {
  BrowserTab* record = ActiveRecord();
  if (!record) return;
  shown_sheet_ = ActiveSheet();
  TFormMain& f = form_;
  f.ToolButtonLock->setChecked(record->LockDown);
  LockTarget = record->LockTarget;
  lock_.RestoreForTabSwitch(
      SavedLock{record->LockDown, record->LockState, reinterpret_cast<LockTargetId>(LockTarget.data())});
  ShowLock();
  f.ToolButtonGoBack->setEnabled(record->CanGoBack);
  f.ToolButtonGoFoward->setEnabled(record->CanGoForward);
  f.ToolButtonStop->setEnabled(false);
  f.ComboBoxURL->setEditText(record->Browser ? record->Browser->LocationURL() : QString());
  f.StatusPanel0->clear();
  f.ProgressBar->hide();
  switch_memory_.Arrive(sender != nullptr, record->ReturnIndex);
}

// ---- opening ---------------------------------------------------------------

void TabController::ToolButtonNavigateClick(QObject*) {
  TFormMain& f = form_;
  const QString address = f.ComboBoxURL->currentText();
  if (address.isEmpty()) return;
  AddToHistory(f.ComboBoxURL, static_cast<int>(kAddressHistoryLimit));
  const bool shift = ShiftHeld();
  const NavigateMode mode = f.NewTabModeChecked() ? NavigateMode::NewTab : NavigateMode::Overwrite;

  TabSheet* sheet = nullptr;
  bool keep_activation = false;
  if (OpensNewTab(HasTabs(), mode, shift)) {
    const bool was_active = f.isActiveWindow();
    bool allow = true;
    PageControlChanging(nullptr, allow);
    PopupMenuTabLockClearClick();
    const int opener_index = ActiveIndex();
    sheet = new TabSheet(form_.PageControl);
    WebBrowser* browser = CreateBrowser(sheet);
    browser->SetFillsParent(true);
    browser->SetSilent(f.Options.Silent);
    WireHandlers(browser);
    browser->SetRegisterAsBrowser(f.Options.LinkTarget);
    BrowserTab* record = sheet->Tag();
    InitRecord(*record, browser);
    record->ReturnIndex = opener_index;
    record->Family = ++f.TabSerial;
    ++switching_by_code_;
    f.PageControl->addTab(sheet, QString());
    --switching_by_code_;
    ApplyPendingCaption(sheet);
    ActivateSheet(sheet);
    EnableTabControls();
    keep_activation = was_active;
  } else {
    sheet = static_cast<TabSheet*>(ActiveSheet());
    ApplyPendingCaption(sheet);
  }
  BrowserTab* record = sheet->Tag();
  record->LoadKeyMacro = PendingKeyMacro;
  PendingKeyMacro.clear();
  record->LoadKeyMacroAddress = address;
  record->Browser->Navigate(address);
  record->Browser->FocusPage();
  KeepActivation(keep_activation);
}

// ---- closing ---------------------------------------------------------------

void TabController::ToolButtonCloseClick(QObject*) {
  TFormMain& f = form_;
  if (!HasTabs()) return;
  auto* sheet = static_cast<TabSheet*>(ActiveSheet());
  const int closed = f.PageControl->indexOf(sheet);
  std::vector<int> return_indexes;
  for (int i = 0; i < f.PageControl->count(); ++i) return_indexes.push_back(RecordAt(i)->ReturnIndex);
  const CloseResult result = CloseTab(return_indexes, closed);

  if (f.PageControl->count() > 1) {
    // Hides the page area while the next tab is brought up.
    const int top = f.PageControl->y() + f.PageControl->tabBar()->height();
    f.PanelCover->setFixedHeight(sheet->height());
    f.PanelCover->setGeometry(f.PageControl->x(), top, f.PageControl->width(), sheet->height());
    f.PanelCover->raise();
    f.PanelCover->show();
  }
  if (MacroTab == sheet) {
    MacroTab = nullptr;
    MacroText.clear();
  }

  ++switching_by_code_;
  if (WebBrowser* browser = sheet->Tag()->Browser) {
    browser->DisconnectAll();
    delete browser;
  }
  sheet->DropRecord();
  f.PageControl->removeTab(closed);
  delete sheet;
  --switching_by_code_;
  shown_sheet_ = nullptr;

  if (!HasTabs()) {
    f.SpeedButtonOption->setEnabled(false);
    f.Timer->stop();
    f.ToolButtonLock->setEnabled(false);
    f.ToolButtonRefresh->setEnabled(false);
    f.ToolButtonClose->setEnabled(false);
    f.ToolButtonPrint->setEnabled(false);
    return;
  }
  for (int i = 0; i < f.PageControl->count(); ++i) RecordAt(i)->ReturnIndex = result.return_indexes[i];
  ActivateSheet(f.PageControl->widget(result.next_active));
  f.PanelCover->hide();
  PageControlChange(nullptr);
}

// ---- toolbar ---------------------------------------------------------------

void TabController::ToolButtonGoBackClick() {
  if (WebBrowser* browser = ActiveBrowser()) browser->GoBack();
}

void TabController::ToolButtonGoFowardClick() {
  if (WebBrowser* browser = ActiveBrowser()) browser->GoForward();
}

void TabController::ToolButtonStopClick() {
  if (WebBrowser* browser = ActiveBrowser()) browser->Stop();
}

void TabController::ToolButtonRefreshClick() {
  if (WebBrowser* browser = ActiveBrowser()) browser->Refresh();
}

void TabController::ToolButtonPrintClick() {
  if (WebBrowser* browser = ActiveBrowser()) browser->Print();
}

// ---- idle ------------------------------------------------------------------

void TabController::IdleSteps() {
  LockCaptureStep();
  if (CloseRequested) {
    CloseRequested = false;
    ToolButtonCloseClick(nullptr);
  }
  PolicyIdleSteps();
}

}  // namespace sorvi
