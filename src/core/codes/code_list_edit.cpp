#include "core/codes/code_list_edit.h"

#include <iterator>
#include <utility>

namespace sorvi {

bool ContainsNode(const StockCodeList& list, NodePos pos) {
  if (pos.group < 0 || size_t(pos.group) >= list.groups.size()) return false;
  return pos.IsGroup() || size_t(pos.stock) < list.groups[size_t(pos.group)].stocks.size();
}

std::string MaskedStockCode(std::string_view shown) {
  std::string code(4, '0');
  for (size_t i = 0; i < 4 && i < shown.size(); ++i) {
    if (shown[i] != ' ') code[i] = shown[i];
  }
  return code;
}

std::string ComposeGroupText(std::string_view name) {
  std::string text;
  text.reserve(name.size() + 2);
  text += '[';
  text += name;
  text += ']';
  return text;
}

std::string ComposeStockText(std::string_view code, std::string_view name) {
  std::string text;
  text.reserve(code.size() + 1 + name.size());
  text += code;
  text += ' ';
  text += name;
  return text;
}

std::string_view NodeText(const StockCodeList& list, NodePos pos) {
  if (!ContainsNode(list, pos)) return {};
  const StockGroup& group = list.groups[size_t(pos.group)];
  return pos.IsGroup() ? std::string_view(group.text) : std::string_view(group.stocks[size_t(pos.stock)]);
}

bool SetNodeText(StockCodeList& list, NodePos pos, std::string text) {
  if (!ContainsNode(list, pos)) return false;
  StockGroup& group = list.groups[size_t(pos.group)];
  (pos.IsGroup() ? group.text : group.stocks[size_t(pos.stock)]) = std::move(text);
  return true;
}

std::optional<NodePos> PlanAddNode(const StockCodeList& list, std::optional<NodePos> selected, bool as_group) {
  if (!selected) return NodePos{int(list.groups.size())};
  if (!ContainsNode(list, *selected)) return std::nullopt;
  const NodePos at = *selected;
  if (!at.IsGroup()) return NodePos{at.group, at.stock + 1};
  return as_group ? NodePos{at.group + 1} : NodePos{at.group, 0};
}

bool InsertNodeAt(StockCodeList& list, NodePos at, std::string text) {
  if (at.group < 0 || size_t(at.group) > list.groups.size()) return false;
  if (at.IsGroup()) {
    list.groups.insert(list.groups.begin() + at.group, StockGroup{std::move(text), {}});
    return true;
  }
  if (size_t(at.group) == list.groups.size()) return false;
  auto& stocks = list.groups[size_t(at.group)].stocks;
  if (size_t(at.stock) > stocks.size()) return false;
  stocks.insert(stocks.begin() + at.stock, std::move(text));
  return true;
}

std::optional<NodePos> AddNode(StockCodeList& list, std::optional<NodePos> selected, bool as_group, std::string text) {
  const std::optional<NodePos> at = PlanAddNode(list, selected, as_group);
  if (!at || !InsertNodeAt(list, *at, std::move(text))) return std::nullopt;
  return at;
}

std::optional<NodePos> DuplicateNode(StockCodeList& list, NodePos pos) {
  if (!ContainsNode(list, pos)) return std::nullopt;
  const NodePos at = pos.IsGroup() ? NodePos{pos.group + 1} : NodePos{pos.group, pos.stock + 1};
  InsertNodeAt(list, at, std::string(NodeText(list, pos)));
  return at;
}

bool CanDeleteNode(const StockCodeList& list, NodePos pos) {
  if (!ContainsNode(list, pos)) return false;
  return !pos.IsGroup() || list.groups[size_t(pos.group)].stocks.empty();
}

bool DeleteNode(StockCodeList& list, NodePos pos) {
  if (!CanDeleteNode(list, pos)) return false;
  if (pos.IsGroup()) {
    list.groups.erase(list.groups.begin() + pos.group);
  } else {
    auto& stocks = list.groups[size_t(pos.group)].stocks;
    stocks.erase(stocks.begin() + pos.stock);
  }
  return true;
}

std::optional<NodeMove> PlanNodeDrop(const StockCodeList& list, NodePos from, NodePos target) {
  if (!ContainsNode(list, from) || !ContainsNode(list, target)) return std::nullopt;
  if (from.IsGroup()) {
    // Before an earlier group, after a later one; either way the group ends
    // up at the target's index once it has been taken out.
    if (!target.IsGroup()) return std::nullopt;
    return NodeMove{from, NodePos{target.group}};
  }
  if (target.IsGroup()) return NodeMove{from, NodePos{target.group, 0}};
  if (target.group == from.group) return NodeMove{from, target};
  return NodeMove{from, NodePos{target.group, target.stock + 1}};
}

void ApplyNodeMove(StockCodeList& list, const NodeMove& move) {
  if (move.from.IsGroup()) {
    StockGroup group = std::move(list.groups[size_t(move.from.group)]);
    list.groups.erase(list.groups.begin() + move.from.group);
    list.groups.insert(list.groups.begin() + move.to.group, std::move(group));
    return;
  }
  auto& source = list.groups[size_t(move.from.group)].stocks;
  std::string stock = std::move(source[size_t(move.from.stock)]);
  source.erase(source.begin() + move.from.stock);
  auto& target = list.groups[size_t(move.to.group)].stocks;
  target.insert(target.begin() + move.to.stock, std::move(stock));
}

}  // namespace sorvi
