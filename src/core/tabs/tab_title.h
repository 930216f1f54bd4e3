#pragma once
// The caption a tab shows for its page's title.
#include <string>
#include <string_view>

namespace sorvi {

// Titles that are really addresses get long quickly; those starting with
// "http" or "file" (this case only) and longer than 40 bytes are cut to 36
// bytes plus " ...". The cut never splits a double-byte character, so such a
// caption may keep 35 bytes. Other titles are shown whole.
std::string TabCaptionFromTitle(std::string_view title_sjis);

}  // namespace sorvi
