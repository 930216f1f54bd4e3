#include "bookmarks/bookmark_list_controller.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>

#include "bookmarks/url_list_view.h"
#include "core/bookmarks/per_stock_selection.h"
#include "core/keymacro/key_macro_parser.h"
#include "core/text/list_file_text.h"
#include "platform/confirm_box.h"
#include "platform/cp932.h"
#include "platform/list_edit_cycle.h"
#include "platform/list_file.h"
#include "platform/menu_items.h"

namespace sorvi {

BookmarkListController::BookmarkListController(UrlListView* list, std::function<UrlSelection()> selection,
                                               const QString& data_dir, const AppOptions& options, QWidget* window)
    : QObject(window), list_(*list), selection_(std::move(selection)), options_(options), window_(window) {
  file_ = new ListFile(
      DataFile::kBookmarkList, data_dir + "SV_List.txt", [this] { return ListFileBytes(); }, window, this);
  BuildMenu(window);
  connect(file_, &ListFile::ModifiedChanged, save_, &QAction::setEnabled);
  connect(file_, &ListFile::ModifiedChanged, this, &BookmarkListController::ModifiedChanged);
  WireEditing();
  connect(&list_, &UrlListView::Executed, this, [this] {
    const Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
    if (modifiers.testFlag(Qt::ControlModifier)) {
      OpenPerStock();
    } else {
      ListViewURLDblClick(modifiers);
    }
  });
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
  go_each_ = AddMenuItem(menu_, "PopupMenuURLGoEach", "銘柄ごとに開く");
  connect(go_each_, &QAction::triggered, this, &BookmarkListController::OpenPerStock);
  menu_->addSeparator();
  edit_ = AddMenuItem(menu_, "PopupMenuURLEdit", "編集");
  copy_ = AddMenuItem(menu_, "PopupMenuURLCopy", "複製");
  del_ = AddMenuItem(menu_, "PopupMenuURLDel", "削除");
  add_ = AddMenuItem(menu_, "PopupMenuURLAdd", "追加");
  editor_ = AddMenuItem(menu_, "PopupMenuURLEditor", "エディタ");
  save_ = AddMenuItem(menu_, "PopupMenuURLSave", "保存");
  save_->setEnabled(false);
  connect(save_, &QAction::triggered, this, [this] { SaveAndReport(); });
  connect(go, &QAction::triggered, this, [this] { ListViewURLDblClick(QGuiApplication::keyboardModifiers()); });
}

QString BookmarkListController::FilePath() const { return file_->Path(); }

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

void BookmarkListController::OpenEditor() { cycle_->Run(SjisToQString(options_.Editor)); }

FileReport BookmarkListController::LoadList() {
  FileReport report = file_->Report(FileStep::kDone);
  const FileReadResult file = file_->Read();
  if (file.status == ReadStatus::kMissing) return report;
  if (file.status == ReadStatus::kUnreadable) {
    bookmarks_.clear();
    ShowAll();
    return file_->Report(FileStep::kReadFailed, file.error);
  }
  ShowListBytes(file.bytes, &report);
  return report;
}

FileReport BookmarkListController::LoadUnsavedCopy(const std::string& bytes) {
  FileReport report = file_->Report(FileStep::kDone);
  ShowListBytes(bytes, &report);
  SetModified(true);
  return report;
}

std::string BookmarkListController::ListFileBytes() const { return SerializeBookmarkList(bookmarks_); }

void BookmarkListController::ShowListBytes(const std::string& bytes, FileReport* report) {
  // What an editor may have left (a UTF-8 byte-order mark) must not glue
  // itself to the first line.
  const ListFileText text = CheckListFileText(bytes);
  size_t unkept_lines = 0;
  bookmarks_ = ParseBookmarkFile(text.bytes, &unkept_lines);
  ShowAll();
  report->unread_bytes = text.unread_bytes;
  report->unkept_lines = unkept_lines;
}

FileReport BookmarkListController::SaveList() { return file_->Save(); }

bool BookmarkListController::SaveAndReport() { return file_->SaveAndReport(); }

bool BookmarkListController::IsModified() const { return file_->IsModified(); }

void BookmarkListController::SetModified(bool modified) { file_->SetModified(modified); }

bool BookmarkListController::LoadFailed() const { return file_->LoadFailed(); }

void BookmarkListController::PopupMenuURLPopup() {
  const bool selected = list_.SelectedItem() != nullptr;
  edit_->setEnabled(selected);
  copy_->setEnabled(selected);
  del_->setEnabled(selected);
  go_each_->setEnabled(selected);
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

void BookmarkListController::SetPerStockSelection(std::function<std::vector<UrlSelection>()> selection) {
  per_stock_selection_ = std::move(selection);
}

void BookmarkListController::OpenPerStock() {
  const int row = list_.SelectedRow();
  if (row < 0 || row >= int(bookmarks_.size())) return;
  const std::vector<UrlSelection> selections =
      per_stock_selection_ ? per_stock_selection_() : std::vector<UrlSelection>();
  if (selections.empty()) {
    // No stock to go through: the bookmark opens once, as always.
    ListViewURLDblClick(QGuiApplication::keyboardModifiers() & ~Qt::ControlModifier);
    return;
  }
  if (selections.size() > kPerStockOpenWithoutAsking &&
      AskYesNo(
          window_, "確認",
          QString("%1 銘柄のページを、銘柄ごとにタブを開いて表示します。\nよろしいですか？").arg(selections.size()),
          QuestionPlace(window_)) != QMessageBox::Yes) {
    return;
  }
  const UrlBookmark bookmark = bookmarks_[size_t(row)];
  std::vector<OpenRequest> requests;
  for (const UrlSelection& selection : selections) {
    OpenRequest request;
    request.address = ExpandUrlMacro(bookmark.url_macro, selection);
    if (request.address.empty()) continue;
    request.caption = MakeBookmarkCaption(bookmark, selection);
    // Each tab types its own stock's code, whatever the tree shows by the
    // time its page has loaded.
    const std::string code = selection.codes.empty() ? std::string() : selection.codes.front();
    if (bookmark.key_macro_state == 1) request.key_macro = ResolveSelectedCode(bookmark.key_macro, code);
    request.new_tab = true;
    requests.push_back(std::move(request));
  }
  if (!requests.empty()) emit OpenEachRequested(requests);
}

}  // namespace sorvi
