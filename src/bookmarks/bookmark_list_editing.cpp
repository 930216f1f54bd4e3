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
#include "platform/confirm_box.h"
#include "platform/list_edit_cycle.h"
#include "platform/report_text.h"
#include "platform/tool_window.h"

namespace sorvi {

void BookmarkListController::WireEditing() {
  connect(menu_, &QMenu::aboutToShow, this, &BookmarkListController::PopupMenuURLPopup);
  connect(edit_, &QAction::triggered, this, &BookmarkListController::PopupMenuURLEditClick);
  connect(add_, &QAction::triggered, this, &BookmarkListController::PopupMenuURLAddClick);
  connect(copy_, &QAction::triggered, this, &BookmarkListController::PopupMenuURLCopyClick);
  connect(del_, &QAction::triggered, this, &BookmarkListController::PopupMenuURLDelClick);
  connect(editor_, &QAction::triggered, this, &BookmarkListController::OpenEditor);
  connect(&list_, &UrlListView::RowDropped, this, &BookmarkListController::ListViewURLDragDrop);

  ListEditCycle::Hooks hooks;
  hooks.is_modified = [this] { return IsModified(); };
  hooks.ask = [this](const QString& text) { return AskYesNoCancel(window_, "確認", text, QuestionPlace(window_)); };
  hooks.save = [this] { return SaveAndReport(); };
  // The reload leaves the modified mark as it was (the loader's rule).
  hooks.reload = [this] { ShowReport(window_, LoadList()); };
  hooks.show_error = [this](const QString& message) { ShowErrorBox(window_, message); };
  cycle_ = new ListEditCycle(window_, FilePath(), "URL一覧を保存しますか？", std::move(hooks), this);
}

TFormURLDlg* BookmarkListController::BookmarkDialog() const { return dialog_.data(); }

void BookmarkListController::PopupMenuURLEditClick() {
  if (list_.SelectedRow() >= 0) OpenBookmarkDialog(false);
}

void BookmarkListController::PopupMenuURLAddClick() { OpenBookmarkDialog(true); }

void BookmarkListController::OpenBookmarkDialog(bool add) {
  if (dialog_) {  // one at a time
    dialog_->raise();
    dialog_->activateWindow();
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
  // The selection must not change under the dialog.
  list_.setEnabled(false);
  connect(dialog, &TFormURLDlg::Confirmed, this,
          [this, add](const UrlBookmark& bookmark) { BookmarkDialogConfirmed(add, bookmark); });
  connect(dialog, &TFormURLDlg::Closed, this, [this] {
    dialog_ = nullptr;  // released later; a new one may open now
    list_.setEnabled(true);
    list_.setFocus();
  });
  PlaceInWorkArea(dialog, at);
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

void BookmarkListController::BookmarkDialogConfirmed(bool add, const UrlBookmark& bookmark) {
  const int selected = list_.SelectedRow();
  if (!add) {
    if (selected < 0 || selected >= int(bookmarks_.size())) return;
    bookmarks_[size_t(selected)] = bookmark;
    UrlListView::SetBookmark(list_.topLevelItem(selected), bookmark);
    SetModified(true);
    return;
  }
  const int row = AddBookmark(bookmarks_, selected >= 0 ? std::optional<int>(selected) : std::nullopt, bookmark);
  list_.InsertRow(row, bookmarks_[size_t(row)], true);
  SetModified(true);
}

void BookmarkListController::PopupMenuURLCopyClick() {
  const int row = list_.SelectedRow();
  if (!DuplicateBookmark(bookmarks_, row)) return;
  // The copy goes in front; the source row keeps the selection.
  list_.InsertRow(row, bookmarks_[size_t(row)], false);
  SetModified(true);
}

void BookmarkListController::PopupMenuURLDelClick() {
  const int row = list_.SelectedRow();
  if (!DeleteBookmark(bookmarks_, row)) return;
  delete list_.topLevelItem(row);
  SetModified(true);
}

void BookmarkListController::ListViewURLDragDrop(int target) {
  const int from = list_.SelectedRow();
  const std::optional<int> to = PlanBookmarkDrop(int(bookmarks_.size()), from, target);
  if (!to) return;  // no target, no selection, or the row onto itself
  MoveBookmark(bookmarks_, from, *to);
  list_.MoveRow(from, *to);
  SetModified(true);
}

}  // namespace sorvi
