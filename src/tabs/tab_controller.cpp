#include "tabs/tab_controller.h"

#include <QFrame>
#include <QMenu>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "core/help/help_tab.h"
#include "core/tabs/reload_ticks.h"
#include "core/tabs/tab_close.h"
#include "platform/cp932.h"
#include "platform/memory_trim.h"
#include "platform/web_browser.h"
#include "tabs/browser_tab.h"
#include "tabs/hidden_tab_keeper.h"
#include "tabs/open_queue.h"
#include "tabs/page_tools.h"
#include "tabs/tab_captions.h"
#include "tabs/tab_lock.h"
#include "tabs/tab_menu.h"
#include "tabs/tab_sleeper.h"
#include "tabs/tab_stack.h"
#include "tabs/tab_strip.h"
#include "tabs/tile_area.h"

namespace sorvi {

TabController::TabController(const TabWidgets& widgets, const AppOptions& options, const QString& data_dir,
                             QWidget* window)
    : QObject(window), page_control_(widgets.page_control), cover_(widgets.cover), options_(options), window_(window) {
  timer_ = new QTimer(this);
  timer_->setObjectName("Timer");
  timer_->setInterval(kReloadTimerPeriodMs);
  connect(timer_, &QTimer::timeout, this, &TabController::ReloadTick);
  lock_ = new TabLock(widgets.lock_button, this);
  menu_ = new TabMenu(*this, *lock_, window);
  menu_->setParent(this);
  // A running timer keeps its rhythm.
  connect(menu_, &TabMenu::ReloadChosen, this, [this] {
    if (!timer_->isActive()) timer_->start();
  });
  strip_ = new TabStripMouse(page_control_, *this);
  captions_ = new TabCaptions(page_control_, this);
  tiles_ = new TileArea(page_control_, menu_->Menu(), this);
  menu_->Menu()->addSeparator();
  menu_->Menu()->addMenu(tiles_->Menu());
  connect(tiles_, &TileArea::LayoutChosen, this, &TabController::TilesChosen);
  connect(tiles_, &TileArea::Arranged, this, &TabController::LoadShownPages);
  queue_ = new OpenQueue(*this, this);
  connect(queue_, &OpenQueue::OpenDue, this, &TabController::OpenDue);
  connect(page_control_, &TabStack::currentChanged, this, &TabController::OnCurrentChanged);
  popups_ = new PopupPlacement(*this, options_, data_dir, this);
  tools_ = new PageTools(page_control_, window_, *this, this);
  connect(tools_, &PageTools::StatusTextChanged, this, &TabController::StatusTextChanged);
  connect(tools_, &PageTools::ProgressChanged, this, &TabController::ProgressChanged);
  connect(tools_, &PageTools::ZoomTextChanged, this, &TabController::ZoomTextChanged);
  hidden_tabs_ = new HiddenTabKeeper(this);
  sleeper_ = new TabSleeper(*this, options_, this);
}

TabController::~TabController() {
  // The tab control reports the removals below; nothing is left to follow.
  disconnect(page_control_, nullptr, this, nullptr);
  delete std::exchange(tiles_, nullptr);
  tools_->Drop();
  delete strip_;
  timer_->stop();
  macro_tab_ = nullptr;
  ++switching_by_code_;
  while (page_control_->count() > 0) {
    QWidget* tab = page_control_->widget(0);
    page_control_->removeTab(0);
    delete tab;
  }
  popups_->DeleteBrowsers();
  WebEngine::Shutdown();
}

// ---- queries ---------------------------------------------------------------

bool TabController::HasTabs() const { return page_control_->count() > 0; }
int TabController::Count() const { return page_control_->count(); }
int TabController::ActiveIndex() const { return page_control_->currentIndex(); }
BrowserTab* TabController::ActiveTab() const { return qobject_cast<BrowserTab*>(page_control_->currentWidget()); }
BrowserTab* TabController::TabAt(int index) const { return qobject_cast<BrowserTab*>(page_control_->widget(index)); }
QString TabController::Caption(int index) const {
  captions_->Flush();
  return page_control_->tabText(index);
}
const LockIndicator& TabController::Lock() const { return lock_->Indicator(); }
QWidget* TabController::LockTarget() const { return lock_->Target(); }
int TabController::DragTabIndex() const { return strip_->DragTabIndex(); }
bool TabController::RightClickPending() const { return strip_->RightClickPending(); }
TileLayout TabController::Tiles() const { return tiles_->Layout(); }
void TabController::SetTiles(TileLayout layout) { tiles_->SetLayout(layout); }
bool TabController::IsShown(const BrowserTab* tab) const { return tiles_->IsShown(tab); }
int TabController::IndexOf(const BrowserTab* tab) const { return page_control_->indexOf(tab); }
QTabBar* TabController::Strip() const { return page_control_->tabBar(); }
bool TabController::MacroWaitingIn(const BrowserTab* tab) const { return macro_tab_ && macro_tab_ == tab; }
void TabController::SetMacroWaiting(QWidget* page) { macro_tab_ = qobject_cast<BrowserTab*>(page); }
QWidget* TabController::ActivePage() const { return ActiveTab(); }
QWidget* TabController::TabArea() const { return page_control_; }

WebBrowser* TabController::BrowserOfPage(const QWidget* page) const {
  const auto* tab = qobject_cast<const BrowserTab*>(page);
  return tab ? tab->Browser() : nullptr;
}

bool TabController::FocusLockTarget() {
  BrowserTab* tab = ActiveTab();
  QWidget* target = LockTarget();
  WebBrowser* browser = tab ? tab->Browser() : nullptr;
  if (!target || !browser || !browser->ContainsWidget(target)) return false;
  target->setFocus(Qt::OtherFocusReason);
  browser->SendClick(target, tab->LockOffset());
  return true;
}
bool TabController::MacroWaiting() const { return macro_tab_ != nullptr; }

WebBrowser* TabController::ActiveBrowser() const {
  BrowserTab* tab = ActiveTab();
  return tab ? tab->Browser() : nullptr;
}

BrowserTab* TabController::TabOfBrowser(const WebBrowser* browser) const {
  for (QWidget* w = browser ? browser->parentWidget() : nullptr; w; w = w->parentWidget()) {
    if (auto* tab = qobject_cast<BrowserTab*>(w)) return tab;
  }
  return nullptr;
}

// ---- tabs ------------------------------------------------------------------

BrowserTab* TabController::AddTab(WebBrowser* browser, bool fill, int insert_index, const std::string& caption) {
  auto* tab = new BrowserTab(browser, fill, page_control_);
  if (browser) browser->SetSilent(options_.Silent);
  TabLockMemory lock;
  lock.down = options_.FocusLock;
  tab->SetLockMemory(lock);
  WireTab(tab);
  tab->SetFixedCaption(caption);
  ++switching_by_code_;
  // Inserted with its caption: one layout of the strip, not two.
  page_control_->insertTab(insert_index, tab, BrowserTab::FixedCaptionText(caption));
  --switching_by_code_;
  return tab;
}

void TabController::WireTab(BrowserTab* tab) {
  connect(tab, &BrowserTab::CaptionChanged, captions_, &TabCaptions::Set);
  connect(tab, &BrowserTab::StatusTextChanged, this, [this](BrowserTab* t, const QString& text) {
    if (IsActive(t)) emit StatusTextChanged(text);
  });
  connect(tab, &BrowserTab::ProgressChanged, this, [this](BrowserTab* t, int progress, int progress_max) {
    if (IsActive(t)) emit ProgressChanged(progress, progress_max);
  });
  connect(tab, &BrowserTab::HistoryChanged, this, [this](BrowserTab* t) {
    if (!IsActive(t)) return;
    emit BackEnabledChanged(t->CanGoBack());
    emit ForwardEnabledChanged(t->CanGoForward());
  });
  connect(tab, &BrowserTab::BusyChanged, this, [this](BrowserTab* t, bool busy) {
    if (IsActive(t)) emit StopEnabledChanged(busy);
  });
  connect(tab, &BrowserTab::LoadStarted, this, [this](BrowserTab* t) {
    if (IsActive(t) && popups_->Policy().navigating()) lock_->LoadStarted();
  });
  connect(tab, &BrowserTab::LoadFinished, this, &TabController::OnTabLoadFinished);
  connect(tab, &BrowserTab::CloseRequested, this, [this](BrowserTab* t) {
    // Closed at the next idle moment, outside the page's own call.
    if (t != ActiveTab()) ActivateTab(t);
    if (std::find(close_requests_.begin(), close_requests_.end(), t) == close_requests_.end())
      close_requests_.push_back(t);
  });
  connect(tab, &BrowserTab::PagePressed, this, &TabController::OnPagePressed);
  tools_->Watch(tab);
  hidden_tabs_->Watch(tab);
  sleeper_->Watch(tab);
}

void TabController::OnTabsShown() {
  emit TabCountChanged(Count());
  lock_->EnableButton(true);
  lock_->SetPressed(options_.FocusLock);
  // The engine reports back and forward only when they change; a fresh
  // browser has neither.
  emit BackEnabledChanged(false);
  emit ForwardEnabledChanged(false);
}

void TabController::KeepActivation(bool was_active) {
  // The first web view makes Qt recreate the main window's native window
  // for the view's way of drawing, and the new one is not active: give the
  // user's window its activation back.
  if (was_active && !window_->isActiveWindow()) {
    window_->raise();
    window_->activateWindow();
  }
}

void TabController::ActivateTab(QWidget* tab) {
  ++switching_by_code_;
  page_control_->setCurrentWidget(tab);
  --switching_by_code_;
  shown_tab_ = qobject_cast<BrowserTab*>(tab);
  tiles_->Selected(tab);
  LoadWaitingPage(shown_tab_);
}

void TabController::OnCurrentChanged() {
  if (switching_by_code_ > 0) return;
  BrowserTab* now = ActiveTab();
  if (!shown_tab_ || now == shown_tab_) {
    shown_tab_ = now;
    LoadWaitingPage(now);
    return;
  }
  // The user picked a tab (click, wheel or keys on the tab strip).
  if (!LeaveActiveTab(page_control_, SwitchBy::kUser)) {
    ActivateTab(shown_tab_);
    return;
  }
  shown_tab_ = now;
  tiles_->Selected(now);
  ArriveAtActiveTab(page_control_);
}

bool TabController::LeaveActiveTab(QObject* sender, SwitchBy by) {
  BrowserTab* tab = shown_tab_;
  if (!tab) return true;
  const bool allowed = switch_memory_.Leave(page_control_->indexOf(tab), MacroWaiting(), sender != nullptr);
  if (!allowed && by == SwitchBy::kUser) return false;
  // A switch the program makes happens anyway: the tab left keeps its lock.
  tab->SetLockMemory(lock_->Save());
  return true;
}

void TabController::ArriveAtActiveTab(QObject* sender) {
  BrowserTab* tab = ActiveTab();
  if (!tab) return;
  shown_tab_ = tab;
  LoadWaitingPage(tab);
  lock_->Restore(tab->LockMemory());
  emit BackEnabledChanged(tab->CanGoBack());
  emit ForwardEnabledChanged(tab->CanGoForward());
  emit StopEnabledChanged(false);
  emit AddressChanged(tab->Browser() ? tab->Browser()->LocationURL() : QString());
  emit StatusTextChanged(WakingStatus(tab));
  emit ProgressChanged(0, 0);
  int return_index = tab->ReturnIndex();
  switch_memory_.Arrive(sender != nullptr, return_index);
  tab->SetReturnIndex(return_index);
}

void TabController::SwitchWithBookkeeping(int index, QObject* sender) {
  LeaveActiveTab(sender, SwitchBy::kProgram);
  ActivateTab(page_control_->widget(index));
  ArriveAtActiveTab(sender);
}

bool TabController::SwitchTo(int index, QObject* sender) {
  if (index < 0 || index >= Count()) return false;
  if (!LeaveActiveTab(sender, SwitchBy::kUser)) return false;
  ActivateTab(page_control_->widget(index));
  ArriveAtActiveTab(sender);
  return true;
}

void TabController::MoveTab(int from, int to) {
  // Moving a tab changes no ReturnIndex: those name positions as they were
  // when the tabs were opened or left.
  if (from < 0 || to < 0 || from >= Count() || to >= Count() || from == to) return;
  ++switching_by_code_;
  page_control_->moveTab(from, to);
  --switching_by_code_;
}

// ---- pop-ups ---------------------------------------------------------------

TabsView TabController::PolicyView() const {
  TabsView view;
  view.active_index = ActiveIndex();
  for (int i = 0; i < Count(); ++i) {
    const BrowserTab* tab = TabAt(i);
    view.tabs.push_back(TabView{tab->Browser() ? tab->Browser()->Id() : 0, tab->FrameName(), tab->Family()});
  }
  return view;
}

void TabController::AddPopupTab(WebBrowser* popup, const NewTabPlacement& place) {
  LeaveActiveTab(nullptr, SwitchBy::kProgram);
  lock_->Clear();
  BrowserTab* tab = AddTab(popup, place.fill, place.insert_index, std::string());
  tab->SetFrameName(place.frame_name);
  tab->SetReturnIndex(place.return_index);
  tab->SetFamily(place.family);
  OnTabsShown();
  tiles_->Opened(tab);
  ActivateTab(tab);
}

void TabController::OnPagePressed(BrowserTab* tab) {
  // A press into another tile makes its tab the active one.
  if (tab != ActiveTab() && !SwitchTo(page_control_->indexOf(tab), page_control_)) return;
  popups_->PageClicked(tab ? tab->Family() : 0);
  lock_->PagePressed();
}

// ---- opening ---------------------------------------------------------------

void TabController::Open(const OpenRequest& request) {
  if (request.empty()) return;
  const QString shown = request.typed.isEmpty() ? SjisToQString(request.address) : request.typed;
  BrowserTab* tab = nullptr;
  bool keep_activation = false;
  const bool new_tab = request.in_active_tab ? !HasTabs() : OpensNewTab(HasTabs(), mode_, request.shift);
  if (request.new_tab || new_tab) {
    const bool was_active = window_->isActiveWindow();
    LeaveActiveTab(nullptr, SwitchBy::kProgram);
    lock_->Clear();
    const int opener_index = ActiveIndex();
    // The engine starts with the first browser.
    tab = AddTab(popups_->CreateBrowser(), true, Count(), request.caption);
    tab->Browser()->SetRegisterAsBrowser(options_.LinkTarget);
    tab->SetReturnIndex(opener_index);
    tab->SetFamily(popups_->NewFamily());
    tiles_->Opened(tab);
    ActivateTab(tab);
    OnTabsShown();
    keep_activation = was_active;
  } else {
    tab = ActiveTab();
    tab->SetFixedCaption(request.caption);
  }
  tab->SetLoadKeyMacro(request.key_macro, shown);
  WebBrowser* browser = tab->Browser();
  if (request.typed.isEmpty()) {
    // A bookmark's address goes to the engine as the bytes the list holds.
    browser->Navigate(QByteArray::fromStdString(request.address));
  } else {
    browser->Navigate(request.typed);
  }
  browser->FocusPage();
  KeepActivation(keep_activation);
}

void TabController::OpenEach(std::vector<OpenRequest> requests) { queue_->Start(std::move(requests)); }

// ---- closing ---------------------------------------------------------------

void TabController::CloseActiveTab() {
  BrowserTab* tab = ActiveTab();
  if (!tab) return;
  const int closed = page_control_->indexOf(tab);
  std::vector<int> return_indexes;
  for (int i = 0; i < Count(); ++i) return_indexes.push_back(TabAt(i)->ReturnIndex());
  const CloseResult result = CloseTab(return_indexes, closed);

  const int next_index = result.next_active < 0 ? -1 : result.next_active + (result.next_active >= closed ? 1 : 0);
  tiles_->Closing(tab, next_index < 0 ? nullptr : page_control_->widget(next_index));
  if (Count() > 1 && tiles_->Layout() == TileLayout::kSingle) {
    // Hides the page area while the next tab is brought up.
    const int top = page_control_->y() + page_control_->tabBar()->height();
    cover_->setFixedHeight(tab->height());
    cover_->setGeometry(page_control_->x(), top, page_control_->width(), tab->height());
    cover_->raise();
    cover_->show();
  }

  ++switching_by_code_;
  page_control_->removeTab(closed);
  delete tab;
  --switching_by_code_;
  shown_tab_ = nullptr;
  TrimFreedMemorySoon();

  if (!HasTabs()) {
    timer_->stop();
    lock_->EnableButton(false);
    emit TabCountChanged(0);
    return;
  }
  for (int i = 0; i < Count(); ++i) TabAt(i)->SetReturnIndex(result.return_indexes[i]);
  ActivateTab(page_control_->widget(result.next_active));
  cover_->hide();
  ArriveAtActiveTab(nullptr);
  emit TabCountChanged(Count());
}

// ---- the active page -------------------------------------------------------

void TabController::GoBack() {
  if (WebBrowser* browser = ActiveBrowser()) browser->GoBack();
}

void TabController::GoForward() {
  if (WebBrowser* browser = ActiveBrowser()) browser->GoForward();
}

void TabController::StopActive() {
  if (WebBrowser* browser = ActiveBrowser()) browser->Stop();
}

void TabController::ReloadActive() {
  if (WebBrowser* browser = ActiveBrowser()) browser->Refresh();
}

void TabController::PrintActive() {
  if (WebBrowser* browser = ActiveBrowser()) browser->Print();
}

void TabController::OnTabLoadFinished(BrowserTab* tab) {
  emit TabLoadFinished(tab);
  if (!IsActive(tab)) return;
  const QString location = tab->Browser()->LocationURL();
  if (location.isEmpty()) return;
  emit AddressChanged(location);
  emit StopEnabledChanged(false);
  if (popups_->Policy().EndNavigating()) lock_->LoadFinished();
  const std::string macro = tab->TakeLoadKeyMacro(location);
  if (!macro.empty()) emit LoadKeyMacroReady(tab, macro);
}

// ---- reload and idle -------------------------------------------------------

void TabController::ReloadTick() {
  std::vector<ReloadState> states;
  states.reserve(size_t(Count()));
  for (int i = 0; i < Count(); ++i) states.push_back(TabAt(i)->Reload());
  const std::vector<size_t> due = TimerTick(states);
  for (int i = 0; i < Count(); ++i) TabAt(i)->SetReload(states[size_t(i)]);
  for (size_t i : due) {
    BrowserTab* tab = TabAt(int(i));
    if (tab->PageWaiting()) {
      LoadWaitingPage(tab);
    } else if (WebBrowser* browser = tab->Browser()) {
      browser->Refresh();
    }
  }
}

void TabController::IdleSteps() {
  lock_->CaptureStep(ActiveTab());
  // The tabs that asked, whichever tab is active by now (the user may have
  // switched, more pages may have asked before this moment came).
  for (const QPointer<BrowserTab>& tab : std::exchange(close_requests_, {})) {
    if (tab) Close(tab);
  }
  popups_->IdleStep();
  hidden_tabs_->IdleStep();
  sleeper_->IdleStep();
  tools_->IdleStep();
  queue_->IdleStep();
}

void TabController::Close(BrowserTab* tab) {
  if (tab != ActiveTab()) ActivateTab(tab);
  CloseActiveTab();
}

// ---- the tabs kept between runs: written at the close, brought back at
// start waiting with their page unloaded ----
namespace {

// The address as the address box shows it, in code page 932; where that
// cannot hold it, the engine's encoded form (plain ASCII) loads the same page.
std::string AddressBytes(const QString& shown) {
  const std::string bytes = QStringToSjis(shown);
  if (SjisToQString(bytes) == shown) return bytes;
  return QUrl(shown).toEncoded().toStdString();
}

}  // namespace

void TabController::RestoreSession(const Session& session) {
  if (session.tabs.empty()) return;
  const bool was_active = window_->isActiveWindow();
  LeaveActiveTab(nullptr, SwitchBy::kProgram);
  lock_->Clear();
  const int first = Count();
  bool reloads = false;
  for (const SessionTab& saved : session.tabs) {
    // A tab never loaded shows what it showed when it was kept.
    const std::string& shown = saved.caption.empty() ? saved.address : saved.caption;
    BrowserTab* tab = AddTab(nullptr, true, Count(), shown);
    if (!saved.fixed_caption) tab->LetTitleReplaceCaption();
    tab->SetWaitingPage(saved.address, saved.silent);
    sleeper_->ShowAsleep(tab, true);
    TabLockMemory lock;
    lock.down = saved.locked;
    tab->SetLockMemory(lock);
    tab->SetReload(ReloadState{saved.reload_interval, 0});
    tab->SetWatch(saved.watch);
    tab->SetFamily(popups_->NewFamily());
    reloads = reloads || saved.reload_interval > 0;
  }
  if (reloads && !timer_->isActive()) timer_->start();
  const int current = first + std::clamp(session.current, 0, int(session.tabs.size()) - 1);
  ActivateTab(page_control_->widget(current));
  // Side by side, the tiles fill around the current tab; what they show loads.
  SetTiles(Tiles());
  OnTabsShown();
  ArriveAtActiveTab(nullptr);
  KeepActivation(was_active);
}

Session TabController::SessionToKeep() const {
  captions_->Flush();
  std::vector<OpenTab> open;
  for (int i = 0; i < Count(); ++i) {
    const BrowserTab* tab = TabAt(i);
    const QString caption = page_control_->tabText(i);
    OpenTab entry;
    SessionTab& saved = entry.tab;
    QString location;
    if (tab->PageWaiting()) {
      saved.address = tab->WaitingAddress();
      saved.silent = tab->WaitingSilent();
    } else if (const WebBrowser* browser = tab->Browser()) {
      location = browser->LocationURL();
      saved.address = AddressBytes(location);
      saved.silent = browser->Silent();
    }
    saved.caption = QStringToSjis(caption);
    saved.fixed_caption = tab->HasFixedCaption();
    saved.reload_interval = tab->Reload().interval;
    saved.watch = tab->Watch();
    // The shown tab's lock lives in the button until the tab is left.
    saved.locked = i == ActiveIndex() ? lock_->Save().down : tab->LockMemory().down;
    entry.help = IsHelpTab(caption.toStdString(), location.toStdString());
    open.push_back(std::move(entry));
  }
  return sorvi::SessionToKeep(open, ActiveIndex());
}

void TabController::LoadShownPages() {
  for (int i = 0; i < Count(); ++i) {
    if (IsShown(TabAt(i))) LoadWaitingPage(TabAt(i));
  }
}

void TabController::LoadWaitingPage(BrowserTab* tab) {
  if (!tab || !tab->PageWaiting()) return;
  QByteArray history;
  const std::string address = tab->Wake(popups_->CreateBrowser(), &history);
  sleeper_->ShowAsleep(tab, false);
  WebBrowser* browser = tab->Browser();
  browser->SetRegisterAsBrowser(options_.LinkTarget);
  // The history brings the page back where it was (its current entry,
  // scrolled as it was where the engine kept that); without one, the address.
  if (!browser->RestoreHistory(history)) browser->Navigate(QByteArray::fromStdString(address));
  if (IsActive(tab)) emit StatusTextChanged(WakingStatus(tab));
}

QString TabController::WakingStatus(const BrowserTab* tab) const {
  return tab && tab->Reloading() ? QStringLiteral("休止中のタブを再読み込みしています") : QString();
}

void TabController::PutToSleep(BrowserTab* tab) {
  const WebBrowser* browser = tab->Browser();
  if (!browser || IsShown(tab)) return;
  const QString location = browser->LocationURL();
  if (location.isEmpty()) return;
  tab->Sleep(AddressBytes(location));
  sleeper_->ShowAsleep(tab, true);
  TrimFreedMemorySoon();
}

void TabController::WakeWith(BrowserTab* tab, WebBrowser* popup) {
  tab->Wake(popup);
  sleeper_->ShowAsleep(tab, false);
  popup->SetRegisterAsBrowser(options_.LinkTarget);
}

}  // namespace sorvi
