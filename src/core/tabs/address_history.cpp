#include "core/tabs/address_history.h"

#include "core/text/sjis.h"

namespace sorvi {

namespace {

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

bool SameAddress(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (IsSjisLeadByte(x)) {
      // Same lead byte in both, so both strings stay in step.
      if (x != y) return false;
      if (i + 1 < a.size()) {
        ++i;
        if (a[i] != b[i]) return false;
      }
      continue;
    }
    if (FoldAscii(x) != FoldAscii(y)) return false;
  }
  return true;
}

}  // namespace

void AddToHistory(std::vector<std::string>& entries, std::string_view text,
                  size_t limit, int* selected_index) {
  if (text.empty()) return;
  size_t match = 0;
  while (match < entries.size() && !SameAddress(entries[match], text)) ++match;

  const bool found = match < entries.size();

  entries.insert(entries.begin(), std::string(text));
  if (!found) {
    if (entries.size() > limit) entries.erase(entries.begin() + limit);
    return;
  }
  entries.erase(entries.begin() + match + 1);
  if (selected_index) *selected_index = 0;
}

}  // namespace sorvi
