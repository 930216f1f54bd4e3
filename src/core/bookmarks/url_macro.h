#pragma once
// Filling a bookmark's URL macro and caption from the stocks selected in the
// code tree. Nothing is encoded or converted: the tree's Shift-JIS bytes go
// into the address as they are.
#include <string>
#include <string_view>
#include <vector>

#include "core/bookmarks/url_bookmark.h"

namespace sorvi {

// What a macro is filled from, gathered afresh for every opening.
struct UrlSelection {
  std::vector<std::string> codes;  // in tree order
  std::string group;               // group name, without brackets
  std::string name;                // name of the first stock concerned

  bool operator==(const UrlSelection&) const = default;
};

// One node of the code tree as the selection sees it, in depth-first order.
// Level 0 is a group, level 1 a stock.
struct TreeNodeView {
  int level = 0;
  std::string_view text;
  bool selected = false;
};

// The first selected node decides. A stock gives its group, its name and the
// codes of the selected stocks from it to the end of its group; a group gives
// its name, the name of its first stock and every code in it.
UrlSelection GatherSelection(const std::vector<TreeNodeView>& depth_first_nodes);

// Expands %CD% (next unused code), %GP%, %NM%, %% and the repeat
// %[text]% in one left-to-right pass; inserted text is never scanned again.
// Anything unrecognised, including a cut-off placeholder, is copied.
std::string ExpandUrlMacro(std::string_view macro, const UrlSelection& selection);

// The fixed caption for a tab opened from `bookmark`, or "" for none.
std::string MakeBookmarkCaption(const UrlBookmark& bookmark, const UrlSelection& selection);

}  // namespace sorvi
