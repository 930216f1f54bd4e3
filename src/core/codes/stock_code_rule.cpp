#include "core/codes/stock_code_rule.h"

namespace sorvi {

CodeCharVerdict CheckCodeChar(size_t place, char c) {
  if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  if (c >= '0' && c <= '9') return place < 4 ? CodeCharVerdict::kTaken : CodeCharVerdict::kNotAllowed;
  if (c < 'A' || c > 'Z' || place >= 4) return CodeCharVerdict::kNotAllowed;
  if (place % 2 == 0) return CodeCharVerdict::kDigitOnly;
  return std::string_view("BEIOQVZ").find(c) == std::string_view::npos ? CodeCharVerdict::kTaken
                                                                       : CodeCharVerdict::kExcludedLetter;
}

size_t FirstRefusedPlace(std::string_view code) {
  for (size_t i = 0; i < code.size(); ++i) {
    if (CheckCodeChar(i, code[i]) != CodeCharVerdict::kTaken) return i;
  }
  return code.size();
}

}  // namespace sorvi
