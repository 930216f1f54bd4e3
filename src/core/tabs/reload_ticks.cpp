#include "core/tabs/reload_ticks.h"

namespace sorvi {

std::vector<size_t> TimerTick(std::vector<ReloadState>& tabs) {
  std::vector<size_t> due;
  for (size_t i = 0; i < tabs.size(); ++i) {
    ReloadState& tab = tabs[i];
    if (tab.interval == 0) continue;
    // A count already at its goal needs no step (and cannot overflow).
    if (tab.count < tab.interval) ++tab.count;
    if (tab.count >= tab.interval) {
      due.push_back(i);
      tab.count = 0;
    }
  }
  return due;
}

void ChooseReloadInterval(ReloadState& tab, int ticks) {
  tab.interval = ticks;
  tab.count = 0;
}

int ReloadMenuIndex(int interval) {
  for (size_t i = 0; i < kReloadMenuTicks.size(); ++i)
    if (kReloadMenuTicks[i] == interval) return static_cast<int>(i);
  return -1;
}

}  // namespace sorvi
