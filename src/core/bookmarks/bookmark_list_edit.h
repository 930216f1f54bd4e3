#pragma once
// The editing rules of the bookmark list: the key macro part the dialog
// gives, and where add, duplicate, delete and drag and drop put a bookmark.
// Indices are row numbers of the list.
#include <optional>
#include <string>
#include <vector>

#include "core/bookmarks/url_bookmark.h"

namespace sorvi {

// The key macro as the dialog gives it: an empty text means no key macro
// (state -1, whatever the check box says); otherwise on (1) or off (0).
void SetKeyMacroPart(UrlBookmark& bookmark, std::string text, bool on);

// Inserts right after `selected`, or appends when there is no selection (or
// the selection is not a row). Returns the new row.
int AddBookmark(std::vector<UrlBookmark>& list, std::optional<int> selected, UrlBookmark bookmark);

// Puts a copy just before the source; the source (still the selected one)
// moves down one row. Returns the source's new row, or no value for a row
// that is not in the list.
std::optional<int> DuplicateBookmark(std::vector<UrlBookmark>& list, int row);

bool DeleteBookmark(std::vector<UrlBookmark>& list, int row);

// A drag of the selected row `from` dropped on row `target`: the row where
// the bookmark stands afterwards, before the target when it came from below
// and after it when it came from above. No value when nothing moves (the row
// onto itself, or a row outside the list).
std::optional<int> PlanBookmarkDrop(int count, int from, int target);
void MoveBookmark(std::vector<UrlBookmark>& list, int from, int to);

}  // namespace sorvi
