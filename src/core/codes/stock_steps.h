#pragma once
// Going through the stocks one at a time in the tree's order, as the flip
// keys do: across groups, past group rows and empty groups, never round
// from one end to the other.
#include <cstddef>
#include <optional>

#include "core/codes/code_list_edit.h"

namespace sorvi {

// The stock after (`forward`) or before the node `from`. A group's own
// stocks come after it. Without a node in the list, forward starts at the
// first stock and backward at the last one. Nothing past the ends.
std::optional<NodePos> StepStock(const StockCodeList& list, std::optional<NodePos> from, bool forward);

// A stock's place among all the list's stocks: `number` counts from 1.
struct StockPlace {
  size_t number = 0;
  size_t count = 0;

  bool operator==(const StockPlace&) const = default;
};
// `number` is 0 when `stock` names no stock of the list.
StockPlace PlaceOfStock(const StockCodeList& list, NodePos stock);

}  // namespace sorvi
