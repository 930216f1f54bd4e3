#include <gtest/gtest.h>

#include <vector>

#include "core/tabs/lock_state.h"
#include "core/tabs/reload_ticks.h"

namespace sorvi {
namespace {

using Due = std::vector<size_t>;

// ---- automatic reload ----------------------------------------------------------

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
    EXPECT_EQ(ReloadTicks(tabs, 2 * ticks), (std::vector<int>{ticks, 2 * ticks}))
        << ticks;
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

// ---- lock indicator --------------------------------------------------------------

TEST(LockIndicatorTest, ButtonUpEachClickTakesTheNewlyFocusedWindow) {
  LockIndicator lock;
  EXPECT_TRUE(lock.PageClick());
  EXPECT_EQ(lock.icon(), kLockIconWaiting);
  EXPECT_EQ(lock.settled(), kLockIconNone);
  EXPECT_TRUE(lock.IdleCapture(7));
  EXPECT_EQ(lock.target(), 7u);
  EXPECT_EQ(lock.icon(), kLockIconTaken);
  EXPECT_EQ(lock.settled(), kLockIconTaken);
  EXPECT_FALSE(lock.capture_pending());

  EXPECT_TRUE(lock.PageClick());
  EXPECT_TRUE(lock.IdleCapture(9));
  EXPECT_EQ(lock.target(), 9u);
}

TEST(LockIndicatorTest, ButtonUpPageLoadForgetsTheTarget) {
  LockIndicator lock;
  lock.PageClick();
  lock.IdleCapture(7);
  lock.DownloadBegin();
  EXPECT_EQ(lock.icon(), kLockIconWaiting);
  EXPECT_EQ(lock.settled(), kLockIconTaken);
  lock.DownloadComplete();
  EXPECT_EQ(lock.target(), 0u);
  EXPECT_EQ(lock.icon(), kLockIconNone);
  EXPECT_EQ(lock.settled(), kLockIconNone);
}

TEST(LockIndicatorTest, ButtonDownKeepsTheTargetThroughClicksAndLoads) {
  LockIndicator lock;
  lock.PageClick();
  lock.IdleCapture(7);
  lock.SetPressed(true);
  EXPECT_FALSE(lock.PageClick());
  EXPECT_FALSE(lock.capture_pending());
  EXPECT_EQ(lock.icon(), kLockIconTaken);
  lock.DownloadBegin();
  lock.DownloadComplete();
  EXPECT_EQ(lock.target(), 7u);
  EXPECT_EQ(lock.icon(), kLockIconHeld);
  EXPECT_EQ(lock.settled(), kLockIconHeld);
}

TEST(LockIndicatorTest, ButtonDownWithoutTargetSettlesToNone) {
  LockIndicator lock;
  lock.SetPressed(true);
  lock.DownloadBegin();
  lock.DownloadComplete();
  EXPECT_EQ(lock.icon(), kLockIconNone);
  EXPECT_EQ(lock.settled(), kLockIconNone);
}

TEST(LockIndicatorTest, FocusOutsideThePageLeavesTheIconWaiting) {
  LockIndicator lock;
  lock.PageClick();
  lock.IdleCapture(7);
  lock.PageClick();
  EXPECT_FALSE(lock.IdleCapture(0));
  EXPECT_FALSE(lock.capture_pending());
  EXPECT_EQ(lock.icon(), kLockIconWaiting);
  EXPECT_EQ(lock.settled(), kLockIconTaken);
  EXPECT_EQ(lock.target(), 7u);
  // While the icon waits, clicks arm nothing until the next settling.
  EXPECT_FALSE(lock.PageClick());
  EXPECT_FALSE(lock.capture_pending());
}

TEST(LockIndicatorTest, LoadStartCancelsAPendingCapture) {
  LockIndicator lock;
  lock.PageClick();
  lock.DownloadBegin();
  EXPECT_FALSE(lock.capture_pending());
  EXPECT_FALSE(lock.IdleCapture(5));
  EXPECT_EQ(lock.target(), 0u);
  EXPECT_EQ(lock.icon(), kLockIconWaiting);
}

TEST(LockIndicatorTest, ClearForgetsEverythingButTheButton) {
  LockIndicator lock;
  EXPECT_FALSE(lock.can_clear());
  lock.PageClick();
  EXPECT_TRUE(lock.can_clear());
  lock.IdleCapture(7);
  lock.SetPressed(true);
  lock.Clear();
  EXPECT_EQ(lock.target(), 0u);
  EXPECT_EQ(lock.icon(), kLockIconNone);
  EXPECT_EQ(lock.settled(), kLockIconNone);
  EXPECT_TRUE(lock.pressed());
  EXPECT_FALSE(lock.can_clear());
}

TEST(LockIndicatorTest, TabSwitchSavesTheSettledStateNotTheWaitingIcon) {
  LockIndicator lock;
  lock.PageClick();
  lock.IdleCapture(7);
  lock.PageClick();  // waiting again when the user switches away
  const SavedLock first = lock.SaveForTabSwitch();
  EXPECT_EQ(first.state, kLockIconTaken);
  EXPECT_EQ(first.target, 7u);
  EXPECT_FALSE(first.down);

  lock.RestoreForTabSwitch(SavedLock{true, kLockIconHeld, 3});
  EXPECT_TRUE(lock.pressed());
  EXPECT_EQ(lock.icon(), kLockIconHeld);
  EXPECT_EQ(lock.target(), 3u);

  lock.RestoreForTabSwitch(first);
  EXPECT_FALSE(lock.pressed());
  EXPECT_EQ(lock.icon(), kLockIconTaken);
  EXPECT_EQ(lock.settled(), kLockIconTaken);
  EXPECT_EQ(lock.target(), 7u);
}

}  // namespace
}  // namespace sorvi
