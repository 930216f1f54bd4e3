#include "core/keymacro/address_pattern.h"

namespace sorvi {

bool AddressPatternMatches(std::string_view pattern, std::string_view address) {
  if (pattern.empty()) return true;
  if (pattern.front() == '*') return address == pattern.substr(1);
  return address.starts_with(pattern);
}

}  // namespace sorvi
