#include "bookmarks/bookmark_list_controller.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>

#include "bookmarks/bookmark_request.h"
#include "bookmarks/url_list_view.h"
#include "core/bookmarks/per_stock_selection.h"
#include "core/bookmarks/stock_selection.h"
#include "core/files/data_files.h"
#include "platform/confirm_box.h"
#include "platform/menu_items.h"

namespace sorvi {

BookmarkListController::BookmarkListController(UrlListView* list, const StockSelection& selection,
                                               const QString& data_dir, const AppOptions& options, QWidget* window)
    : QObject(window), list_(*list), selection_(selection), window_(window) {
  document_ = new ListDocument(*this, DataFile::kBookmarkList, data_dir + kBookmarkListFileName, "URL一覧",
                               ListDocument::LoadMark::kKept, options, window, this);
  BuildMenu(window);
  WireEditing();
  connect(&list_, &UrlListView::Executed, this, [this] {
    const Qt::KeyboardModifiers modifiers = QGuiApplication::keyboardModifiers();
    if (modifiers.testFlag(Qt::ControlModifier)) {
      OpenPerStock();
    } else {
      OpenSelectedBookmark(modifiers);
    }
  });
  connect(&list_, &UrlListView::BoxPressed, this, &BookmarkListController::ToggleBox);
  connect(&list_, &UrlListView::ContextMenuRequested, this, [this](const QPoint& at) {
    UpdateMenuItems();
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
  items_ = document_->AddMenuItems(menu_, "PopupMenuURL");
  connect(go, &QAction::triggered, this, [this] { OpenSelectedBookmark(QGuiApplication::keyboardModifiers()); });
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

std::string BookmarkListController::ListFileBytes() const { return SerializeBookmarkList(bookmarks_); }

void BookmarkListController::LoadListBytes(std::string_view bytes, FileReport* report) {
  bookmarks_ = ParseBookmarkFile(bytes, &report->unkept_lines);
  ShowAll();
}

void BookmarkListController::UpdateMenuItems() {
  const bool selected = list_.SelectedItem() != nullptr;
  for (QAction* item : {items_.edit, items_.copy, items_.del, go_each_}) item->setEnabled(selected);
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
  document_->SetModified(true);
}

void BookmarkListController::OpenSelectedBookmark(Qt::KeyboardModifiers modifiers) {
  QTreeWidgetItem* item = list_.SelectedItem();
  if (!item) return;
  const int row = list_.indexOfTopLevelItem(item);
  if (row < 0 || row >= int(bookmarks_.size())) return;
  const UrlBookmark& bookmark = bookmarks_[size_t(row)];
  const UrlSelection selection = selection_.GatherUrlSelection();
  OpenRequest request;
  request.address = ExpandUrlMacro(bookmark.url_macro, selection);
  request.shift = modifiers.testFlag(Qt::ShiftModifier);
  // Nothing opens for an empty address; no caption or macro is left behind.
  if (!request.address.empty()) {
    request.caption = MakeBookmarkCaption(bookmark, selection);
    if (bookmark.key_macro_state == 1) request.key_macro = bookmark.key_macro;
  }
  // A copy: the open may have run the event loop.
  const UrlBookmark opened = bookmark;
  emit OpenRequested(request);
  if (!request.address.empty()) emit BookmarkOpened(opened);
}

void BookmarkListController::OpenPerStock() {
  const int row = list_.SelectedRow();
  if (row < 0 || row >= int(bookmarks_.size())) return;
  const std::vector<UrlSelection> selections = selection_.GatherUrlSelectionPerStock();
  if (selections.empty()) {
    // No stock to go through: the bookmark opens once, as always.
    OpenSelectedBookmark(QGuiApplication::keyboardModifiers() & ~Qt::ControlModifier);
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
    OpenRequest request = BookmarkRequestForStock(bookmark, selection);
    if (request.empty()) continue;
    request.new_tab = true;
    requests.push_back(std::move(request));
  }
  if (!requests.empty()) emit OpenEachRequested(requests);
}

}  // namespace sorvi
