#include "core/settings/url_history.h"

#include <algorithm>

namespace sorvi {

namespace {
constexpr const char* kSection = "URL";
constexpr const char* kCountKey = "Count";
}  // namespace

std::vector<std::string> ReadUrlHistory(const SettingsFile& file) {
  const int32_t count = std::min(file.ReadInteger(kSection, kCountKey, 0), kMaxUrlHistoryRead);
  std::vector<std::string> history;
  for (int32_t k = 1; k <= count; ++k) {
    history.push_back(file.ReadString(kSection, std::to_string(k), ""));
  }
  return history;
}

void WriteUrlHistory(SettingsFile& file, const std::vector<std::string>& history) {
  std::vector<SettingsValue> values;
  for (const std::string& entry : history) {
    if (!entry.empty()) values.push_back({std::to_string(values.size() + 1), entry});
  }
  const size_t written = values.size();
  values.push_back({kCountKey, std::to_string(written)});
  file.ReplaceSection(kSection, values);
}

}  // namespace sorvi
