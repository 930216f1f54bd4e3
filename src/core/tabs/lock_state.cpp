#include "core/tabs/lock_state.h"

namespace sorvi {

bool LockIndicator::PageClick() {
  if (pressed_ || icon_ == kLockIconWaiting) return false;
  icon_ = kLockIconWaiting;
  capture_pending_ = true;
  return true;
}

bool LockIndicator::IdleCapture(LockTargetId focused_inside_page) {
  if (!capture_pending_) return false;
  capture_pending_ = false;
  if (focused_inside_page == 0) return false;
  target_ = focused_inside_page;
  icon_ = settled_ = kLockIconTaken;
  return true;
}

void LockIndicator::DownloadBegin() {
  icon_ = kLockIconWaiting;
  capture_pending_ = false;
}

void LockIndicator::DownloadComplete() {
  if (pressed_) {
    icon_ = target_ != 0 ? kLockIconHeld : kLockIconNone;
  } else {
    target_ = 0;
    icon_ = kLockIconNone;
  }
  settled_ = icon_;
}

void LockIndicator::Clear() {
  target_ = 0;
  icon_ = settled_ = kLockIconNone;
}

SavedLock LockIndicator::SaveForTabSwitch() const { return SavedLock{pressed_, settled_, target_}; }

void LockIndicator::RestoreForTabSwitch(const SavedLock& saved) {
  pressed_ = saved.down;
  icon_ = settled_ = saved.state;
  target_ = saved.target;
}

}  // namespace sorvi
