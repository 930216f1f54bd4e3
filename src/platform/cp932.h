#pragma once
// The one conversion between code page 932 byte strings (what the lists and
// settings hold) and Unicode (what the screen shows). glibc's "CP932" table
// matches Windows byte for byte, unlike Qt's own converter.
#include <QString>
#include <string>
#include <string_view>

namespace sorvi {

// Invalid or truncated byte sequences show as U+FFFD; nothing is dropped
// silently and nothing throws.
QString SjisToQString(std::string_view bytes);

// A character that code page 932 cannot hold becomes "?".
std::string QStringToSjis(const QString& text);

}  // namespace sorvi
