#pragma once
// Automatic reload: one 15-second timer for all tabs, each tab counting
// ticks towards its own interval.
#include <array>
#include <cstddef>
#include <vector>

namespace sorvi {

inline constexpr int kReloadTimerPeriodMs = 15000;

// The tags of the reload submenu, in menu order: "なし", "15秒", "30秒",
// "1分", "2分", "5分", as intervals in ticks.
inline constexpr std::array<int, 6> kReloadMenuTicks = {0, 1, 2, 4, 8, 20};

// A tab's ReloadInterval (ticks, 0 = none) and ReloadCount.
struct ReloadState {
  int interval = 0;
  int count = 0;
};

// One timer tick over the tabs in tab order; returns the indexes of the tabs
// to reload now, active or not.
std::vector<size_t> TimerTick(std::vector<ReloadState>& tabs);

// A reload item was picked for this tab: it counts afresh from now. The
// caller then starts the timer if it is not running (also for "なし").
void ChooseReloadInterval(ReloadState& tab, int ticks);

// The menu item to check for an interval: the first whose tag matches, or
// -1 when none does.
int ReloadMenuIndex(int interval);

}  // namespace sorvi
