#pragma once
// Stock codes as they stand in a page's text (UTF-8): four characters
// written as codes are, half- or full-width ("7203", "１３０Ａ"), standing
// alone, not as part of a longer word or number ("17203", "1234.5",
// "2024/01"), nor as an amount ("+1234", "1234円"). The page marking script
// applies the same rule; the tests of both hold them together. Also the
// name proposed for a stock found in a page, and the table of the user's
// stocks the pages mark.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/codes/stock_code_list.h"

namespace sorvi {

struct CodeInText {
  size_t begin = 0;  // byte offsets into the text
  size_t end = 0;
  std::string code;  // half-width, e.g. "130A"
};

std::vector<CodeInText> FindStockCodes(std::string_view utf8);

// A name for the stock `code` found in a page: from `text` (the selection
// or the link's text) with the code and brackets around it taken away,
// else the first text of the code's table row that is neither the code, a
// number nor a price; empty when none is. Spaces at the ends go.
std::string ProposeStockName(std::string_view text, std::string_view code, const std::vector<std::string>& row_texts);

// A stock of the user's list as pages show it: its code (first four bytes
// of the stock line) and one "group: code name" line per group holding it
// (code page 932 bytes, in list order, each group once).
struct MarkedStock {
  std::string code;
  std::vector<std::string> lines;
};
std::vector<MarkedStock> MarkedStocks(const StockCodeList& list);

// The indexes of the groups that hold a stock of `code`, in list order.
std::vector<size_t> GroupsHolding(const StockCodeList& list, std::string_view code);

}  // namespace sorvi
