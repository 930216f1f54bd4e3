#include "bookmarks/url_list_edit.h"

#include <QTreeWidget>

#include "bookmarks/url_list_view.h"

namespace sorvi {

std::vector<UrlBookmark> ListToBookmarks(const QTreeWidget& list) {
  std::vector<UrlBookmark> out;
  out.reserve(size_t(list.topLevelItemCount()));
  for (int i = 0; i < list.topLevelItemCount(); ++i) out.push_back(UrlListView::Bookmark(list.topLevelItem(i)));
  return out;
}

std::optional<int> SelectedRow(const QTreeWidget& list) {
  const QList<QTreeWidgetItem*> selected = list.selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return list.indexOfTopLevelItem(selected.first());
}

QTreeWidgetItem* InsertBookmarkRow(QTreeWidget& list, int row, const UrlBookmark& bookmark) {
  auto* item = new QTreeWidgetItem();
  UrlListView::SetBookmark(item, bookmark);
  list.insertTopLevelItem(row, item);
  list.setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
  list.scrollToItem(item);
  return item;
}

QTreeWidgetItem* DuplicateBookmarkRow(QTreeWidget& list, int row) {
  QTreeWidgetItem* source = list.topLevelItem(row);
  if (!source) return nullptr;
  auto* copy = new QTreeWidgetItem();
  UrlListView::SetBookmark(copy, UrlListView::Bookmark(source));
  list.insertTopLevelItem(row, copy);
  return copy;
}

QTreeWidgetItem* MoveBookmarkRow(QTreeWidget& list, int from, int to) {
  QTreeWidgetItem* item = list.topLevelItem(from);
  if (!item || to < 0 || to >= list.topLevelItemCount()) return nullptr;
  const bool had_focus = list.hasFocus() && list.currentItem() == item;
  list.takeTopLevelItem(from);
  list.insertTopLevelItem(to, item);
  list.setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
  if (had_focus) list.setFocus();
  list.scrollToItem(item);
  return item;
}

}  // namespace sorvi
