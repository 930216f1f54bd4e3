#pragma once
// Where the navigate button opens an address: a new tab or the active one.
namespace sorvi {

enum class NavigateMode { NewTab, Overwrite };

// Shift inverts the chosen mode; without any tab a new one is made anyway.
constexpr bool OpensNewTab(bool has_tab, NavigateMode mode, bool shift_held) {
  if (!has_tab) return true;
  return (mode == NavigateMode::NewTab) != shift_held;
}

// Window/Target stores 1 for "新規" and 2 for "上書"; anything but 1 reads
// as "上書".
constexpr NavigateMode NavigateModeFromSetting(int value) {
  return value == 1 ? NavigateMode::NewTab : NavigateMode::Overwrite;
}

constexpr int NavigateModeToSetting(NavigateMode mode) { return mode == NavigateMode::NewTab ? 1 : 2; }

}  // namespace sorvi
