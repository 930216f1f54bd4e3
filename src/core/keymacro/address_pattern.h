#pragma once
// Address patterns of direct function-key entries, compared byte for byte
// with the address box text (Shift-JIS): empty matches every address, "*"
// followed by a text matches exactly that text, any other text matches the
// addresses that begin with it.
#include <string_view>

namespace sorvi {

bool AddressPatternMatches(std::string_view pattern, std::string_view address);

}  // namespace sorvi
