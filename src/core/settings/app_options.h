#pragma once
// The option values of section Option, kept in memory while the program runs.
#include <cstdint>
#include <string>

#include "core/settings/settings_file.h"
#include "core/tabs/tab_sleep.h"

namespace sorvi {

struct AppOptions {
  std::string Editor = "Notepad";  // program that edits a list file
  int32_t IntervalPaste = 300;     // ms to wait after each macro paste
  int32_t IntervalDefault = 100;   // ms of a macro wait step without a number
  bool LinkTarget = true;          // browsers register as named target windows
  bool Client = false;             // pop-up tabs always fill the tab area
  bool Silent = false;             // new browsers suppress their dialogs
  bool FocusLock = false;          // new tabs start with the focus lock pressed
  bool AutoSave = true;            // save changed lists at close without asking
  // Kept in section Session, which holds the tabs it brings back.
  bool RestoreSession = false;  // open the tabs of the last run at start
  // Kept in section PageMarks, apart from the rest.
  bool MarkStocks = true;  // pages mark the stocks of the user's tree
  // Kept in section SleepingTabs: tabs out of sight give their pages up.
  TabSleepOption SleepTabs;
};

// Missing keys and numbers that do not parse keep the defaults above.
// RestoreSession is read from section Session, MarkStocks from PageMarks,
// SleepTabs from its own.
AppOptions ReadAppOptions(const SettingsFile& file);

// Writes the eight keys of section Option in their fixed order.
void WriteAppOptions(SettingsFile& file, const AppOptions& options);

void WriteMarkStocksOption(SettingsFile& file, bool mark);

}  // namespace sorvi
