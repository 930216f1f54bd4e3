#include "tabs/hidden_tab_keeper.h"

#include <QEvent>
#include <QTimer>
#include <algorithm>

#include "platform/memory_trim.h"
#include "platform/web_browser.h"
#include "tabs/browser_tab.h"

namespace sorvi {

HiddenTabKeeper::HiddenTabKeeper(QObject* parent) : QObject(parent), timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("HiddenTabKeeper"));
  timer_->setSingleShot(true);
  // Only marks the views due: they go at the next idle moment.
  connect(timer_, &QTimer::timeout, this, [this] { release_pending_ = true; });
}

HiddenTabKeeper::~HiddenTabKeeper() = default;

void HiddenTabKeeper::Watch(BrowserTab* tab) {
  tab->installEventFilter(this);
  if (!tab->isVisible()) Hid(tab);
}

bool HiddenTabKeeper::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::Hide || e->type() == QEvent::Show) {
    if (auto* tab = qobject_cast<BrowserTab*>(watched)) {
      if (e->type() == QEvent::Hide) {
        Hid(tab);
      } else {
        Shown(tab);
      }
    }
  }
  return false;
}

void HiddenTabKeeper::IdleStep() {
  if (release_pending_) ReleaseDue();
}

void HiddenTabKeeper::Hid(BrowserTab* tab) {
  Shown(tab);
  hidden_.push_back(Hidden{tab, QDeadlineTimer(release_after_ms_)});
  ArmTimer();
}

void HiddenTabKeeper::Shown(BrowserTab* tab) {
  std::erase_if(hidden_, [tab](const Hidden& h) { return !h.tab || h.tab == tab; });
}

void HiddenTabKeeper::ArmTimer() {
  if (hidden_.empty()) {
    timer_->stop();
    return;
  }
  // Tabs are hidden in order and wait alike: the first one is due first.
  timer_->start(int(std::max<qint64>(0, hidden_.front().due.remainingTime())));
}

void HiddenTabKeeper::ReleaseDue() {
  release_pending_ = false;
  std::vector<Hidden> waiting;
  bool released = false;
  for (Hidden& h : hidden_) {
    if (!h.tab) continue;
    if (!h.due.hasExpired()) {
      waiting.push_back(h);
      continue;
    }
    // A lock target survives: the widget that takes the page's input belongs
    // to the page and moves into the new view.
    WebBrowser* browser = h.tab->Browser();
    if (!h.tab->isVisible() && browser) released |= browser->ReleaseView();
  }
  // The pictures go back to the system, not only to the heap.
  if (released) TrimFreedMemorySoon();
  hidden_ = std::move(waiting);
  ArmTimer();
}

}  // namespace sorvi
