#include "tabs/tab_captions.h"

#include "tabs/tab_stack.h"

namespace sorvi {

namespace {

constexpr int kGatherMs = 150;

}  // namespace

TabCaptions::TabCaptions(TabStack* tabs, QObject* parent) : QObject(parent), tabs_(tabs) {
  timer_.setSingleShot(true);
  timer_.setInterval(kGatherMs);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (pending_.empty()) return;
    Flush();
    timer_.start();  // keep gathering while changes keep coming
  });
}

void TabCaptions::Set(QWidget* tab, const QString& caption) {
  if (!timer_.isActive()) {
    Apply(tab, caption);
    timer_.start();
    return;
  }
  for (auto& [waiting, text] : pending_) {
    if (waiting == tab) {
      text = caption;
      return;
    }
  }
  pending_.emplace_back(tab, caption);
}

void TabCaptions::Flush() {
  auto pending = std::move(pending_);
  pending_.clear();
  for (auto& [tab, caption] : pending) {
    if (tab) Apply(tab, caption);
  }
}

void TabCaptions::Apply(QWidget* tab, const QString& caption) {
  const int index = tabs_->indexOf(tab);
  if (index >= 0 && tabs_->tabText(index) != caption) tabs_->setTabText(index, caption);
}

}  // namespace sorvi
