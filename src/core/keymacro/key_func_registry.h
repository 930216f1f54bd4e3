#pragma once
// The function-key macro registry: for each of F1..F12 a kind and a list of
// entries, kept in section KeyFunc of the settings file.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/settings_file.h"

namespace sorvi {

inline constexpr int kFunctionKeyCount = 12;

// `KeyFuncKind` values.
inline constexpr int32_t kKeyFuncSelect = 0;  // "選択実行": a menu of the entries
inline constexpr int32_t kKeyFuncDirect = 1;  // "直接実行": the first matching entry plays

// A count beyond this many entries is taken as this many: a damaged file
// must not make the start-up read millions of keys.
inline constexpr int32_t kMaxKeyFuncEntriesRead = 1000;

struct KeyFuncEntry {
  std::string Macro;  // the key macro
  std::string Label;  // select kind: the menu name; direct kind: the address pattern
  bool operator==(const KeyFuncEntry&) const = default;
};

struct KeyFuncRegistry {
  // Index 0 is F1. Every kind is kKeyFuncSelect or kKeyFuncDirect.
  std::array<int32_t, kFunctionKeyCount> KeyFuncKind;
  std::array<std::vector<KeyFuncEntry>, kFunctionKeyCount> KeyFuncList;

  KeyFuncRegistry() { KeyFuncKind.fill(kKeyFuncDirect); }
  bool operator==(const KeyFuncRegistry&) const = default;
};

// Cn holds twice the number of entries; an odd count reads one entry more
// than half of it, a missing entry key reads as empty. A kind other than
// 0 or 1 reads as direct.
KeyFuncRegistry ReadKeyFuncRegistry(const SettingsFile& file);

// Erases the section and writes, for F1 to F12, Cn, Kn, then Mn-k and Un-k
// of each entry.
void WriteKeyFuncRegistry(SettingsFile& file, const KeyFuncRegistry& registry);

// The entry a direct-kind key plays for `address`: the first whose pattern
// matches; nullptr when none does.
const KeyFuncEntry* FindDirectEntry(const std::vector<KeyFuncEntry>& entries, std::string_view address);

// The registry window's size and column widths, kept in the same section.
struct KeyFuncWindowSettings {
  int32_t Height = 260;
  int32_t Width = 515;
  int32_t Clm1 = 200;  // "実行名"
  int32_t Clm2 = 200;  // "キーマクロ"
  int32_t Clm3 = 200;  // "実行URL"
};

KeyFuncWindowSettings ReadKeyFuncWindowSettings(const SettingsFile& file);

// Writes Height, Width and the two column widths the active page shows:
// Clm2 and Clm3 for a direct page, Clm1 and Clm2 for a select page.
void WriteKeyFuncWindowSettings(SettingsFile& file, int32_t kind, const KeyFuncWindowSettings& settings);

}  // namespace sorvi
