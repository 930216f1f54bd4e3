#pragma once
// The lock: the widget inside the active page that the user last clicked,
// kept so that key macros can put the focus back there, and the lock button
// that shows its state. The indicator's rules are the core's; this side
// finds the widgets and shows the icon. Tabs remember their lock while
// another tab is shown.
#include <QObject>
#include <QPointer>

#include "core/tabs/lock_state.h"
#include "tabs/browser_tab.h"

class QToolButton;

namespace sorvi {

class TabLock : public QObject {
  Q_OBJECT
 public:
  TabLock(QToolButton* button, QObject* parent);

  const LockIndicator& Indicator() const { return lock_; }
  // The active tab's lock target; null when none or gone.
  QWidget* Target() const { return target_; }

  // With tabs the button works and starts `pressed`; without, it is off.
  void EnableButton(bool enabled);
  void SetPressed(bool pressed);

  TabLockMemory Save() const;
  void Restore(const TabLockMemory& memory);

  void Clear();
  // A left press in the active page.
  void PagePressed();
  // The idle step: takes the focused widget of `tab`'s page as the target.
  void CaptureStep(BrowserTab* tab);
  // The active page starts / ends a navigation of its own.
  void LoadStarted();
  void LoadFinished();

 private:
  void Show();

  QToolButton* button_;
  LockIndicator lock_;
  QPointer<QWidget> target_;
};

}  // namespace sorvi
