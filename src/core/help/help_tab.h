#pragma once
// The help page's tab: which open tab the help command brings to the front
// instead of opening the page again.
#include <string>
#include <string_view>
#include <vector>

namespace sorvi {

// The tab caption of the help page (UTF-8) and the page's file name beside
// the executable.
inline constexpr std::string_view kHelpCaption = "そるびヘルプ";
inline constexpr std::string_view kHelpFileName = "Sorvi.htm";

struct TabIdentity {
  std::string caption;  // UTF-8, as the tab shows it
  std::string address;  // the browser's current address
};

// A help tab has the help caption and an address whose last path segment
// begins with "Sorvi.htm" (both compared exactly, letter case included).
// An anchor or query behind the file name still counts, also when it holds
// a "/" of its own.
bool IsHelpTab(std::string_view caption, std::string_view address);

// Index of the first help tab, or -1 when the page has to be opened anew.
int FindHelpTab(const std::vector<TabIdentity>& tabs);

}  // namespace sorvi
