#include "core/tabs/tab_switch.h"

namespace sorvi {

bool TabSwitchMemory::Leave(int active_index, bool macro_waiting, bool with_sender) {
  if (active_index < 0) return true;
  if (macro_waiting) return false;
  if (with_sender) previous_tab_index_ = active_index;
  return true;
}

void TabSwitchMemory::Arrive(bool with_sender, int& return_index) const {
  if (with_sender) return_index = previous_tab_index_;
}

}  // namespace sorvi
