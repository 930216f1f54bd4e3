#pragma once
// Which tab comes forward when the active tab is closed, and how the
// remaining tabs' ReturnIndex values follow the removal.
#include <cstddef>
#include <vector>

namespace sorvi {

struct CloseResult {
  int next_active = -1;             // -1 when no tab is left
  std::vector<int> return_indexes;  // of the remaining tabs, in tab order
};

// `return_indexes` holds every tab's ReturnIndex in tab order; `closed` is
// the index of the (active) tab being closed. The closed tab's ReturnIndex
// names the next tab, counted before the removal; only the tabs from the
// closed position on are shifted down, and only values above 0 move. A
// target that is no longer a tab falls back to the first tab. A `closed`
// outside the list closes nothing: the values come back unchanged with
// next_active -1.
CloseResult CloseTab(const std::vector<int>& return_indexes, int closed);

}  // namespace sorvi
