#include "core/keymacro/key_func_registry.h"

#include <algorithm>

#include "core/keymacro/address_pattern.h"

namespace sorvi {

namespace {

constexpr const char* kSection = "KeyFunc";

std::string KeyName(char prefix, int n) { return prefix + std::to_string(n); }

std::string EntryKeyName(char prefix, int n, int k) { return KeyName(prefix, n) + "-" + std::to_string(k); }

}  // namespace

KeyFuncRegistry ReadKeyFuncRegistry(const SettingsFile& file) {
  KeyFuncRegistry registry;
  for (int n = 1; n <= kFunctionKeyCount; ++n) {
    const int32_t strings = file.ReadInteger(kSection, KeyName('C', n), 0);
    const int32_t kind = file.ReadInteger(kSection, KeyName('K', n), kKeyFuncDirect);
    registry.KeyFuncKind[n - 1] = kind == kKeyFuncSelect ? kKeyFuncSelect : kKeyFuncDirect;
    // Two strings per entry, read for i = 0, 2, 4, ... while i < Cn.
    const int64_t entries = std::min<int64_t>((int64_t{strings} + 1) / 2, kMaxKeyFuncEntriesRead);
    std::vector<KeyFuncEntry>& list = registry.KeyFuncList[n - 1];
    for (int k = 1; k <= entries; ++k) {
      list.push_back({file.ReadString(kSection, EntryKeyName('M', n, k), ""),
                      file.ReadString(kSection, EntryKeyName('U', n, k), "")});
    }
  }
  return registry;
}

void WriteKeyFuncRegistry(SettingsFile& file, const KeyFuncRegistry& registry) {
  std::vector<SettingsValue> values;
  for (int n = 1; n <= kFunctionKeyCount; ++n) {
    const std::vector<KeyFuncEntry>& list = registry.KeyFuncList[n - 1];
    values.push_back({KeyName('C', n), std::to_string(list.size() * 2)});
    values.push_back({KeyName('K', n), std::to_string(registry.KeyFuncKind[n - 1])});
    for (size_t i = 0; i < list.size(); ++i) {
      const int k = static_cast<int>(i) + 1;
      values.push_back({EntryKeyName('M', n, k), list[i].Macro});
      values.push_back({EntryKeyName('U', n, k), list[i].Label});
    }
  }
  file.ReplaceSection(kSection, values);
}

const KeyFuncEntry* FindDirectEntry(const std::vector<KeyFuncEntry>& entries, std::string_view address) {
  for (const KeyFuncEntry& entry : entries) {
    if (AddressPatternMatches(entry.Label, address)) return &entry;
  }
  return nullptr;
}

KeyFuncWindowSettings ReadKeyFuncWindowSettings(const SettingsFile& file) {
  KeyFuncWindowSettings s;
  s.Height = file.ReadInteger(kSection, "Height", s.Height);
  s.Width = file.ReadInteger(kSection, "Width", s.Width);
  s.Clm1 = file.ReadInteger(kSection, "Clm1", s.Clm1);
  s.Clm2 = file.ReadInteger(kSection, "Clm2", s.Clm2);
  s.Clm3 = file.ReadInteger(kSection, "Clm3", s.Clm3);
  return s;
}

void WriteKeyFuncWindowSettings(SettingsFile& file, int32_t kind, const KeyFuncWindowSettings& settings) {
  file.WriteInteger(kSection, "Height", settings.Height);
  file.WriteInteger(kSection, "Width", settings.Width);
  if (kind != kKeyFuncSelect) {
    file.WriteInteger(kSection, "Clm2", settings.Clm2);
    file.WriteInteger(kSection, "Clm3", settings.Clm3);
  } else {
    file.WriteInteger(kSection, "Clm1", settings.Clm1);
    file.WriteInteger(kSection, "Clm2", settings.Clm2);
  }
}

}  // namespace sorvi
