#pragma once
// The tab strip's mouse: dragging tabs to another place, a right click that
// closes a tab, a double-click that reloads the active one.
#include <QObject>
#include <QPoint>

namespace sorvi {

class TabStack;

class TabController;

class TabStripMouse : public QObject {
  Q_OBJECT
 public:
  TabStripMouse(TabStack* page_control, TabController& tabs);
  ~TabStripMouse() override;

  // The tab being dragged; -1 none, -2 the next left press belongs to a
  // double-click.
  int DragTabIndex() const { return drag_tab_index_; }
  // A right press on a tab waits for its release to close it.
  bool RightClickPending() const { return right_click_pending_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool TabBarEvent(QEvent* event);
  void PageControlDblClick();
  // Positions in the tab bar's coordinates.
  void PageControlMouseDown(Qt::MouseButton button, QPoint pos);
  void PageControlMouseMove(QPoint pos);
  void PageControlMouseUp(Qt::MouseButton button, QPoint pos);
  void SetDragCursor(Qt::CursorShape shape);
  void EndDragCursor();

  TabStack* page_control_;
  TabController& tabs_;
  int drag_tab_index_ = -1;
  bool right_click_pending_ = false;
  bool drag_cursor_set_ = false;
};

}  // namespace sorvi
