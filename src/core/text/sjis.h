#pragma once
// Byte-level helpers for code page 932 (Shift-JIS) strings. Every text of
// the lists and settings is kept as these bytes; positions are byte positions.
#include <string>
#include <string_view>
#include <vector>

namespace sorvi {

// True for a byte that starts a double-byte character in code page 932.
constexpr bool IsSjisLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The longest prefix of `text` of at most `max_bytes` bytes that does not end
// in the middle of a double-byte character.
std::string_view SjisPrefix(std::string_view text, size_t max_bytes);

// Splits file contents into lines: a line ends at CR LF, a lone CR or a lone
// LF; the text ends at the first NUL byte. A final line without an end is
// kept; empty lines are kept (callers decide what to skip).
std::vector<std::string> SplitLines(std::string_view bytes);

// Removes leading and trailing bytes of value 32 or less.
std::string_view TrimControlAndBlank(std::string_view text);

}  // namespace sorvi
