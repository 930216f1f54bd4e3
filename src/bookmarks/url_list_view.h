#pragma once
// `ListViewURL`: the bookmark list in report style. Each row is one bookmark;
// its fields are kept as the list file's Shift-JIS bytes in the row and shown
// converted. The "*" and ":" columns show check boxes that a mouse press
// toggles directly.
#include <QTreeWidget>
#include <functional>

#include "core/bookmarks/url_bookmark.h"

namespace sorvi {

class UrlListView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit UrlListView(QWidget* parent = nullptr);

  static constexpr int kCheckImageWidth = 16;  // one image of `ImageListCheckBox`

  static UrlBookmark Bookmark(const QTreeWidgetItem* item);
  static void SetBookmark(QTreeWidgetItem* item, const UrlBookmark& bookmark);
  QTreeWidgetItem* AddBookmark(const UrlBookmark& bookmark);
  QTreeWidgetItem* SelectedItem() const;
  int SelectedRow() const;  // -1 when none

  // Row mirrors of the list's edits: the caller has made the same change to
  // its bookmarks. An inserted row becomes the selected one; a moved row
  // stays selected, and focused when it had the focus.
  QTreeWidgetItem* InsertRow(int row, const UrlBookmark& bookmark, bool select);
  void MoveRow(int from, int to);

  // A drag dropped at `pos` (viewport coordinates): reports the row under
  // it (RowDropped), -1 when there is none.
  void DropAt(const QPoint& pos);

  // Where the row of item `row` starts, right after its state image, as the
  // toggling rule measures it (viewport coordinates).
  QPoint ItemPosition(int row) const;

  // The check boxes hit by a press at (x, y) in viewport coordinates:
  // reports the box pressed (BoxPressed). Returns true when one was hit.
  bool PressCheckBoxAt(int x, int y);

 signals:
  // A press on a row's "*" box, or on the selected row's ":" box.
  void BoxPressed(int row, bool key_macro_box);
  void Executed();  // double-click: open the bookmark
  void ContextMenuRequested(const QPoint& global_pos);
  // Something was dropped on row `target` (-1: on no row). The list never
  // moves rows itself: the list's rules decide.
  void RowDropped(int target);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Hands `event` on with Ctrl taken off.
  static void WithoutControl(QMouseEvent* event, const std::function<void(QMouseEvent*)>& handle);
};

}  // namespace sorvi
