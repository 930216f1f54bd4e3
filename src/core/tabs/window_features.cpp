#include "core/tabs/window_features.h"

#include <string>

namespace sorvi {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsSeparator(char c) { return IsSpace(c) || c == '=' || c == ','; }

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Leading digits as a number, capped well inside int; false without any.
bool ParseSize(std::string_view value, int& out) {
  size_t i = 0;
  if (i < value.size() && value[i] == '+') ++i;
  long long n = 0;
  size_t digits = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i, ++digits)
    if (n < 1000000) n = n * 10 + (value[i] - '0');
  if (digits == 0) return false;
  out = static_cast<int>(n > 1000000 ? 1000000 : n);
  return true;
}

}  // namespace

RequestedWindowSize ParseWindowFeatures(std::string_view text) {
  RequestedWindowSize size;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    while (i < n && IsSeparator(text[i])) ++i;
    const size_t name_start = i;
    while (i < n && !IsSeparator(text[i])) ++i;
    const std::string name = Lower(text.substr(name_start, i - name_start));
    // "name = value": white space may stand around the '='.
    size_t j = i;
    while (j < n && IsSpace(text[j])) ++j;
    std::string_view value;
    if (j < n && text[j] == '=') {
      ++j;
      while (j < n && IsSpace(text[j])) ++j;
      const size_t value_start = j;
      while (j < n && !IsSeparator(text[j])) ++j;
      value = text.substr(value_start, j - value_start);
      i = j;
    }
    if (name.empty()) continue;
    int number = 0;
    if ((name == "width" || name == "innerwidth") && ParseSize(value, number)) {
      size.has_width = true;
      size.width = number;
    } else if ((name == "height" || name == "innerheight") && ParseSize(value, number)) {
      size.has_height = true;
      size.height = number;
    }
  }
  return size;
}

}  // namespace sorvi
