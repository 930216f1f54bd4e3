#include "core/help/help_tab.h"

namespace sorvi {

bool IsHelpTab(std::string_view caption, std::string_view address) {
  if (caption != kHelpCaption) return false;
  const size_t tail = address.find_first_of("?#");
  if (tail != std::string_view::npos) address = address.substr(0, tail);
  const size_t slash = address.rfind('/');
  if (slash == std::string_view::npos) return false;
  return address.substr(slash + 1).substr(0, kHelpFileName.size()) == kHelpFileName;
}

int FindHelpTab(const std::vector<TabIdentity>& tabs) {
  for (size_t i = 0; i < tabs.size(); ++i)
    if (IsHelpTab(tabs[i].caption, tabs[i].address)) return static_cast<int>(i);
  return -1;
}

}  // namespace sorvi
