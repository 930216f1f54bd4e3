#pragma once
// Whether the bytes of a list file are what the lists hold: code page 932.
// An external editor may have written the file as UTF-8 (with or without a
// byte-order mark); such a file is still read line by line, and the caller
// tells the user once.
#include <cstddef>
#include <string_view>

namespace sorvi {

// Every byte sequence is one that code page 932 maps to a character:
// single bytes 00-7F and A1-DF, and the assigned double-byte codes
// (user-defined rows F0-F9 included).
bool IsValidCp932(std::string_view bytes);

// Valid UTF-8 with at least one multi-byte character. Shift-JIS text of any
// length is practically never that, while UTF-8 Japanese often happens to
// pass the check above.
bool LooksLikeUtf8(std::string_view bytes);

struct ListFileText {
  std::string_view bytes;  // what the list rules should read
  bool shift_jis = true;   // false: report the file as not Shift-JIS
  // Bytes from the first NUL on: the lists end their text there, so these
  // are never read, and a save of the list does not write them again.
  size_t unread_bytes = 0;
};

// Drops a UTF-8 byte-order mark (it would otherwise glue itself to the
// first line and change its kind) and judges the encoding.
ListFileText CheckListFileText(std::string_view file_bytes);

}  // namespace sorvi
