#include "tabs/tab_strip.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTabBar>

#include "tabs/tab_controller.h"
#include "tabs/tab_stack.h"

namespace sorvi {

TabStripMouse::TabStripMouse(TabStack* page_control, TabController& tabs)
    : QObject(&tabs), page_control_(page_control), tabs_(tabs) {
  page_control_->tabBar()->installEventFilter(this);
  page_control_->installEventFilter(this);
}

TabStripMouse::~TabStripMouse() {
  page_control_->tabBar()->removeEventFilter(this);
  page_control_->removeEventFilter(this);
  EndDragCursor();
}

bool TabStripMouse::eventFilter(QObject* watched, QEvent* event) {
  QTabBar* bar = page_control_->tabBar();
  if (watched == bar) return TabBarEvent(event);
  if (watched == page_control_ && event->type() == QEvent::MouseButtonDblClick) {
    // The strip beside the tabs belongs to the tab control itself.
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pos = mouse->position().toPoint();
    if (mouse->button() == Qt::LeftButton && pos.y() < bar->geometry().bottom() && tabs_.HasTabs()) {
      PageControlDblClick();
      PageControlMouseDown(Qt::LeftButton, bar->mapFrom(page_control_, pos));
    }
  }
  return false;
}

bool TabStripMouse::TabBarEvent(QEvent* event) {
  QTabBar* bar = page_control_->tabBar();
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint pos = mouse->position().toPoint();
      // A key macro waits in this tab: the user may not leave it.
      if (mouse->button() == Qt::LeftButton && tabs_.MacroWaiting()) {
        const int index = bar->tabAt(pos);
        if (index >= 0 && index != bar->currentIndex()) return true;
      }
      PageControlMouseDown(mouse->button(), pos);
      return mouse->button() == Qt::RightButton;
    }
    case QEvent::MouseButtonDblClick: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      PageControlDblClick();
      // The second press of the double-click, which starts no drag.
      PageControlMouseDown(Qt::LeftButton, mouse->position().toPoint());
      return false;
    }
    case QEvent::MouseMove: PageControlMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint()); return false;
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const bool handled = drag_tab_index_ >= 0 || right_click_pending_;
      PageControlMouseUp(mouse->button(), mouse->position().toPoint());
      return handled && mouse->button() != Qt::LeftButton;
    }
    default: return false;
  }
}

void TabStripMouse::PageControlDblClick() {
  drag_tab_index_ = -2;
  tabs_.ReloadActive();
}

void TabStripMouse::PageControlMouseDown(Qt::MouseButton button, QPoint pos) {
  QTabBar* bar = page_control_->tabBar();
  if (button == Qt::LeftButton) {
    if (drag_tab_index_ == -2) {
      drag_tab_index_ = -1;
      return;
    }
    // The tab bar keeps the mouse until the release (its implicit grab).
    drag_tab_index_ = bar->tabAt(pos);
  } else if (button == Qt::RightButton) {
    const int index = bar->tabAt(pos);
    if (index < 0) return;
    if (index != tabs_.ActiveIndex() && !tabs_.SwitchTo(index, page_control_)) return;
    right_click_pending_ = true;
  }
}

void TabStripMouse::PageControlMouseMove(QPoint pos) {
  if (drag_tab_index_ < 0) return;
  const int over = page_control_->tabBar()->tabAt(pos);
  SetDragCursor(over < 0 ? Qt::ForbiddenCursor : over == drag_tab_index_ ? Qt::ArrowCursor : Qt::DragMoveCursor);
}

void TabStripMouse::PageControlMouseUp(Qt::MouseButton, QPoint pos) {
  if (drag_tab_index_ >= 0) {
    const int over = page_control_->tabBar()->tabAt(pos);
    if (over >= 0 && over != drag_tab_index_) tabs_.MoveTab(drag_tab_index_, over);
    EndDragCursor();
    drag_tab_index_ = -1;
  } else if (right_click_pending_) {
    right_click_pending_ = false;
    tabs_.CloseActiveTab();
  }
}

void TabStripMouse::SetDragCursor(Qt::CursorShape shape) {
  if (!drag_cursor_set_) {
    QApplication::setOverrideCursor(QCursor(shape));
    drag_cursor_set_ = true;
  } else {
    QApplication::changeOverrideCursor(QCursor(shape));
  }
}

void TabStripMouse::EndDragCursor() {
  if (!drag_cursor_set_) return;
  QApplication::restoreOverrideCursor();
  drag_cursor_set_ = false;
}

}  // namespace sorvi
