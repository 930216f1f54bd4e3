#include "bookmarks/bookmark_list_controller.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <stdexcept>

#include "bookmarks/url_list_view.h"
#include "platform/confirm_box.h"
#include "platform/menu_items.h"
#include "core/files/file_io.h"
#include "core/text/list_file_text.h"
#include "platform/cp932.h"
#include "platform/list_edit_cycle.h"

namespace sorvi {

BookmarkListController::BookmarkListController(UrlListView* list, std::function<UrlSelection()> selection,
                                               const QString& exe_dir, const AppOptions& options,
                                               QWidget* window)
    : QObject(window), list_(*list), selection_(std::move(selection)), exe_dir_(exe_dir), options_(options),
      window_(window) {
  BuildMenu(window);
  WireEditing();
  connect(&list_, &UrlListView::Executed, this,
          [this] { ListViewURLDblClick(QGuiApplication::keyboardModifiers()); });
  connect(&list_, &UrlListView::BoxPressed, this, &BookmarkListController::ToggleBox);
  connect(&list_, &UrlListView::ContextMenuRequested, this, [this](const QPoint& at) {
    PopupMenuURLPopup();
    menu_->popup(at);
  });
}

void BookmarkListController::BuildMenu(QWidget* window) {
  menu_ = new QMenu(window);
  menu_->setObjectName("PopupMenuURL");
  QAction* go = AddMenuItem(menu_, "PopupMenuURLGo", "実行");
  menu_->addSeparator();
  edit_ = AddMenuItem(menu_, "PopupMenuURLEdit", "編集");
  copy_ = AddMenuItem(menu_, "PopupMenuURLCopy", "複製");
  del_ = AddMenuItem(menu_, "PopupMenuURLDel", "削除");
  add_ = AddMenuItem(menu_, "PopupMenuURLAdd", "追加");
  editor_ = AddMenuItem(menu_, "PopupMenuURLEditor", "エディタ");
  save_ = AddMenuItem(menu_, "PopupMenuURLSave", "保存");
  save_->setEnabled(false);
  connect(save_, &QAction::triggered, this, [this] { PopupMenuURLSaveClick(); });
  connect(go, &QAction::triggered, this, [this] { ListViewURLDblClick(QGuiApplication::keyboardModifiers()); });
}

QString BookmarkListController::FilePath() const { return exe_dir_ + "SV_List.txt"; }

void BookmarkListController::ShowError(const QString& text) {
  ShowErrorBox(window_, text);
}

void BookmarkListController::ShowAll() {
  list_.clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(qsizetype(bookmarks_.size()));
  for (const UrlBookmark& bookmark : bookmarks_) {
    auto* item = new QTreeWidgetItem();
    UrlListView::SetBookmark(item, bookmark);
    items.push_back(item);
  }
  list_.addTopLevelItems(items);
}

void BookmarkListController::PopupMenuURLEditorClick(QObject* sender) {
  if (sender) {
    cycle_->Run(SjisToQString(options_.Editor));
    return;
  }
  const FileReadResult file = ReadFile(QFile::encodeName(FilePath()).toStdString());
  if (file.status == ReadStatus::kMissing) return;
  const std::optional<std::string> bytes =
      file.status == ReadStatus::kRead ? std::optional<std::string>(file.bytes) : std::nullopt;
  if (!bytes) {
    load_failed_ = true;
    bookmarks_.clear();
    ShowAll();
    throw std::runtime_error(QString("ファイル %1 は開けません").arg(FilePath()).toStdString());
  }
  load_failed_ = false;
  ShowListBytes(*bytes);
}

void BookmarkListController::LoadUnsavedCopy(const std::string& bytes) {
  ShowListBytes(bytes);
  SetModified(true);
}

std::string BookmarkListController::ListFileBytes() const { return SerializeBookmarkList(bookmarks_); }

void BookmarkListController::ShowListBytes(const std::string& bytes) {
  // What an editor may have left (a UTF-8 byte-order mark) must not glue
  // itself to the first line.
  const ListFileText text = CheckListFileText(bytes);
  size_t unkept_lines = 0;
  bookmarks_ = ParseBookmarkFile(text.bytes, &unkept_lines);
  ShowAll();
  // Said before a save writes the list without them.
  QStringList lost;
  if (text.unread_bytes > 0)
    lost << QString("途中に NUL 文字があり、その後ろの %1 バイトは読み込んでいません。").arg(text.unread_bytes);
  if (unkept_lines > 0) lost << QString("ブックマークの形になっていない行が %1 行あり、読み込んでいません。").arg(unkept_lines);
  if (!lost.isEmpty()) {
    const QString message = "SV_List.txt の" + lost.join("\nまた、") + "\nURL一覧を保存すると、この部分はファイルから失われます。";
    QTimer::singleShot(0, window_, [this, message] { QMessageBox::warning(window_, "そるび", message); });
  }
}

bool BookmarkListController::PopupMenuURLSaveClick() {
  if (load_failed_) {
    // What could not be read is never replaced by what is shown.
    ShowError(QString("URL一覧を保存できませんでした。\n%1 は読み込めなかったため、上書きしません。").arg(FilePath()));
    return false;
  }
  std::string error;
  if (!ReplaceFileContents(QFile::encodeName(FilePath()).toStdString(), ListFileBytes(), &error)) {
    ShowError(QString("URL一覧を保存できませんでした。\n%1\n(%2)\n\n元のファイルはそのまま残っています。")
                  .arg(FilePath(), QString::fromLocal8Bit(error.c_str())));
    return false;
  }
  SetModified(false);
  return true;
}

void BookmarkListController::PopupMenuURLPopup() {
  const bool selected = list_.SelectedItem() != nullptr;
  edit_->setEnabled(selected);
  copy_->setEnabled(selected);
  del_->setEnabled(selected);
}

void BookmarkListController::SetModified(bool modified) {
  const bool changed = modified != modified_;
  modified_ = modified;
  save_->setEnabled(modified);
  if (changed) emit ModifiedChanged(modified);
}

void BookmarkListController::Append(const UrlBookmark& bookmark) {
  bookmarks_.push_back(bookmark);
  list_.AddBookmark(bookmark);
}

void BookmarkListController::ToggleBox(int row, bool key_macro_box) {
  if (row < 0 || row >= int(bookmarks_.size())) return;
  UrlBookmark& bookmark = bookmarks_[size_t(row)];
  if (key_macro_box) {
    if (bookmark.key_macro_state == -1) return;
    bookmark.key_macro_state = (bookmark.key_macro_state + 1) % 2;
  } else {
    bookmark.fixed_title = ((bookmark.fixed_title + 1) % 2 + 2) % 2;
  }
  UrlListView::SetBookmark(list_.topLevelItem(row), bookmark);
  SetModified(true);
}

void BookmarkListController::ListViewURLDblClick(Qt::KeyboardModifiers modifiers) {
  QTreeWidgetItem* item = list_.SelectedItem();
  if (!item) return;
  const int row = list_.indexOfTopLevelItem(item);
  if (row < 0 || row >= int(bookmarks_.size())) return;
  const UrlBookmark& bookmark = bookmarks_[size_t(row)];
  const UrlSelection selection = selection_();
  OpenRequest request;
  request.address = ExpandUrlMacro(bookmark.url_macro, selection);
  request.shift = modifiers.testFlag(Qt::ShiftModifier);
  // Nothing opens for an empty address; no caption or macro is left behind.
  if (!request.address.empty()) {
    request.caption = MakeBookmarkCaption(bookmark, selection);
    if (bookmark.key_macro_state == 1) request.key_macro = bookmark.key_macro;
  }
  emit OpenRequested(request);
}

}  // namespace sorvi
