#include "core/tabs/tab_sleep.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace sorvi {
namespace {

TEST(TabSleep, OnlyAHiddenIdleTabSleepsOnceItsTimeIsUp) {
  const TabSleepOption on{true, 1}, off{false, 1};
  const int64_t minute = 60000;
  TabSleepState idle;
  idle.hidden_ms = minute;
  // Each keeps a tab awake on its own.
  using Flag = bool TabSleepState::*;
  const Flag keep_awake[] = {&TabSleepState::asleep,
                             &TabSleepState::shown,
                             &TabSleepState::reloads,
                             &TabSleepState::locked,
                             &TabSleepState::full_screen,
                             &TabSleepState::busy,
                             &TabSleepState::download_or_print,
                             &TabSleepState::audible_recently,
                             &TabSleepState::edited,
                             &TabSleepState::popup_linked,
                             &TabSleepState::load_macro_pending};
  EXPECT_TRUE(MaySleep(idle, on));
  EXPECT_FALSE(MaySleep(idle, off));
  for (size_t i = 0; i < std::size(keep_awake); ++i) {
    TabSleepState tab = idle;
    tab.*keep_awake[i] = true;
    EXPECT_FALSE(MaySleep(tab, on)) << i;
  }
  TabSleepState early = idle;
  early.hidden_ms = minute - 1;
  EXPECT_FALSE(MaySleep(early, on));
  EXPECT_FALSE(MaySleep(idle, TabSleepOption{true, 30}));
  // A shorter wait given by the caller wins over the minutes.
  early.hidden_ms = 2000;
  EXPECT_TRUE(MaySleep(early, TabSleepOption{true, 30}, 2000));
  EXPECT_FALSE(MaySleep(early, off, 2000));
}

TEST(TabSleep, AHiddenAwakeTabRestsUnlessSomethingNeedsItRunning) {
  const TabSleepOption on{true, 30}, off{false, 30};
  TabSleepState idle;
  idle.hidden_ms = kRestAfterMs;
  EXPECT_EQ(RestFor(idle, on), PageRest::kFrozen);
  EXPECT_EQ(RestFor(idle, off), PageRest::kActive);
  using Flag = bool TabSleepState::*;
  for (Flag runs : {&TabSleepState::asleep, &TabSleepState::shown, &TabSleepState::locked, &TabSleepState::full_screen,
                    &TabSleepState::busy, &TabSleepState::download_or_print, &TabSleepState::audible_recently,
                    &TabSleepState::popup_linked, &TabSleepState::load_macro_pending, &TabSleepState::named}) {
    TabSleepState tab = idle;
    tab.*runs = true;
    EXPECT_EQ(RestFor(tab, on), PageRest::kActive);
  }
  // Typed into: frozen, which keeps what was typed; reloading otherwise:
  // let go between its reloads.
  TabSleepState tab = idle;
  tab.edited = true;
  EXPECT_EQ(RestFor(tab, on), PageRest::kFrozen);
  tab.reloads = true;
  EXPECT_EQ(RestFor(tab, on), PageRest::kFrozen);
  tab.edited = false;
  EXPECT_EQ(RestFor(tab, on), PageRest::kDiscarded);
  // After a minute, or sooner when the tab sleeps sooner.
  tab.hidden_ms = kRestAfterMs - 1;
  EXPECT_EQ(RestFor(tab, on), PageRest::kActive);
  tab.hidden_ms = 2000;
  EXPECT_EQ(RestFor(tab, on, 2000), PageRest::kDiscarded);
  EXPECT_EQ(RestFor(tab, TabSleepOption{true, 1}, 3000), PageRest::kActive);
}

TEST(TabSleep, OptionKeepsItsOwnSectionOnlyOnceAskedFor) {
  TempDir dir;
  WriteRaw(dir.File(), "[Option]\r\nSilent=1\r\n");
  SettingsFile file(dir.File());
  EXPECT_EQ(ReadTabSleepOption(file), (TabSleepOption{false, 30}));
  WriteTabSleepOption(file, TabSleepOption{}, TabSleepOption{});
  EXPECT_FALSE(file.HasChanges());
  WriteTabSleepOption(file, TabSleepOption{true, 5}, TabSleepOption{});
  ASSERT_FALSE(file.Commit().Failed());
  EXPECT_EQ(ReadRaw(dir.File()), "[Option]\r\nSilent=1\r\n[SleepingTabs]\r\nOn=1\r\nMinutes=5\r\n");
  EXPECT_EQ(ReadTabSleepOption(SettingsFile(dir.File())), (TabSleepOption{true, 5}));
  WriteRaw(dir.File(), "[SleepingTabs]\r\nOn=1\r\nMinutes=999\r\n");
  EXPECT_EQ(ReadTabSleepOption(SettingsFile(dir.File())).minutes, kSleepMinutesMax);
  WriteRaw(dir.File(), "[SleepingTabs]\r\nMinutes=0\r\n");
  EXPECT_EQ(ReadTabSleepOption(SettingsFile(dir.File())).minutes, kSleepMinutesMin);
}

}  // namespace
}  // namespace sorvi
