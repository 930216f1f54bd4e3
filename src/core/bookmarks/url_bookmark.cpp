#include "core/bookmarks/url_bookmark.h"

#include "core/text/sjis.h"

namespace sorvi {

namespace {

// "[name]" or "[name]*". Whatever the last byte (or two) are, they are cut;
// a line too short to cut from gives an empty name.
UrlBookmark BookmarkFromHeader(std::string_view line) {
  UrlBookmark bookmark;
  std::string_view rest = line.substr(1);
  size_t cut = 1;
  if (!rest.empty() && rest.back() == '*') {
    bookmark.fixed_title = 1;
    cut = 2;
  }
  bookmark.name = rest.substr(0, rest.size() > cut ? rest.size() - cut : 0);
  return bookmark;
}

}  // namespace

std::vector<UrlBookmark> ParseBookmarkFile(std::string_view bytes, size_t* unkept_lines) {
  std::vector<UrlBookmark> list;
  UrlBookmark* current = nullptr;
  bool has_title = false, has_key_macro = false;
  size_t unkept = 0;
  for (const std::string& line : SplitLines(bytes)) {
    if (line.empty()) continue;
    const char first = line.front();
    if (first == '[') {
      list.push_back(BookmarkFromHeader(line));
      current = &list.back();
      has_title = has_key_macro = false;
    } else if (current == nullptr) {
      ++unkept;
    } else if (first == '*') {
      unkept += has_title ? 1 : 0;
      has_title = true;
      current->title = line.substr(1);
    } else if (first == '-' || first == '+') {
      unkept += has_key_macro ? 1 : 0;
      has_key_macro = true;
      current->key_macro = line.substr(1);
      current->key_macro_state = first == '-' ? 0 : 1;
    } else {
      current->url_macro = line;
      current = nullptr;
    }
  }
  if (unkept_lines) *unkept_lines = unkept;
  return list;
}

std::string SerializeBookmarkList(const std::vector<UrlBookmark>& list) {
  std::string out;
  for (const UrlBookmark& b : list) {
    out += '[';
    out += b.name;
    out += b.fixed_title == 1 ? "]*\r\n" : "]\r\n";
    if (!b.title.empty()) {
      out += '*';
      out += b.title;
      out += "\r\n";
    }
    if (b.key_macro_state == 0 || b.key_macro_state == 1) {
      out += b.key_macro_state == 0 ? '-' : '+';
      out += b.key_macro;
      out += "\r\n";
    }
    out += b.url_macro;
    out += "\r\n";
  }
  return out;
}

}  // namespace sorvi
