#include "tabs/tab_lock.h"

#include <QCursor>
#include <QThread>
#include <QToolButton>

#include "platform/toolbar_icons.h"
#include "platform/web_browser.h"

namespace sorvi {

namespace {

LockTargetId IdOf(const QWidget* widget) { return reinterpret_cast<LockTargetId>(widget); }

}  // namespace

TabLock::TabLock(QToolButton* button, QObject* parent) : QObject(parent), button_(button) {
  connect(button_, &QToolButton::toggled, this, [this](bool pressed) { lock_.SetPressed(pressed); });
}

void TabLock::EnableButton(bool enabled) { button_->setEnabled(enabled); }

void TabLock::SetPressed(bool pressed) {
  button_->setChecked(pressed);
  lock_.SetPressed(pressed);
}

TabLockMemory TabLock::Save() const {
  const SavedLock saved = lock_.SaveForTabSwitch();
  TabLockMemory memory;
  memory.down = button_->isChecked();
  memory.state = saved.state;
  memory.target = target_;
  return memory;
}

void TabLock::Restore(const TabLockMemory& memory) {
  button_->setChecked(memory.down);
  target_ = memory.target;
  lock_.RestoreForTabSwitch(SavedLock{memory.down, memory.state, IdOf(target_.data())});
  Show();
}

void TabLock::Clear() {
  lock_.Clear();
  target_ = nullptr;
  Show();
}

void TabLock::PagePressed() {
  if (!lock_.PageClick()) return;
  Show();
  // Give the page the moment it needs to move its focus to what was
  // clicked; the idle step reads the focus afterwards.
  QThread::msleep(30);
}

void TabLock::CaptureStep(BrowserTab* tab) {
  if (!lock_.capture_pending()) return;
  WebBrowser* browser = tab ? tab->Browser() : nullptr;
  QWidget* focused = browser ? browser->FocusedInputWidget() : nullptr;
  if (lock_.IdleCapture(IdOf(focused))) {
    target_ = focused;
    tab->SetLockOffset(QCursor::pos() - focused->mapToGlobal(QPoint(0, 0)));
  }
  Show();
}

void TabLock::LoadStarted() {
  lock_.DownloadBegin();
  Show();
}

void TabLock::LoadFinished() {
  lock_.DownloadComplete();
  if (lock_.target() == 0) target_ = nullptr;
  Show();
}

void TabLock::Show() { button_->setIcon(LockIcon(lock_.icon())); }

}  // namespace sorvi
