#pragma once
// Tabs out of sight for a while give their browser up (page and view) and
// load again when they are looked at. Which tabs may go to sleep, and the
// option that sets how soon.
#include <cstdint>

#include "core/settings/settings_file.h"

namespace sorvi {

inline constexpr int32_t kSleepMinutesMin = 1;
inline constexpr int32_t kSleepMinutesMax = 240;
inline constexpr int32_t kSleepMinutesDefault = 30;

// Kept in a section of its own; off unless chosen.
struct TabSleepOption {
  bool on = false;
  int32_t minutes = kSleepMinutesDefault;  // out of sight this long, 1..240
  bool operator==(const TabSleepOption&) const = default;
};

TabSleepOption ReadTabSleepOption(const SettingsFile& file);
// Written only when on or when it differs from `before`, so that a file
// never asked for it keeps no section of it.
void WriteTabSleepOption(SettingsFile& file, const TabSleepOption& option, const TabSleepOption& before);

// What keeps a tab awake, and how long it has been out of sight.
struct TabSleepState {
  bool asleep = false;   // no browser already (asleep or never loaded)
  bool shown = false;    // the current tab or in a tile
  bool reloads = false;  // a reload interval is set
  bool locked = false;   // its lock is down, or it holds the lock's target
  bool full_screen = false;
  bool busy = false;  // loading
  bool download_or_print = false;
  bool audible_recently = false;
  bool edited = false;        // typed into or a form field changed since its load
  bool popup_linked = false;  // opener of a live script pop-up, or one whose opener lives
  bool load_macro_pending = false;
  bool named = false;     // has a window name that links and scripts may aim at
  int64_t hidden_ms = 0;  // out of sight for this long; 0 while shown
};

// Whether the tab may go to sleep now. `sleep_after_ms` replaces the
// option's minutes when positive (shorter waits for tests and figures).
bool MaySleep(const TabSleepState& tab, const TabSleepOption& option, int64_t sleep_after_ms = 0);

// How a hidden tab that is awake spends the time until it sleeps, or for
// good when it may never sleep: running; frozen (its scripts' timers stop,
// the page and whatever was typed into it stay); or discarded between its
// reloads (the engine keeps address and history and loads the page anew
// when it is made active, as each reload does).
enum class PageRest { kActive, kFrozen, kDiscarded };

// A tab rests once hidden this long, or as long as it takes to sleep when
// that is sooner.
inline constexpr int64_t kRestAfterMs = 60000;

// With the option on, a hidden tab rests unless something needs it
// running: a lock, full screen, a load, a download or print, sound, a
// script tie to a pop-up, a load key macro or a window name (a link aimed
// at it must find a live page). Only a tab that reloads and was not typed
// into is discarded.
PageRest RestFor(const TabSleepState& tab, const TabSleepOption& option, int64_t sleep_after_ms = 0);

}  // namespace sorvi
