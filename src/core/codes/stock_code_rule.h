#pragma once
// What a stock code may be: four characters, the 1st and 3rd a digit, the
// 2nd and 4th a digit or a capital letter other than those read as digits
// (B E I O Q V Z), as in "7203" and "130A". Codes already in a list are
// never checked against it; only what the user types into the code field.
#include <cstddef>
#include <string_view>

namespace sorvi {

enum class CodeCharVerdict {
  kTaken,
  kDigitOnly,       // a letter in the 1st or 3rd place
  kExcludedLetter,  // B E I O Q V Z
  kNotAllowed,      // neither a digit nor a Latin letter
};

// A small letter counts as its capital (the field capitalises it).
CodeCharVerdict CheckCodeChar(size_t place, char c);

// The first place of `code` whose character is refused, or `code.size()`
// when there is none. Places past the fourth are all refused.
size_t FirstRefusedPlace(std::string_view code);

}  // namespace sorvi
