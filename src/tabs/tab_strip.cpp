// The tab strip's mouse: dragging tabs to another place, a right click that
// closes a tab, a double-click that reloads the active one. Also the
// double-click on the address box, seen through the same event filter.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>

#include "app/main_window.h"
#include "tabs/tab_controller.h"

namespace sorvi {

bool TabController::eventFilter(QObject* watched, QEvent* event) {
  QTabBar* bar = form_.PageControl->tabBar();
  if (watched == bar) return TabBarEvent(event);
  if (watched == form_.PageControl && event->type() == QEvent::MouseButtonDblClick) {
    // The strip beside the tabs belongs to the tab control itself.
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pos = mouse->position().toPoint();
    if (mouse->button() == Qt::LeftButton && pos.y() < bar->geometry().bottom() && HasTabs()) {
      PageControlDblClick();
      PageControlMouseDown(Qt::LeftButton, bar->mapFrom(form_.PageControl, pos));
    }
    return false;
  }
  if (watched == form_.ComboBoxURL->lineEdit() && event->type() == QEvent::MouseButtonDblClick &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    ComboBoxURLDblClick();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

bool TabController::TabBarEvent(QEvent* event) {
  QTabBar* bar = form_.PageControl->tabBar();
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint pos = mouse->position().toPoint();
      // A key macro waits in this tab: the user may not leave it.
      if (mouse->button() == Qt::LeftButton && MacroTab) {
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
    case QEvent::MouseMove:
      PageControlMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
      return false;
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const bool handled = DragTabIndex >= 0 || RightClickPending;
      PageControlMouseUp(mouse->button(), mouse->position().toPoint());
      return handled && mouse->button() != Qt::LeftButton;
    }
    default:
      return false;
  }
}

void TabController::PageControlDblClick() {
  DragTabIndex = -2;
  ToolButtonRefreshClick();
}

void TabController::PageControlMouseDown(Qt::MouseButton button, QPoint pos) {
  QTabBar* bar = form_.PageControl->tabBar();
  if (button == Qt::LeftButton) {
    if (DragTabIndex == -2) {
      DragTabIndex = -1;
      return;
    }
    // The tab bar keeps the mouse until the release (its implicit grab).
    DragTabIndex = bar->tabAt(pos);
  } else if (button == Qt::RightButton) {
    const int index = bar->tabAt(pos);
    if (index < 0) return;
    if (index != ActiveIndex()) {
      bool allow = true;
      PageControlChanging(form_.PageControl, allow);
      if (!allow) return;
      ActivateSheet(form_.PageControl->widget(index));
      PageControlChange(form_.PageControl);
    }
    RightClickPending = true;
  }
}

void TabController::PageControlMouseMove(QPoint pos) {
  if (DragTabIndex < 0) return;
  const int over = form_.PageControl->tabBar()->tabAt(pos);
  SetDragCursor(over < 0 ? Qt::ForbiddenCursor : over == DragTabIndex ? Qt::ArrowCursor : Qt::DragMoveCursor);
}

void TabController::PageControlMouseUp(Qt::MouseButton, QPoint pos) {
  if (DragTabIndex >= 0) {
    QTabBar* bar = form_.PageControl->tabBar();
    const int over = bar->tabAt(pos);
    // Moving a tab changes no ReturnIndex: those name positions as they
    // were when the tabs were opened or left.
    if (over >= 0 && over != DragTabIndex && DragTabIndex < bar->count()) {
      ++switching_by_code_;
      bar->moveTab(DragTabIndex, over);
      --switching_by_code_;
    }
    EndDragCursor();
    DragTabIndex = -1;
  } else if (RightClickPending) {
    RightClickPending = false;
    ToolButtonCloseClick(form_.PageControl);
  }
}

void TabController::SetDragCursor(Qt::CursorShape shape) {
  if (!drag_cursor_set_) {
    QApplication::setOverrideCursor(QCursor(shape));
    drag_cursor_set_ = true;
  } else {
    QApplication::changeOverrideCursor(QCursor(shape));
  }
}

void TabController::EndDragCursor() {
  if (!drag_cursor_set_) return;
  QApplication::restoreOverrideCursor();
  drag_cursor_set_ = false;
}

}  // namespace sorvi
