#include <gtest/gtest.h>

#include <vector>

#include "core/tabs/reload_ticks.h"

namespace sorvi {
namespace {

using Due = std::vector<size_t>;

// The ticks (1-based) at which tab 0 was reloaded within `ticks` ticks.
std::vector<int> ReloadTicks(std::vector<ReloadState>& tabs, int ticks) {
  std::vector<int> fired;
  for (int t = 1; t <= ticks; ++t)
    for (size_t i : TimerTick(tabs))
      if (i == 0) fired.push_back(t);
  return fired;
}

TEST(ReloadTicksTest, EveryChoiceFiresAfterExactlyItsTicks) {
  for (int ticks : kReloadMenuTicks) {
    if (ticks == 0) continue;
    std::vector<ReloadState> tabs(1);
    tabs[0].count = 3;  // left over from an earlier choice
    ChooseReloadInterval(tabs[0], ticks);
    EXPECT_EQ(ReloadTicks(tabs, 2 * ticks), (std::vector<int>{ticks, 2 * ticks})) << ticks;
  }
}

TEST(ReloadTicksTest, ChoosingAgainRestartsTheCount) {
  std::vector<ReloadState> tabs(1);
  ChooseReloadInterval(tabs[0], 4);
  ReloadTicks(tabs, 3);
  ChooseReloadInterval(tabs[0], 4);
  EXPECT_EQ(ReloadTicks(tabs, 4), std::vector<int>{4});
}

TEST(ReloadTicksTest, NoneStopsOneTabWhileOthersKeepReloading) {
  std::vector<ReloadState> tabs(3);
  ChooseReloadInterval(tabs[0], 1);
  ChooseReloadInterval(tabs[1], 2);
  ChooseReloadInterval(tabs[2], 1);
  EXPECT_EQ(TimerTick(tabs), (Due{0, 2}));
  EXPECT_EQ(TimerTick(tabs), (Due{0, 1, 2}));
  ChooseReloadInterval(tabs[0], 0);
  EXPECT_EQ(TimerTick(tabs), Due{2});
  EXPECT_EQ(TimerTick(tabs), (Due{1, 2}));
  EXPECT_EQ(tabs[0].count, 0);
}

TEST(ReloadTicksTest, EveryTabCountsWhetherActiveOrNot) {
  // Nothing but the tab order matters: the second tab, in the background,
  // comes due on its own schedule.
  std::vector<ReloadState> tabs(2);
  ChooseReloadInterval(tabs[1], 2);
  EXPECT_TRUE(TimerTick(tabs).empty());
  EXPECT_EQ(TimerTick(tabs), Due{1});
}

TEST(ReloadTicksTest, OddIntervalsNeverCrash) {
  std::vector<ReloadState> tabs{{-3, 0}, {1, 1000}, {2, -5}};
  EXPECT_EQ(TimerTick(tabs), (Due{0, 1}));
  EXPECT_EQ(tabs[2].count, -4);
  std::vector<ReloadState> none;
  EXPECT_TRUE(TimerTick(none).empty());
}

TEST(ReloadTicksTest, MenuItemForAnInterval) {
  EXPECT_EQ(ReloadMenuIndex(0), 0);
  EXPECT_EQ(ReloadMenuIndex(4), 3);
  EXPECT_EQ(ReloadMenuIndex(20), 5);
  EXPECT_EQ(ReloadMenuIndex(3), -1);
}

}  // namespace
}  // namespace sorvi
