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

namespace {
int64_t SleepAfterMs(const TabSleepOption& option, int64_t sleep_after_ms) {
  return sleep_after_ms > 0 ? sleep_after_ms : int64_t(option.minutes) * 60 * 1000;
}

// What the page is doing or holding that stopping its scripts would break.
bool NeedsRunning(const TabSleepState& tab) {
  return tab.locked || tab.full_screen || tab.busy || tab.download_or_print || tab.audible_recently ||
         tab.popup_linked || tab.load_macro_pending;
}
}  // namespace

bool MaySleep(const TabSleepState& tab, const TabSleepOption& option, int64_t sleep_after_ms) {
  if (!option.on || tab.asleep || tab.shown) return false;
  // Besides, what a new load would lose.
  if (NeedsRunning(tab) || tab.reloads || tab.edited) return false;
  return tab.hidden_ms >= SleepAfterMs(option, sleep_after_ms);
}

PageRest RestFor(const TabSleepState& tab, const TabSleepOption& option, int64_t sleep_after_ms) {
  if (!option.on || tab.asleep || tab.shown || NeedsRunning(tab) || tab.named) return PageRest::kActive;
  if (tab.hidden_ms < std::min(kRestAfterMs, SleepAfterMs(option, sleep_after_ms))) return PageRest::kActive;
  return tab.reloads && !tab.edited ? PageRest::kDiscarded : PageRest::kFrozen;
}

}  // namespace sorvi
