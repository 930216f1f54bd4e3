// URL macro expansion with the macro, the code tree and its selection all
// from the input. Values go into the address as opaque bytes: never scanned
// again, never cut, and a macro without placeholders stays as it is.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/bookmarks/url_bookmark.h"
#include "core/bookmarks/url_macro.h"
#include "core/codes/stock_code_list.h"
#include "core/text/sjis.h"
#include "fuzz_support.h"

namespace sorvi::fuzz {
namespace {

// Each value becomes a token that the macro cannot hold, so that the tokens
// in the result show where each value went.
std::string Token(char kind, size_t index) { return std::string("\x01") + kind + std::to_string(index) + "\x02"; }

UrlSelection Tokens(const UrlSelection& s) {
  UrlSelection t;
  for (size_t i = 0; i < s.codes.size(); ++i) t.codes.push_back(Token('C', i));
  t.group = Token('G', 0);
  t.name = Token('N', 0);
  return t;
}

std::string Untoken(std::string_view text, const UrlSelection& s) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    if (text[i] != '\x01') {
      out += text[i++];
      continue;
    }
    const size_t end = text.find('\x02', i);
    FUZZ_CHECK(end != std::string_view::npos, "a value was cut");
    const char kind = text[i + 1];
    const size_t index = std::stoul(std::string(text.substr(i + 2, end - i - 2)));
    out += kind == 'C' ? s.codes.at(index) : kind == 'G' ? s.group : s.name;
    i = end + 1;
  }
  return out;
}

bool IsSubsequence(std::string_view part, std::string_view whole) {
  size_t j = 0;
  for (size_t i = 0; i < whole.size() && j < part.size(); ++i) j += whole[i] == part[j];
  return j == part.size();
}

void CheckExpansion(std::string_view macro, const UrlSelection& selection) {
  const std::string out = ExpandUrlMacro(macro, selection);
  if (macro.find('%') == std::string_view::npos) FUZZ_CHECK(out == macro, "text without % changed");
  if (macro.find_first_of("\x01\x02") == std::string_view::npos) {
    const std::string marked = ExpandUrlMacro(macro, Tokens(selection));
    FUZZ_CHECK(Untoken(marked, selection) == out, "an inserted value was scanned again or cut");
  }
  // With nothing to insert, expansion only drops bytes.
  const std::string bare = ExpandUrlMacro(macro, UrlSelection{});
  FUZZ_CHECK(IsSubsequence(bare, macro), "expansion without values added bytes");
}

void Run(std::string_view tree_bytes, std::string_view selected_bits, std::string_view macro, std::string_view extra) {
  const StockCodeList list = ParseStockCodeFile(tree_bytes).list;
  std::vector<TreeNodeView> nodes;
  size_t stocks = 0;
  for (const StockGroup& group : list.groups) {
    nodes.push_back({0, group.text, false});
    for (const std::string& stock : group.stocks) nodes.push_back({1, stock, false});
    stocks += group.stocks.size();
  }
  bool any = false;
  for (size_t i = 0; i < nodes.size(); ++i) {
    const size_t byte = i / 8;
    nodes[i].selected = byte < selected_bits.size() && (selected_bits[byte] >> (i % 8)) & 1;
    any = any || nodes[i].selected;
  }

  const UrlSelection selection = GatherSelection(nodes);
  if (!any) FUZZ_CHECK(selection == UrlSelection{}, "a selection without selected nodes");
  FUZZ_CHECK(selection.codes.size() <= stocks, "more codes than stocks");
  for (const std::string& code : selection.codes) FUZZ_CHECK(code.size() <= 4, "a code longer than four bytes");

  CheckExpansion(macro, selection);
  // Values that look like placeholders themselves.
  UrlSelection hostile = selection;
  for (std::string& code : hostile.codes) code = std::string(extra) + code;
  hostile.group = std::string(extra) + hostile.group;
  hostile.name = std::string(extra);
  CheckExpansion(macro, hostile);

  UrlBookmark bookmark;
  bookmark.fixed_title = 1;
  bookmark.name = std::string(extra);
  bookmark.title = std::string(macro);
  const std::string caption = MakeBookmarkCaption(bookmark, hostile);
  if (macro.empty()) {
    FUZZ_CHECK(caption == extra, "caption of an empty title is not the name");
  } else {
    FUZZ_CHECK(TrimControlAndBlank(caption) == caption, "caption keeps blanks or controls at an end");
  }
  bookmark.fixed_title = 0;
  FUZZ_CHECK(MakeBookmarkCaption(bookmark, hostile).empty(), "caption without a fixed title");
}

}  // namespace
}  // namespace sorvi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sorvi::fuzz;
  const std::vector<std::string_view> fields = SplitFields(AsView(data, size), 4);
  const ExactBytes tree(fields[0]), bits(fields[1]), macro(fields[2]), extra(fields[3]);
  Run(tree.view(), bits.view(), macro.view(), extra.view());
  return 0;
}
