// Editing the bookmark list: the bookmark dialog, duplicate, delete, drag
// and drop and the external editor. The bookmarks are edited with the list
// rules (core/bookmarks/bookmark_list_edit) and the view's rows follow.
#include <QAction>
#include <QMenu>
#include <QMessageBox>

#include "bookmarks/bookmark_dialog.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "core/bookmarks/bookmark_list_edit.h"

namespace sorvi {

void BookmarkListController::WireEditing() {
  connect(menu_, &QMenu::aboutToShow, this, &BookmarkListController::UpdateMenuItems);
  connect(items_.edit, &QAction::triggered, this, &BookmarkListController::PopupMenuURLEditClick);
  connect(items_.add, &QAction::triggered, this, &BookmarkListController::PopupMenuURLAddClick);
  connect(items_.copy, &QAction::triggered, this, &BookmarkListController::PopupMenuURLCopyClick);
  connect(items_.del, &QAction::triggered, this, &BookmarkListController::PopupMenuURLDelClick);
  connect(&list_, &UrlListView::RowDropped, this, &BookmarkListController::MoveSelectedTo);
}

TFormURLDlg* BookmarkListController::BookmarkDialog() const { return dialog_.data(); }

void BookmarkListController::PopupMenuURLEditClick() {
  if (list_.SelectedRow() >= 0) OpenBookmarkDialog(false);
}

void BookmarkListController::PopupMenuURLAddClick() { OpenBookmarkDialog(true); }

void BookmarkListController::OpenBookmarkDialog(bool add) {
  if (dialog_) {  // one at a time
    dialog_->BringToFront();
    return;
  }
  const int row = list_.SelectedRow();
  if (!add && (row < 0 || row >= int(bookmarks_.size()))) return;
  auto* dialog = new TFormURLDlg(add ? TFormURLDlg::Mode::Add : TFormURLDlg::Mode::Edit, window_);
  dialog_ = dialog;
  QPoint at;
  if (add) {
    const QRect frame = window_->frameGeometry();
    at = QPoint(frame.left() + 24, frame.top() + 40);
  } else {
    // Below the row, so the bookmark being edited stays in sight.
    QTreeWidgetItem* item = list_.topLevelItem(row);
    list_.scrollToItem(item);
    const QRect rect = list_.visualItemRect(item);
    at = list_.viewport()->mapToGlobal(QPoint(rect.left() + 6, rect.bottom() + 1));
    dialog->SetBookmark(bookmarks_[size_t(row)]);
  }
  connect(dialog, &TFormURLDlg::Confirmed, this,
          [this, add](const UrlBookmark& bookmark) { BookmarkDialogConfirmed(add, bookmark); });
  // Released later; a new one may open now.
  connect(dialog, &TFormURLDlg::Closed, this, [this] { dialog_ = nullptr; });
  dialog->ShowOver(&list_, at);
}

void BookmarkListController::BookmarkDialogConfirmed(bool add, const UrlBookmark& bookmark) {
  const int selected = list_.SelectedRow();
  if (!add) {
    if (selected < 0 || selected >= int(bookmarks_.size())) return;
    bookmarks_[size_t(selected)] = bookmark;
    UrlListView::SetBookmark(list_.topLevelItem(selected), bookmark);
    document_->SetModified(true);
    return;
  }
  const int row = AddBookmark(bookmarks_, selected >= 0 ? std::optional<int>(selected) : std::nullopt, bookmark);
  list_.InsertRow(row, bookmarks_[size_t(row)], true);
  document_->SetModified(true);
}

void BookmarkListController::PopupMenuURLCopyClick() {
  const int row = list_.SelectedRow();
  if (!DuplicateBookmark(bookmarks_, row)) return;
  // The copy goes in front; the source row keeps the selection.
  list_.InsertRow(row, bookmarks_[size_t(row)], false);
  document_->SetModified(true);
}

void BookmarkListController::PopupMenuURLDelClick() {
  const int row = list_.SelectedRow();
  if (!DeleteBookmark(bookmarks_, row)) return;
  delete list_.topLevelItem(row);
  document_->SetModified(true);
}

void BookmarkListController::MoveSelectedTo(int target) {
  const int from = list_.SelectedRow();
  const std::optional<int> to = PlanBookmarkDrop(int(bookmarks_.size()), from, target);
  if (!to) return;  // no target, no selection, or the row onto itself
  MoveBookmark(bookmarks_, from, *to);
  list_.MoveRow(from, *to);
  document_->SetModified(true);
}

}  // namespace sorvi
