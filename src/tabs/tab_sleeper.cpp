#include "tabs/tab_sleeper.h"

#include <QEvent>
#include <QPalette>
#include <QTabBar>
#include <QTimer>
#include <algorithm>

#include "core/tabs/tab_sleep.h"
#include "platform/web_browser.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_stack.h"

namespace sorvi {

TabSleeper::TabSleeper(TabController& tabs, const AppOptions& options, QObject* parent)
    : QObject(parent), tabs_(tabs), options_(options), timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("TabSleeper"));
  // Only marks a check due: tabs go to sleep or rest at the next idle
  // moment. Also while off: a tab resting when the option went off runs again.
  connect(timer_, &QTimer::timeout, this, [this] { check_pending_ = true; });
  SetSleepAfter(0);
}

void TabSleeper::SetSleepAfter(int ms) {
  sleep_after_ms_ = std::max(0, ms);
  // A few checks within the wait: a tab sleeps at most a quarter late.
  const qint64 wait = sleep_after_ms_ > 0 ? sleep_after_ms_ : qint64(kSleepMinutesMin) * 60000;
  timer_->start(int(std::clamp<qint64>(wait / 4, 100, 15000)));
}

void TabSleeper::Watch(BrowserTab* tab) {
  Watched& w = watched_[tab];
  if (!tab->isVisible()) w.hidden.start();
  tab->installEventFilter(this);
  connect(tab, &QObject::destroyed, this, [this, tab] { watched_.remove(tab); });
  // A resting page made active for its reload rests again once loaded.
  connect(tab, &BrowserTab::LoadFinished, this, [this](BrowserTab* t) { check_pending_ |= !t->isVisible(); });
  connect(tab, &BrowserTab::DownloadAsked, this, [this](BrowserTab* t, bool accepted) {
    if (accepted) ++watched_[t].downloads;
  });
  connect(tab, &BrowserTab::DownloadFinished, this, [this](BrowserTab* t) {
    Watched& w = watched_[t];
    w.downloads = std::max(0, w.downloads - 1);
  });
}

bool TabSleeper::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::Hide || e->type() == QEvent::Show) {
    auto it = watched_.find(static_cast<BrowserTab*>(watched));
    if (it != watched_.end()) {
      if (e->type() == QEvent::Hide) {
        it->hidden.start();
      } else {
        it->hidden.invalidate();
        check_pending_ = true;  // a discarded page waits to be made active
      }
    }
  }
  return false;
}

void TabSleeper::IdleStep() {
  if (!std::exchange(check_pending_, false)) return;
  for (int i = 0; i < tabs_.Count(); ++i) {
    BrowserTab* tab = tabs_.TabAt(i);
    auto it = watched_.find(tab);
    if (it == watched_.end() || !tab->Browser()) continue;
    const TabSleepState state = StateOf(tab, *it);
    if (MaySleep(state, options_.SleepTabs, sleep_after_ms_)) tabs_.PutToSleep(tab);
    if (WebBrowser* browser = tab->Browser()) browser->SetRest(RestFor(state, options_.SleepTabs, sleep_after_ms_));
  }
}

TabSleepState TabSleeper::StateOf(BrowserTab* tab, const Watched& watched) const {
  const WebBrowser* browser = tab->Browser();
  TabSleepState state;
  state.asleep = browser == nullptr;
  state.shown = tab->isVisible() || tabs_.IsShown(tab) || !watched.hidden.isValid();
  if (state.asleep || state.shown) return state;
  state.reloads = tab->Reload().interval > 0;
  const QWidget* lock_target = tabs_.LockTarget();
  state.locked =
      tab->LockMemory().down || tab->LockMemory().target || (lock_target && browser->ContainsWidget(lock_target));
  state.full_screen = browser->IsFullScreen();
  state.busy = browser->Busy();
  state.download_or_print = watched.downloads > 0 || browser->Printing();
  state.audible_recently = browser->RecentlyAudible();
  state.edited = browser->Edited();
  state.popup_linked = PopupLinked(tab);
  state.load_macro_pending = tab->AwaitsLoadKeyMacro() || tabs_.MacroWaitingIn(tab);
  state.named = !tab->FrameName().empty() || !browser->WindowName().isEmpty();
  state.hidden_ms = watched.hidden.elapsed();
  return state;
}

bool TabSleeper::PopupLinked(const BrowserTab* tab) const {
  const WebBrowser* browser = tab->Browser();
  if (browser->Opener()) return true;
  for (int i = 0; i < tabs_.Count(); ++i) {
    const WebBrowser* other = tabs_.TabAt(i)->Browser();
    if (other && other->Opener() == browser) return true;
  }
  return false;
}

void TabSleeper::ShowAsleep(BrowserTab* tab, bool asleep) {
  QTabBar* bar = tabs_.Strip();
  const int index = bar ? tabs_.IndexOf(tab) : -1;
  if (index < 0) return;
  bar->setTabTextColor(index, asleep ? bar->palette().color(QPalette::Disabled, QPalette::WindowText) : QColor());
}

}  // namespace sorvi
