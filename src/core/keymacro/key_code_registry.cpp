#include "core/keymacro/key_code_registry.h"

#include <algorithm>

namespace sorvi {

namespace {
constexpr const char* kSection = "KeyCode";
}  // namespace

KeyCodeRegistry ReadKeyCodeRegistry(const SettingsFile& file) {
  KeyCodeRegistry registry;
  const int32_t count = std::min(file.ReadInteger(kSection, "C", 0), kMaxKeyCodeEntriesRead);
  if (count <= 0) return registry;
  for (int32_t k = 1; k <= count; ++k) {
    const std::string n = std::to_string(k);
    registry.Entries.push_back({file.ReadString(kSection, "N" + n, ""), file.ReadString(kSection, "M" + n, "")});
  }
  const int32_t def = file.ReadInteger(kSection, "D", 0);
  // A default that names no entry would leave no item checked while the
  // tree's double-click still opened the URL: show it as what it does.
  if (def >= 1 && def <= count) registry.Default = def;
  return registry;
}

void WriteKeyCodeRegistry(SettingsFile& file, const KeyCodeRegistry& registry) {
  std::vector<SettingsValue> values = {{"C", std::to_string(registry.Entries.size())},
                                       {"D", std::to_string(registry.Default)}};
  for (size_t i = 0; i < registry.Entries.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    values.push_back({"N" + n, registry.Entries[i].Name});
    values.push_back({"M" + n, registry.Entries[i].Macro});
  }
  file.ReplaceSection(kSection, values);
}

KeyCodeWindowSettings ReadKeyCodeWindowSettings(const SettingsFile& file) {
  KeyCodeWindowSettings s;
  s.Height = file.ReadInteger(kSection, "Height", s.Height);
  s.Width = file.ReadInteger(kSection, "Width", s.Width);
  s.Clm2 = file.ReadInteger(kSection, "Clm2", s.Clm2);
  s.Clm3 = file.ReadInteger(kSection, "Clm3", s.Clm3);
  return s;
}

void WriteKeyCodeWindowSettings(SettingsFile& file, const KeyCodeWindowSettings& settings) {
  file.WriteInteger(kSection, "Height", settings.Height);
  file.WriteInteger(kSection, "Width", settings.Width);
  file.WriteInteger(kSection, "Clm2", settings.Clm2);
  file.WriteInteger(kSection, "Clm3", settings.Clm3);
}

}  // namespace sorvi
