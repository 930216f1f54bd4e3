#include "core/tabs/tab_sleep.h"

#include <algorithm>

namespace sorvi {

namespace {
constexpr const char* kSection = "SleepingTabs";
}  // namespace

TabSleepOption ReadTabSleepOption(const SettingsFile& file) {
  TabSleepOption option;
  option.on = file.ReadBool(kSection, "On", false);
  option.minutes =
      std::clamp(file.ReadInteger(kSection, "Minutes", kSleepMinutesDefault), kSleepMinutesMin, kSleepMinutesMax);
  return option;
}

void WriteTabSleepOption(SettingsFile& file, const TabSleepOption& option, const TabSleepOption& before) {
  if (!option.on && option == before) return;
  file.WriteBool(kSection, "On", option.on);
  file.WriteInteger(kSection, "Minutes", option.minutes);
}

bool MaySleep(const TabSleepState& tab, const TabSleepOption& option, int64_t sleep_after_ms) {
  if (!option.on || tab.asleep || tab.shown) return false;
  // Anything the page is doing or holding that a new load would lose.
  if (tab.reloads || tab.locked || tab.full_screen || tab.busy || tab.download_or_print || tab.audible_recently ||
      tab.edited || tab.popup_linked || tab.load_macro_pending)
    return false;
  const int64_t due = sleep_after_ms > 0 ? sleep_after_ms : int64_t(option.minutes) * 60 * 1000;
  return tab.hidden_ms >= due;
}

}  // namespace sorvi
