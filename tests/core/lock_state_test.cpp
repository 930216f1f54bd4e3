#include <gtest/gtest.h>

#include "core/tabs/lock_state.h"

namespace sorvi {
namespace {

class LockIndicatorTest : public ::testing::Test {
 protected:
  // A click, and window 7 focused by it when idle comes: the target.
  void TakeWindow7() {
    lock.PageClick();
    lock.IdleCapture(7);
  }
  LockIndicator lock;
};

TEST_F(LockIndicatorTest, ButtonUpEachClickTakesTheNewlyFocusedWindow) {
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

TEST_F(LockIndicatorTest, ButtonUpPageLoadForgetsTheTarget) {
  TakeWindow7();
  lock.DownloadBegin();
  EXPECT_EQ(lock.icon(), kLockIconWaiting);
  EXPECT_EQ(lock.settled(), kLockIconTaken);
  lock.DownloadComplete();
  EXPECT_EQ(lock.target(), 0u);
  EXPECT_EQ(lock.icon(), kLockIconNone);
  EXPECT_EQ(lock.settled(), kLockIconNone);
}

TEST_F(LockIndicatorTest, ButtonDownKeepsTheTargetThroughClicksAndLoads) {
  TakeWindow7();
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

TEST_F(LockIndicatorTest, ButtonDownWithoutTargetSettlesToNone) {
  lock.SetPressed(true);
  lock.DownloadBegin();
  lock.DownloadComplete();
  EXPECT_EQ(lock.icon(), kLockIconNone);
  EXPECT_EQ(lock.settled(), kLockIconNone);
}

TEST_F(LockIndicatorTest, FocusOutsideThePageLeavesTheIconWaiting) {
  TakeWindow7();
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

TEST_F(LockIndicatorTest, LoadStartCancelsAPendingCapture) {
  lock.PageClick();
  lock.DownloadBegin();
  EXPECT_FALSE(lock.capture_pending());
  EXPECT_FALSE(lock.IdleCapture(5));
  EXPECT_EQ(lock.target(), 0u);
  EXPECT_EQ(lock.icon(), kLockIconWaiting);
}

TEST_F(LockIndicatorTest, ClearForgetsEverythingButTheButton) {
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

TEST_F(LockIndicatorTest, TabSwitchSavesTheSettledStateNotTheWaitingIcon) {
  TakeWindow7();
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
