#include "core/tabs/address_history.h"

#include "core/text/sjis.h"

namespace sorvi {

void AddToHistory(std::vector<std::string>& entries, std::string_view text, size_t limit, int* selected_index) {
  if (text.empty()) return;
  size_t match = 0;
  while (match < entries.size() && !SjisEqualsIgnoringCase(entries[match], text)) ++match;

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
