#include "core/tabs/tab_close.h"

namespace sorvi {

CloseResult CloseTab(const std::vector<int>& return_indexes, int closed) {
  CloseResult result;
  result.return_indexes = return_indexes;
  const int count = static_cast<int>(return_indexes.size());
  if (closed < 0 || closed >= count) return result;

  int next = 0;
  if (count > 1) {
    next = return_indexes[closed];
    if (closed < next) --next;
  }
  std::vector<int>& remaining = result.return_indexes;
  remaining.erase(remaining.begin() + closed);
  if (remaining.empty()) return result;

  for (std::size_t i = static_cast<std::size_t>(closed); i < remaining.size(); ++i)
    if (remaining[i] > 0) --remaining[i];
  if (next < 0 || next >= static_cast<int>(remaining.size())) next = 0;
  result.next_active = next;
  return result;
}

}  // namespace sorvi
