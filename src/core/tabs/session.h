#pragma once
// The tabs kept from one run to the next ("前回のタブを開く"), in sections
// of their own in Sorvi.ini:
//
//   [Session]      Restore (the option), Count, Current (0-based)
//   [SessionTab1]  Address, Caption, Fixed, Reload, Silent, Lock,
//                  WatchAll, WatchGroup1, WatchGroup2, ... (only when the
//                  tab watches for stocks; older readers skip them)
//   ...
//
// Which tabs are kept: every tab with an address to go back to. Left out
// are tabs without an address or with an "about:" one (a blank page, a
// window a page asked for without an address) and the help page's tab,
// which the help command opens again from the installed copy. An address
// longer than a settings value can be read back, or holding a line break,
// is left out as well rather than kept cut. The tile layout is not part of
// it: [Tiles] keeps that at every close.
//
// Reading back is forgiving: a tab without an address is skipped, a reload
// interval the tab menu does not offer reads as none, a Current that names
// no tab read names the first, and at most kMaxSessionTabs tabs are read;
// a watch without a reload interval is dropped.
#include <string>
#include <vector>

#include "core/codes/stock_watch.h"
#include "core/settings/settings_file.h"

namespace sorvi {

inline constexpr int kMaxSessionTabs = 100;

struct SessionTab {
  std::string address;  // code page 932 bytes, loaded as they are
  std::string caption;  // what the tab showed (code page 932)
  bool fixed_caption = false;
  int reload_interval = 0;  // ticks of the reload timer
  bool silent = false;      // dialogs suppressed
  bool locked = false;      // the lock button pressed
  StockWatch watch;         // the stocks whose appearance is told
};

struct Session {
  std::vector<SessionTab> tabs;
  int current = 0;  // index into tabs
};

// An open tab as the close sees it.
struct OpenTab {
  SessionTab tab;
  bool help = false;  // the help page's tab
};

// What the close keeps of the open tabs; `active` is the active tab's index
// among them. When it is left out, the nearest kept tab before it (else
// after it) becomes current.
Session SessionToKeep(const std::vector<OpenTab>& open, int active);

bool ReadRestoreOption(const SettingsFile& file);
// Writes [Session] Restore only.
void WriteRestoreOption(SettingsFile& file, bool restore);

Session ReadSession(const SettingsFile& file);
// Replaces [Session] (Restore on) and the tab sections, dropping tab
// sections left from a longer session.
void WriteSession(SettingsFile& file, const Session& session);
// With the option off: a kept session is dropped, the option stays off. A
// file that never held one is not touched.
void ForgetSession(SettingsFile& file);

}  // namespace sorvi
