#pragma once
// The address-box history in section URL: Count, then the entries under the
// keys 1 .. Count, most recent first.
#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/settings_file.h"

namespace sorvi {

// A Count beyond this is taken as this many: a damaged file must not make
// the start-up read millions of keys.
inline constexpr int32_t kMaxUrlHistoryRead = 10000;

// Entries 1 .. Count in order; a missing key gives an empty entry.
std::vector<std::string> ReadUrlHistory(const SettingsFile& file);

// Replaces the section with the non-empty entries as 1, 2, ... and then
// Count as the number written.
void WriteUrlHistory(SettingsFile& file, const std::vector<std::string>& history);

}  // namespace sorvi
