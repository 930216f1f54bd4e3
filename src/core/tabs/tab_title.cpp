#include "core/tabs/tab_title.h"

#include "core/text/sjis.h"

namespace sorvi {

namespace {

constexpr size_t kLongestWholeAddress = 40;
constexpr size_t kAddressKept = 36;

}  // namespace

std::string TabCaptionFromTitle(std::string_view title_sjis) {
  const std::string_view head = title_sjis.substr(0, 4);
  const bool looks_like_address = head == "http" || head == "file";
  if (!looks_like_address || title_sjis.size() <= kLongestWholeAddress) return std::string(title_sjis);
  std::string caption(SjisPrefix(title_sjis, kAddressKept));
  caption += " ...";
  return caption;
}

}  // namespace sorvi
