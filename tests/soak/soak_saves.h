#pragma once
// What the crash-safety soak saves: two versions of the stock code list and
// of the settings file, each saved the way the program saves it (the list
// writer and the safe-save helper; the settings writers and one commit, as
// at the window's close).
#include <string>

namespace sorvi::soak {

// Version 0 or 1 of SV_Code.txt into `dir` (ending in '/'). False when the
// save was refused.
bool SaveCodeList(const std::string& dir, int version);

// Version 0 or 1 of the window state and address history into Sorvi.ini in
// `dir`. False when the save was refused.
bool SaveSettings(const std::string& dir, int version);

}  // namespace sorvi::soak
