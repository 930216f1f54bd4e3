#pragma once
// The data files beside the executable, and what the start-up does with the
// copies an interrupted save may have left beside them.
#include <string>

namespace sorvi {

inline constexpr const char* kCodeListFileName = "SV_Code.txt";
inline constexpr const char* kBookmarkListFileName = "SV_List.txt";
inline constexpr const char* kSettingsFileName = "Sorvi.ini";
// Suffix of a list's unsaved changes kept beside it when the window was
// closed with nobody to ask (a terminate signal); offered at the next start.
inline constexpr const char* kUnsavedCopySuffix = ".unsaved";

// The leftover-copy rule of RecoverListFile for the bookmark list, the code
// list and the settings file in `dir` (ending in '/'), in that order.
void RecoverDataFiles(const std::string& dir);

}  // namespace sorvi
