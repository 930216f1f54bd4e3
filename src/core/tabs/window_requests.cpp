#include "core/tabs/window_requests.h"

#include <algorithm>
#include <utility>

#include "core/tabs/window_features.h"

namespace sorvi {

namespace {

// The address without query and fragment; a window opened without one
// is asked for as "about:blank" (with a fragment of the engine's).
std::string_view BareAddress(std::string_view address) {
  if (address.empty()) return "about:blank";
  return address.substr(0, address.find_first_of("?#"));
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

}  // namespace

bool IsWindowName(std::string_view target) {
  if (target.empty()) return false;
  for (std::string_view reserved : {"_blank", "_self", "_parent", "_top"})
    if (EqualsIgnoringAsciiCase(target, reserved)) return false;
  return true;
}

void WindowRequestMatcher::Remember(WindowReport report) {
  reports_.push_back(std::move(report));
  if (reports_.size() > kMaxReports) reports_.erase(reports_.begin());
}

RequestedWindow WindowRequestMatcher::Match(const EngineWindowRequest& request) {
  const std::string_view address = BareAddress(request.address);
  const auto newest = std::find_if(reports_.rbegin(), reports_.rend(), [address](const WindowReport& report) {
    return BareAddress(report.address) == address;
  });
  RequestedWindow window;
  RequestedWindowSize size;
  if (newest != reports_.rend()) {
    if (IsWindowName(newest->name)) window.target_name = newest->name;
    if (newest->kind == WindowReport::Kind::Open) size = ParseWindowFeatures(newest->features);
    window.scripted = newest->kind == WindowReport::Kind::Open;
    reports_.erase(std::next(newest).base());
  } else if (request.dialog) {
    // Opened without the script (it cannot run in some documents).
    size.has_width = size.has_height = true;
  }
  if (request.background) {
    size = RequestedWindowSize();
    window.scripted = false;
  }
  if (size.has_width) window.width = request.width > 0 ? request.width : size.width;
  if (size.has_height) window.height = request.height > 0 ? request.height : size.height;
  return window;
}

}  // namespace sorvi
