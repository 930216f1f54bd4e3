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
  struct Row {
    const char* what;
    bool TabSleepState::*flag;
  };
  const Row keep_awake[] = {
      {"asleep already", &TabSleepState::asleep},
      {"shown", &TabSleepState::shown},
      {"reloads", &TabSleepState::reloads},
      {"locked", &TabSleepState::locked},
      {"full screen", &TabSleepState::full_screen},
      {"loading", &TabSleepState::busy},
      {"download or print", &TabSleepState::download_or_print},
      {"audible", &TabSleepState::audible_recently},
      {"typed into", &TabSleepState::edited},
      {"pop-up linked", &TabSleepState::popup_linked},
      {"load macro pending", &TabSleepState::load_macro_pending},
  };
  EXPECT_TRUE(MaySleep(idle, on));
  EXPECT_FALSE(MaySleep(idle, off));
  for (const Row& row : keep_awake) {
    TabSleepState tab = idle;
    tab.*row.flag = true;
    EXPECT_FALSE(MaySleep(tab, on)) << row.what;
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
