#include "core/codes/stock_steps.h"

namespace sorvi {

namespace {

int StockCount(const StockCodeList& list, int group) { return int(list.groups[size_t(group)].stocks.size()); }

// The first stock at or after (group, stock), each later group from its top.
std::optional<NodePos> FirstFrom(const StockCodeList& list, int group, int stock) {
  for (int g = group; g < int(list.groups.size()); ++g, stock = 0) {
    if (stock < StockCount(list, g)) return NodePos{g, stock};
  }
  return std::nullopt;
}

// The last stock at or before (group, stock); a stock of -2 stands for the
// group's last one.
std::optional<NodePos> LastFrom(const StockCodeList& list, int group, int stock) {
  for (int g = group; g >= 0; --g, stock = -2) {
    const int last = StockCount(list, g) - 1;
    const int s = stock == -2 || stock > last ? last : stock;
    if (s >= 0) return NodePos{g, s};
  }
  return std::nullopt;
}

}  // namespace

std::optional<NodePos> StepStock(const StockCodeList& list, std::optional<NodePos> from, bool forward) {
  const int groups = int(list.groups.size());
  if (!from || !ContainsNode(list, *from)) return forward ? FirstFrom(list, 0, 0) : LastFrom(list, groups - 1, -2);
  if (from->IsGroup()) return forward ? FirstFrom(list, from->group, 0) : LastFrom(list, from->group - 1, -2);
  return forward ? FirstFrom(list, from->group, from->stock + 1) : LastFrom(list, from->group, from->stock - 1);
}

StockPlace PlaceOfStock(const StockCodeList& list, NodePos stock) {
  StockPlace place;
  for (int g = 0; g < int(list.groups.size()); ++g) {
    if (g == stock.group && !stock.IsGroup() && stock.stock < StockCount(list, g))
      place.number = place.count + size_t(stock.stock) + 1;
    place.count += size_t(StockCount(list, g));
  }
  return place;
}

}  // namespace sorvi
