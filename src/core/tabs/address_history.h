#pragma once
// The address box's drop-down history, most recent first.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sorvi {

// Rows the address box keeps; the navigate operation passes this.
inline constexpr size_t kAddressHistoryLimit = 20;

// Puts `text` first. An entry equal to it apart from the case of ASCII
// letters is replaced (so the list shows it as typed now) and the first row
// gets selected (*selected_index = 0); otherwise the entry at position
// `limit`, the oldest, is dropped once the list grows beyond `limit`.
// Empty text changes nothing. Letters are folded only where they stand as
// single-byte characters: the second byte of a double-byte character is
// compared exactly, so two different kanji never match.
void AddToHistory(std::vector<std::string>& entries, std::string_view text, size_t limit,
                  int* selected_index = nullptr);

}  // namespace sorvi
