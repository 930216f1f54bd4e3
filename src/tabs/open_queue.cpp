#include "tabs/open_queue.h"

#include <QTimer>

#include "tabs/active_tab_host.h"
#include "tabs/browser_tab.h"

namespace sorvi {

namespace {

// A page that has not loaded at its address by then (an error page, a
// redirect) holds the rest up no longer.
constexpr int kSettleLimitMs = 15000;

}  // namespace

OpenQueue::OpenQueue(const ActiveTabHost& host, QObject* parent) : QObject(parent), host_(host) {
  // Only wakes the event loop, so that an idle moment comes at the limit.
  wake_ = new QTimer(this);
  wake_->setSingleShot(true);
  wake_->setInterval(kSettleLimitMs);
  connect(wake_, &QTimer::timeout, this, [] {});
}

void OpenQueue::Start(std::vector<OpenRequest> requests) {
  pending_.assign(requests.begin(), requests.end());
  OpenNext();
}

bool OpenQueue::Settled() const {
  BrowserTab* tab = last_;
  // Gone, or the user went elsewhere: its macro would not play anyway.
  if (!tab || tab != host_.ActiveTab()) return true;
  if (since_.elapsed() >= kSettleLimitMs) return true;
  return !host_.MacroWaiting() && !tab->AwaitsLoadKeyMacro();
}

void OpenQueue::IdleStep() {
  if (pending_.empty() || !Settled()) return;
  OpenNext();
}

void OpenQueue::OpenNext() {
  if (pending_.empty()) return;
  const OpenRequest request = std::move(pending_.front());
  pending_.pop_front();
  emit OpenDue(request);
  last_ = host_.ActiveTab();
  since_.start();
  if (!pending_.empty()) wake_->start();
}

}  // namespace sorvi
