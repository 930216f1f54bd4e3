#pragma once
// The bookmark list: one record per row of the list view, and the SV_List.txt
// format. Texts are Shift-JIS bytes.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sorvi {

struct UrlBookmark {
  int fixed_title = 0;  // 1: tabs opened from it get a fixed caption
  std::string title;    // caption pattern, may hold placeholders
  std::string name;
  std::string url_macro;
  std::string key_macro;
  int key_macro_state = -1;  // -1 none, 0 present but off, 1 on

  bool operator==(const UrlBookmark&) const = default;
};

// Reads the contents of SV_List.txt. Each bookmark is a "[" line, then
// optional "*" title and "-"/"+" key macro lines, then the URL macro line
// that closes it. Lines outside a block are ignored; a block the file cuts
// off keeps an empty URL macro. `unkept_lines`, when given, gets the number
// of non-empty lines that no bookmark keeps (outside a block, or a second
// title or key macro line of one): a save of the list loses them.
std::vector<UrlBookmark> ParseBookmarkFile(std::string_view bytes, size_t* unkept_lines = nullptr);

// Writes the blocks back, every line ending in CR LF; "" for an empty list.
std::string SerializeBookmarkList(const std::vector<UrlBookmark>& list);

}  // namespace sorvi
