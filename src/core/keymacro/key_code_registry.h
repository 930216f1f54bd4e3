#pragma once
// The stock-code macro registry behind the code tree's "実行" submenu: named
// key macros and the default action, kept in section KeyCode of the settings
// file.
#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/settings_file.h"

namespace sorvi {

// A count beyond this many is taken as this many (a damaged file).
inline constexpr int32_t kMaxKeyCodeEntriesRead = 1000;

struct KeyCodeEntry {
  std::string Name;   // "処理名", the menu caption
  std::string Macro;  // "キーマクロ"
  bool operator==(const KeyCodeEntry&) const = default;
};

struct KeyCodeRegistry {
  std::vector<KeyCodeEntry> Entries;
  // The default action: 0 = "URLを開く", k = Entries[k - 1]. Always within
  // 0 .. Entries.size().
  int32_t Default = 0;
  bool operator==(const KeyCodeRegistry&) const = default;
};

// C entries from Nk and Mk (missing keys read as empty). A default outside
// 1..C, which names no entry, reads as "URLを開く".
KeyCodeRegistry ReadKeyCodeRegistry(const SettingsFile& file);

// Erases the section and writes C, D, then N1, M1, N2, M2, ...
void WriteKeyCodeRegistry(SettingsFile& file, const KeyCodeRegistry& registry);

struct KeyCodeWindowSettings {
  int32_t Height = 233;
  int32_t Width = 388;
  int32_t Clm2 = 150;  // "処理名"
  int32_t Clm3 = 200;  // "キーマクロ"
};

KeyCodeWindowSettings ReadKeyCodeWindowSettings(const SettingsFile& file);
void WriteKeyCodeWindowSettings(SettingsFile& file, const KeyCodeWindowSettings& settings);

}  // namespace sorvi
