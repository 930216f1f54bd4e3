// The lock: the widget inside a page that the user last clicked, kept so
// that key macros can put the focus back there. The indicator's rules are
// the core's; this side finds the widgets and shows the icon.
#include <QCursor>
#include <QThread>
#include <QToolButton>

#include "app/main_window.h"
#include "app/toolbar_icons.h"
#include "platform/web_browser.h"
#include "tabs/tab_controller.h"

namespace sorvi {

namespace {

LockTargetId IdOf(const QWidget* widget) { return reinterpret_cast<LockTargetId>(widget); }

}  // namespace

void TabController::ShowLock() { form_.ToolButtonLock->setIcon(LockIcon(lock_.icon())); }

void TabController::SyncLockTarget() {
  if (lock_.target() == 0) LockTarget = nullptr;
}

void TabController::ToolButtonLockClick(bool pressed) { lock_.SetPressed(pressed); }

void TabController::LockPageClick() {
  if (!lock_.PageClick()) return;
  ShowLock();
  // Give the page the moment it needs to move its focus to what was
  // clicked; the idle step reads the focus afterwards.
  QThread::msleep(30);
}

void TabController::LockCaptureStep() {
  if (!lock_.capture_pending()) return;
  WebBrowser* browser = ActiveBrowser();
  QWidget* focused = browser ? browser->FocusedInputWidget() : nullptr;
  if (lock_.IdleCapture(IdOf(focused))) {
    LockTarget = focused;
    const QPoint offset = QCursor::pos() - focused->mapToGlobal(QPoint(0, 0));
    BrowserTab* record = ActiveRecord();
    record->LockOffsetX = offset.x();
    record->LockOffsetY = offset.y();
  }
  ShowLock();
}

}  // namespace sorvi
