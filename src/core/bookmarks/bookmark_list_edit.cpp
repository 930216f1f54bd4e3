#include "core/bookmarks/bookmark_list_edit.h"

#include <utility>

namespace sorvi {

namespace {
bool IsRow(const std::vector<UrlBookmark>& list, int row) { return row >= 0 && size_t(row) < list.size(); }
}  // namespace

void SetKeyMacroPart(UrlBookmark& bookmark, std::string text, bool on) {
  bookmark.key_macro_state = text.empty() ? -1 : (on ? 1 : 0);
  bookmark.key_macro = std::move(text);
}

int AddBookmark(std::vector<UrlBookmark>& list, std::optional<int> selected, UrlBookmark bookmark) {
  const int row = selected && IsRow(list, *selected) ? *selected + 1 : int(list.size());
  list.insert(list.begin() + row, std::move(bookmark));
  return row;
}

std::optional<int> DuplicateBookmark(std::vector<UrlBookmark>& list, int row) {
  if (!IsRow(list, row)) return std::nullopt;
  UrlBookmark copy = list[size_t(row)];
  list.insert(list.begin() + row, std::move(copy));
  return row + 1;
}

bool DeleteBookmark(std::vector<UrlBookmark>& list, int row) {
  if (!IsRow(list, row)) return false;
  list.erase(list.begin() + row);
  return true;
}

std::optional<int> PlanBookmarkDrop(int count, int from, int target) {
  if (from < 0 || from >= count || target < 0 || target >= count || from == target) return std::nullopt;
  // Before a row above, after a row below: both put it at the target's row
  // once it has been taken out.
  return target;
}

void MoveBookmark(std::vector<UrlBookmark>& list, int from, int to) {
  if (!IsRow(list, from) || !IsRow(list, to) || from == to) return;
  UrlBookmark moved = std::move(list[size_t(from)]);
  list.erase(list.begin() + from);
  list.insert(list.begin() + to, std::move(moved));
}

}  // namespace sorvi
