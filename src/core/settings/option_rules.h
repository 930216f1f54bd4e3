#pragma once
// What the options dialog does with the values the user confirmed: the
// interval boxes' range and step, the editor fallback, and which changes
// reach the tabs that are already open.
#include <cstdint>
#include <string>

#include "core/settings/app_options.h"

namespace sorvi {

inline constexpr int32_t kIntervalMin = 100;
inline constexpr int32_t kIntervalMax = 3000;
inline constexpr int32_t kIntervalStep = 100;

// The value an interval box shows for a stored interval: the nearest step
// of 100 (halves go up), kept within 100..3000. The file is not checked on
// reading, so anything may arrive here.
int32_t IntervalShown(int32_t stored);

// The editor stored for the text of the editor box: the text itself when it
// names an existing file, otherwise "Notepad" (also for an empty text or a
// bare program name, which the desktop's default editor stands for).
std::string EditorToStore(const std::string& text, bool names_existing_file);

// What the user left in the dialog when pressing OK.
struct OptionDialogInput {
  std::string editor_text;
  bool editor_exists = false;  // editor_text names an existing file
  int32_t interval_paste = 300;
  int32_t interval_default = 100;
  bool link_target = true;
  bool client = false;
  bool silent = false;
  bool focus_lock = false;
  bool auto_save = true;
  bool restore_session = false;
  bool mark_stocks = true;
  bool sleep_tabs = false;
  int32_t sleep_minutes = kSleepMinutesDefault;
};

// What OK means for the program beyond the new values.
struct OptionDialogResult {
  AppOptions options;
  // Every open tab's browser gets the new LinkTarget value.
  bool link_target_changed = false;
  // Client, Silent or FocusLock changed: only tabs opened from now on take
  // the new value; open tabs keep their own state (their tab menu and lock
  // button change it).
  bool later_tabs_changed = false;
  bool restore_session_changed = false;
  bool mark_stocks_changed = false;  // the open pages mark or unmark at once
  // The tab sleep option before OK, so that an untouched one stays unwritten.
  TabSleepOption sleep_before;
};

// The values in effect after OK, before anything is written.
OptionDialogResult ApplyOptionDialog(const AppOptions& before, const OptionDialogInput& input);

// Writes section Option as OK does: all eight keys in their fixed order,
// changed or not; they reach the file together at the next commit. The
// session option is written when it is on or was just turned off, so that a
// file never asked for it keeps no section of it; the marks option (on by
// default) likewise when it is off or was just turned on; the tab sleep
// option only when it is on or changed.
void StoreOptionDialogResult(SettingsFile& file, const OptionDialogResult& result);

}  // namespace sorvi
