#include "core/bookmarks/url_macro.h"

#include "core/codes/stock_code_list.h"
#include "core/text/sjis.h"

namespace sorvi {

namespace {

constexpr std::string_view kCodeTag = "%CD%";
constexpr std::string_view kGroupTag = "%GP%";
constexpr std::string_view kNameTag = "%NM%";

// Every occurrence, left to right, without looking into inserted text.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = text.find(from, pos)) != std::string_view::npos; pos = hit + from.size()) {
    out.append(text, pos, hit - pos);
    out.append(to);
  }
  out.append(text, pos);
  return out;
}

// Appends one copy of a repeat body per code, splitting the body at its
// code placeholders once instead of searching it again for every code.
void AppendRepeat(std::string_view body, const std::vector<std::string>& codes, size_t first_code, std::string& out) {
  if (first_code >= codes.size()) return;
  std::vector<std::string_view> pieces;
  size_t pos = 0;
  for (size_t hit; (hit = body.find(kCodeTag, pos)) != std::string_view::npos; pos = hit + kCodeTag.size())
    pieces.push_back(body.substr(pos, hit - pos));
  pieces.push_back(body.substr(pos));
  for (size_t j = first_code; j < codes.size(); ++j) {
    out.append(pieces.front());
    for (size_t k = 1; k < pieces.size(); ++k) {
      out.append(codes[j]);
      out.append(pieces[k]);
    }
  }
}

}  // namespace

UrlSelection GatherSelection(const std::vector<TreeNodeView>& nodes) {
  UrlSelection selection;
  size_t first = 0;
  while (first < nodes.size() && !nodes[first].selected) ++first;
  if (first == nodes.size()) return selection;

  const TreeNodeView& node = nodes[first];
  if (node.level == 0) {
    selection.group = GroupName(node.text);
    if (first + 1 < nodes.size() && nodes[first + 1].level != 0) selection.name = StockName(nodes[first + 1].text);
    for (size_t i = first + 1; i < nodes.size() && nodes[i].level != 0; ++i)
      selection.codes.emplace_back(StockCode(nodes[i].text));
    return selection;
  }

  for (size_t i = first; i-- > 0;) {
    if (nodes[i].level == 0) {
      selection.group = GroupName(nodes[i].text);
      break;
    }
  }
  selection.name = StockName(node.text);
  for (size_t i = first; i < nodes.size() && nodes[i].level != 0; ++i)
    if (nodes[i].selected) selection.codes.emplace_back(StockCode(nodes[i].text));
  return selection;
}

std::string ExpandUrlMacro(std::string_view macro, const UrlSelection& selection) {
  const std::vector<std::string>& codes = selection.codes;
  std::string out;
  out.reserve(macro.size());
  size_t next_code = 0;
  std::string_view rest = macro;
  while (!rest.empty()) {
    const size_t percent = rest.find('%');
    if (percent == std::string_view::npos) {
      out.append(rest);
      break;
    }
    out.append(rest.substr(0, percent));
    rest.remove_prefix(percent);
    if (rest.size() < 2) {
      out.append(rest);
      break;
    }
    if (rest[1] == '%') {
      out += '%';
      rest.remove_prefix(2);
      continue;
    }
    if (rest[1] == '[') {
      rest.remove_prefix(2);
      std::string_view body = rest;
      const size_t close = rest.find("]%");
      if (close == std::string_view::npos) {
        rest = {};
      } else {
        body = rest.substr(0, close);
        rest.remove_prefix(close + 2);
      }
      AppendRepeat(body, codes, next_code, out);
      next_code = codes.size();
      continue;
    }
    if (rest.size() < 4) {
      out.append(rest);
      break;
    }
    const std::string_view tag = rest.substr(0, 4);
    if (tag == kCodeTag) {
      if (next_code < codes.size()) out.append(codes[next_code++]);
    } else if (tag == kGroupTag) {
      out.append(selection.group);
    } else if (tag == kNameTag) {
      out.append(selection.name);
    } else {
      out += '%';
      rest.remove_prefix(1);
      continue;
    }
    rest.remove_prefix(4);
  }
  return out;
}

std::string MakeBookmarkCaption(const UrlBookmark& bookmark, const UrlSelection& selection) {
  if (bookmark.fixed_title != 1) return {};
  if (bookmark.title.empty()) return bookmark.name;
  const std::string_view first_code = selection.codes.empty() ? std::string_view() : selection.codes.front();
  std::string caption = ReplaceAll(bookmark.title, kCodeTag, first_code);
  caption = ReplaceAll(caption, kGroupTag, selection.group);
  caption = ReplaceAll(caption, kNameTag, selection.name);
  return std::string(TrimControlAndBlank(caption));
}

}  // namespace sorvi
