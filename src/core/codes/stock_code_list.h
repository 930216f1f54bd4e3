#pragma once
// The stock code list: groups of stocks as the tree shows them, the
// SV_Code.txt format, the fields read out of node texts and the remembered
// expanded/collapsed state of the groups. Texts are Shift-JIS bytes.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sorvi {

// A top-level node. `text` is the whole line, brackets included; each stock
// text is the whole stock line (code, separator byte, name).
struct StockGroup {
  std::string text;
  std::vector<std::string> stocks;

  bool operator==(const StockGroup&) const = default;
};

struct StockCodeList {
  std::vector<StockGroup> groups;

  bool operator==(const StockCodeList&) const = default;
};

// Stock lines that come before any group line have no group of their own.
// Dropping them would lose the user's data on the next save, so they are
// gathered under a group of this text ("[未分類]" in code page 932), put first.
inline constexpr std::string_view kUngroupedGroupText = "[\x96\xA2\x95\xAA\x97\xDE]";

struct StockCodeLoad {
  StockCodeList list;
  // How many stock lines were moved into the kUngroupedGroupText group;
  // zero when the file had none and no such group was made.
  size_t orphan_lines = 0;
};

// Reads the contents of SV_Code.txt. Never rejects a line: every non-empty
// line is either a group ("[" first) or a stock of the group above it.
StockCodeLoad ParseStockCodeFile(std::string_view bytes);

// Every node text followed by CR LF, depth-first; an empty list gives "".
std::string SerializeStockCodeList(const StockCodeList& list);

// Fields of node texts, over byte positions.
std::string_view StockCode(std::string_view stock_text);  // first 4 bytes
std::string_view StockName(std::string_view stock_text);  // after 5 bytes
std::string_view GroupName(std::string_view group_text);  // without ends

// Expand state: one byte per group, "-" expanded, "+" collapsed.
std::string MakeExpandState(const std::vector<bool>& expanded);
// For each of `group_count` groups: expanded exactly when its byte exists
// and is "-". Surplus bytes are ignored.
std::vector<bool> ApplyExpandState(std::string_view state, size_t group_count);

}  // namespace sorvi
