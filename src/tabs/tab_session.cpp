// The tabs kept between runs: what the close writes of the open tabs, and
// the tabs brought back at start, which wait with their page unloaded.
#include <QByteArray>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "core/help/help_tab.h"
#include "platform/cp932.h"
#include "platform/web_browser.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_captions.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_lock.h"

namespace sorvi {

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
  LeaveActiveTab(nullptr);
  lock_->Clear();
  const int first = Count();
  bool reloads = false;
  for (const SessionTab& saved : session.tabs) {
    // A tab never loaded shows what it showed when it was kept.
    const std::string& shown = saved.caption.empty() ? saved.address : saved.caption;
    BrowserTab* tab = AddTab(nullptr, true, Count(), shown);
    if (!saved.fixed_caption) tab->LetTitleReplaceCaption();
    tab->SetWaitingPage(saved.address, saved.silent);
    TabLockMemory lock;
    lock.down = saved.locked;
    tab->SetLockMemory(lock);
    tab->SetReload(ReloadState{saved.reload_interval, 0});
    tab->SetFamily(++tab_serial_);
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
  const std::string address = tab->Wake(popups_->CreateBrowser());
  WebBrowser* browser = tab->Browser();
  browser->SetRegisterAsBrowser(options_.LinkTarget);
  browser->Navigate(QByteArray::fromStdString(address));
}

}  // namespace sorvi
