#pragma once
// The lock keeps hold of the window inside a page that the user last clicked
// (an embedded applet, say), so that key macros can put the focus back there
// before they type. This is the lock button's logic for the active tab: its
// icon, the settled state saved per tab, the target and the pending capture.
#include <cstdint>

namespace sorvi {

// A window inside a page, as the UI side names it; 0 = none.
using LockTargetId = std::uint64_t;

// The lock button's icon indexes.
enum LockIcon : int {
  kLockIconNone = 0,      // no target
  kLockIconTaken = 1,     // taken from the last click in the page
  kLockIconWaiting = 10,  // capture pending or page loading; never settled
  kLockIconHeld = 11,     // held across a load because the button is pressed
};

// What a tab keeps of the lock while it is not the active one.
struct SavedLock {
  bool down = false;
  int state = kLockIconNone;
  LockTargetId target = 0;
};

class LockIndicator {
 public:
  int icon() const { return icon_; }
  int settled() const { return settled_; }
  LockTargetId target() const { return target_; }
  bool pressed() const { return pressed_; }
  bool capture_pending() const { return capture_pending_; }
  // "ロック対象解除(&L)" is offered while anything is or may be held.
  bool can_clear() const { return icon_ > kLockIconNone; }

  // The user's toggle, or a new tab starting with Option/FocusLock.
  void SetPressed(bool pressed) { pressed_ = pressed; }

  // A left press inside a page. With the button up, the window that ends up
  // focused becomes the target at the next idle moment. Returns true when a
  // capture was armed (the UI then pauses 30 ms so the page takes the focus).
  bool PageClick();

  // Idle: `focused_inside_page` is the focused window when it lies inside
  // the active tab's browser, else 0. Returns true when it became the target
  // (the UI then records the cursor offset in the tab). Without a pending
  // capture nothing happens; with focus elsewhere the icon stays 10 until
  // the next settling.
  bool IdleCapture(LockTargetId focused_inside_page);

  // The active tab's download began / completed; call both only while a
  // navigation is marked (Navigating). Completion settles the indicator: a
  // pressed button keeps its target (icon 11) or shows none; an unpressed
  // one forgets it.
  void DownloadBegin();
  void DownloadComplete();

  // The menu item, and the creation of any tab.
  void Clear();

  SavedLock SaveForTabSwitch() const;
  void RestoreForTabSwitch(const SavedLock& saved);

 private:
  int icon_ = kLockIconNone;
  int settled_ = kLockIconNone;
  LockTargetId target_ = 0;
  bool pressed_ = false;
  bool capture_pending_ = false;
};

}  // namespace sorvi
