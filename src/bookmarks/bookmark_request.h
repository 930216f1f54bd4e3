#pragma once
// A bookmark's page for one stock: its address, caption and load key macro
// bound to that stock, so that the tab types the stock's own code whatever
// the tree shows by the time the page has loaded.
#include "core/bookmarks/url_bookmark.h"
#include "core/bookmarks/url_macro.h"
#include "tabs/open_request.h"

namespace sorvi {

// `selection` is the one stock's; an empty address gives an empty request.
OpenRequest BookmarkRequestForStock(const UrlBookmark& bookmark, const UrlSelection& selection);

}  // namespace sorvi
