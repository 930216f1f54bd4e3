#pragma once
// The file name to propose for a download.
#include <QString>

namespace sorvi {

// `engine_name` is the name the engine made of Content-Disposition (or of
// the address). The engine reads a name that is neither UTF-8 nor RFC 5987
// as ISO 8859-1 (Qt 6.4) or windows-1252 (Qt 6.8), which turns the code page 932 names of Japanese servers
// into nonsense; this gives them back. Inside a quoted name the engine has
// also taken each 0x5C byte for an escape and dropped it: where that leaves
// a lead byte without its trail byte, the 0x5C is put back ("表", "ソ" and
// others end in 0x5C). Any other name is returned unchanged.
QString DownloadFileName(const QString& engine_name);

}  // namespace sorvi
