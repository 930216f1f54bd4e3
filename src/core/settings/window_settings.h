#pragma once
// Section Window: the main window's bounds and view state, read at start-up
// and written back at close.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/settings_file.h"
#include "core/tabs/navigate_mode.h"

namespace sorvi {

inline constexpr int kUrlListColumnCount = 4;

// Keys and defaults, in the order the close writes them.
struct WindowSettings {
  int32_t Top = 50;  // bounds of the normal (not maximized) window
  int32_t Left = 100;
  int32_t Height = 480;
  int32_t Width = 640;
  int32_t State = 0;       // 0 normal, 1 minimized, 2 maximized
  int32_t SplitteL = 250;  // width of the left column
  int32_t SplitteU = 140;  // height of the bookmark list
  NavigateMode Target = NavigateMode::NewTab;
  // "CLM-0" .. "CLM-3": the bookmark list's columns "*", name, URL macro, ":".
  std::array<int32_t, kUrlListColumnCount> Columns = {19, 194, 0, 15};
  std::string Expand;  // "-" expanded, "+" collapsed, one byte per group
  std::string IniDir;  // the file dialog's directory
};

inline constexpr int32_t kWindowStateMaximized = 2;

// Missing keys and numbers that do not parse keep the defaults; IniDir
// defaults to `data_dir`.
WindowSettings ReadWindowSettings(const SettingsFile& file, std::string_view data_dir);

void WriteWindowSettings(SettingsFile& file, const WindowSettings& settings);

}  // namespace sorvi
