// SV_Code.txt: any bytes as the file. No byte of a line is lost, what is
// read saves and reads back as the same list, and the node fields stay
// inside their texts.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/codes/stock_code_list.h"
#include "core/text/list_file_text.h"
#include "fuzz_support.h"

namespace sorvi::fuzz {
namespace {

bool HoldsLineEndOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

void CheckFields(const StockCodeList& list) {
  for (const StockGroup& group : list.groups) {
    const std::string_view name = GroupName(group.text);
    FUZZ_CHECK(name.size() + 2 == group.text.size() || (group.text.size() < 2 && name.empty()),
               "group name is not the text without its ends");
    FUZZ_CHECK(name.empty() || group.text.substr(1, name.size()) == name, "group name not inside its text");
    for (const std::string& stock : group.stocks) {
      const std::string_view code = StockCode(stock);
      const std::string_view stock_name = StockName(stock);
      FUZZ_CHECK(code.size() == std::min<size_t>(stock.size(), 4) && stock.starts_with(code),
                 "code is not the first four bytes");
      FUZZ_CHECK(stock.size() <= 5 ? stock_name.empty() : stock_name.size() + 5 == stock.size(),
                 "name is not what follows the fifth byte");
      FUZZ_CHECK(stock.ends_with(stock_name), "name not at the end of its text");
    }
  }
}

void Run(std::string_view file_bytes) {
  const ListFileText text = CheckListFileText(file_bytes);
  FUZZ_CHECK(text.bytes.size() <= file_bytes.size(), "list text longer than the file");
  const StockCodeLoad load = ParseStockCodeFile(text.bytes);
  const StockCodeList& list = load.list;

  // Every byte before the first NUL that is no line end lands in a node.
  const std::string_view readable = text.bytes.substr(0, text.bytes.find('\0'));
  size_t content = 0;
  for (char c : readable) content += c != '\r' && c != '\n';
  size_t kept = 0;
  for (size_t g = 0; g < list.groups.size(); ++g) {
    const StockGroup& group = list.groups[g];
    const bool made_up = g == 0 && load.orphan_lines > 0;
    FUZZ_CHECK(!group.text.empty() && group.text.front() == '[', "group text does not start with [");
    FUZZ_CHECK(!HoldsLineEndOrNul(group.text), "group text holds a line end");
    if (!made_up) kept += group.text.size();
    if (made_up) {
      FUZZ_CHECK(group.text == kUngroupedGroupText && group.stocks.size() == load.orphan_lines,
                 "stocks without a group not gathered first");
    }
    for (const std::string& stock : group.stocks) {
      FUZZ_CHECK(!stock.empty() && stock.front() != '[', "stock text empty or a group line");
      FUZZ_CHECK(!HoldsLineEndOrNul(stock), "stock text holds a line end");
      kept += stock.size();
    }
  }
  FUZZ_CHECK(kept == content, "bytes of the file lost or added");
  CheckFields(list);

  // Saved and read again: the same list, and the same bytes once more.
  const std::string saved = SerializeStockCodeList(list);
  const ExactBytes saved_copy(saved);
  const StockCodeLoad again = ParseStockCodeFile(saved_copy.view());
  FUZZ_CHECK(again.orphan_lines == 0, "a saved list has stocks without a group");
  FUZZ_CHECK(again.list == list, "saved list reads back otherwise");
  FUZZ_CHECK(SerializeStockCodeList(again.list) == saved, "second save differs from the first");

  // The remembered open groups: one byte each, read back as written.
  std::vector<bool> expanded;
  for (size_t g = 0; g < list.groups.size(); ++g) expanded.push_back(file_bytes.size() > g && (file_bytes[g] & 1));
  const std::string state = MakeExpandState(expanded);
  FUZZ_CHECK(ApplyExpandState(state, expanded.size()) == expanded, "expand state reads back otherwise");
  const std::vector<bool> from_file = ApplyExpandState(file_bytes, list.groups.size());
  FUZZ_CHECK(from_file.size() == list.groups.size(), "expand state not one per group");
}

}  // namespace
}  // namespace sorvi::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const sorvi::fuzz::ExactBytes input(sorvi::fuzz::AsView(data, size));
  sorvi::fuzz::Run(input.view());
  return 0;
}
