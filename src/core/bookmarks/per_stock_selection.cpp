#include "core/bookmarks/per_stock_selection.h"

namespace sorvi {

std::vector<UrlSelection> GatherSelectionPerStock(const std::vector<TreeNodeView>& nodes) {
  std::vector<UrlSelection> selections;
  size_t first = 0;
  while (first < nodes.size() && !nodes[first].selected) ++first;
  if (first == nodes.size()) return selections;

  const bool whole_group = nodes[first].level == 0;
  size_t group = first;
  while (group > 0 && nodes[group].level != 0) --group;
  const bool has_group = nodes[group].level == 0;
  for (size_t i = whole_group ? first + 1 : first; i < nodes.size() && nodes[i].level != 0; ++i) {
    if (!whole_group && !nodes[i].selected) continue;
    // The stock alone selected under its group, through the one rule.
    std::vector<TreeNodeView> alone;
    if (has_group) alone.push_back({0, nodes[group].text, false});
    alone.push_back({1, nodes[i].text, true});
    selections.push_back(GatherSelection(alone));
  }
  return selections;
}

}  // namespace sorvi
