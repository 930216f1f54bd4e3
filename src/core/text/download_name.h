#pragma once
// The file name a server gives a download, read from the bytes it sent:
// the Content-Disposition header's value or, failing that, the address.
// Japanese servers send names in code page 932 as they are, 0x5C trail
// bytes ("表", "ソ", "能") inside quotes included; those bytes are kept
// here, where a reader that takes every backslash for an escape loses them.
#include <optional>
#include <string>
#include <string_view>

namespace sorvi {

enum class NameCharset { kUtf8, kCp932, kLatin1 };

// A file name as bytes in the character set they were found to be in.
// Never empty, ".", or ".."; control bytes and '/' are replaced by '_', so
// it never names a path.
struct EncodedName {
  std::string bytes;
  NameCharset charset = NameCharset::kUtf8;
};

// From a Content-Disposition value ("attachment; filename=..."): the
// extended filename*= when its character set is known (UTF-8, ISO-8859-1,
// Shift_JIS), else filename=, quoted or not: UTF-8 when its bytes as sent
// are (a percent-encoded ASCII name is decoded first), else code page 932,
// 0x5C bytes kept, when they are well formed as that, else the name read by
// the header rules when that is UTF-8 or code page 932, else nothing.
std::optional<EncodedName> ContentDispositionFileName(std::string_view value);

// From an address's percent-encoded path: its last segment, decoded, as
// UTF-8 or else code page 932; nothing when it is empty or neither.
std::optional<EncodedName> UrlPathFileName(std::string_view encoded_path);

}  // namespace sorvi
