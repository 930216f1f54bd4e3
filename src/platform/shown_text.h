#pragma once
// List texts as the views show them.
#include <QString>
#include <string_view>

namespace sorvi {

// Longest part of a list text a view shows; the rest is marked with "…".
// Laying out a line of megabytes takes the toolkit seconds each time the
// view is painted, and no row is that wide anyway.
inline constexpr size_t kShownTextBytes = 2048;

// The Shift-JIS `sjis` for display, cut at kShownTextBytes (never inside a
// double-byte character). The item keeps the bytes themselves.
QString ShownText(std::string_view sjis);

}  // namespace sorvi
