#pragma once
// Byte-level helpers for code page 932 (Shift-JIS) strings. Every text of
// the lists and settings is kept as these bytes; positions are byte positions.
#include <string>
#include <string_view>
#include <vector>

namespace sorvi {

// True for a byte that starts a double-byte character in code page 932.
constexpr bool IsSjisLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The longest prefix of `text` of at most `max_bytes` bytes that does not end
// in the middle of a double-byte character.
std::string_view SjisPrefix(std::string_view text, size_t max_bytes);

// What a NUL byte means to SplitLines. The lists end their text there; the
// settings file keeps it inside its line, so that the lines after it survive
// a rewrite.
enum class NulByte { kEndsText, kKeptInLine };

// Splits file contents into lines: a line ends at CR LF, a lone CR or a lone
// LF. A final line without an end is kept; empty lines are kept (callers
// decide what to skip).
std::vector<std::string> SplitLines(std::string_view bytes, NulByte nul = NulByte::kEndsText);

// Equality of names and addresses that ignores the case of ASCII letters
// standing as single-byte characters. The second byte of a double-byte
// character is compared exactly: it may look like a letter (0x8341 and
// 0x8361 are different characters).
bool SjisEqualsIgnoringCase(std::string_view a, std::string_view b);

// The text with ASCII letters standing as single-byte characters in upper
// case: two texts fold alike exactly when SjisEqualsIgnoringCase holds.
std::string SjisFoldCase(std::string_view text);

// Removes leading and trailing bytes of value 32 or less.
std::string_view TrimControlAndBlank(std::string_view text);

}  // namespace sorvi
