#pragma once
// Carries the bookmark list's editing rules out on the list view's rows.
#include <optional>
#include <vector>

#include "core/bookmarks/url_bookmark.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace sorvi {

std::vector<UrlBookmark> ListToBookmarks(const QTreeWidget& list);
std::optional<int> SelectedRow(const QTreeWidget& list);

// A new row at `row`, made the selected one.
QTreeWidgetItem* InsertBookmarkRow(QTreeWidget& list, int row, const UrlBookmark& bookmark);
// A copy of `row` put just before it; the source stays selected.
QTreeWidgetItem* DuplicateBookmarkRow(QTreeWidget& list, int row);
// Moves the row with all its fields; it stays selected (and focused when it
// had the focus).
QTreeWidgetItem* MoveBookmarkRow(QTreeWidget& list, int from, int to);

}  // namespace sorvi
