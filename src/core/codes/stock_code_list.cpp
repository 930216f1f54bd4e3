#include "core/codes/stock_code_list.h"

#include "core/text/sjis.h"

namespace sorvi {

StockCodeLoad ParseStockCodeFile(std::string_view bytes) {
  StockCodeLoad load;
  std::vector<std::string> orphans;
  StockGroup* current = nullptr;
  for (std::string& line : SplitLines(bytes)) {
    if (line.empty()) continue;
    if (line.front() == '[') {
      load.list.groups.push_back(StockGroup{std::move(line), {}});
      current = &load.list.groups.back();
    } else if (current != nullptr) {
      current->stocks.push_back(std::move(line));
    } else {
      orphans.push_back(std::move(line));
    }
  }
  if (!orphans.empty()) {
    load.orphan_lines = orphans.size();
    load.list.groups.insert(load.list.groups.begin(), StockGroup{std::string(kUngroupedGroupText), std::move(orphans)});
  }
  return load;
}

std::string SerializeStockCodeList(const StockCodeList& list) {
  size_t size = 0;
  for (const StockGroup& group : list.groups) {
    size += group.text.size() + 2;
    for (const std::string& stock : group.stocks) size += stock.size() + 2;
  }
  std::string out;
  out.reserve(size);
  for (const StockGroup& group : list.groups) {
    out += group.text;
    out += "\r\n";
    for (const std::string& stock : group.stocks) {
      out += stock;
      out += "\r\n";
    }
  }
  return out;
}

std::string_view StockCode(std::string_view stock_text) { return stock_text.substr(0, 4); }

std::string_view StockName(std::string_view stock_text) {
  return stock_text.size() <= 5 ? std::string_view() : stock_text.substr(5);
}

std::string_view GroupName(std::string_view group_text) {
  if (group_text.size() < 2) return {};
  return group_text.substr(1, group_text.size() - 2);
}

std::string MakeExpandState(const std::vector<bool>& expanded) {
  std::string state;
  state.reserve(expanded.size());
  for (bool open : expanded) state += open ? '-' : '+';
  return state;
}

std::vector<bool> ApplyExpandState(std::string_view state, size_t group_count) {
  std::vector<bool> expanded(group_count, false);
  for (size_t i = 0; i < group_count && i < state.size(); ++i) expanded[i] = state[i] == '-';
  return expanded;
}

}  // namespace sorvi
