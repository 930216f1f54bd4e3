#include "bookmarks/bookmark_request.h"

#include "core/keymacro/key_macro_parser.h"

namespace sorvi {

OpenRequest BookmarkRequestForStock(const UrlBookmark& bookmark, const UrlSelection& selection) {
  OpenRequest request;
  request.address = ExpandUrlMacro(bookmark.url_macro, selection);
  if (request.address.empty()) return request;
  request.caption = MakeBookmarkCaption(bookmark, selection);
  const std::string code = selection.codes.empty() ? std::string() : selection.codes.front();
  if (bookmark.key_macro_state == 1) request.key_macro = ResolveSelectedCode(bookmark.key_macro, code);
  return request;
}

}  // namespace sorvi
