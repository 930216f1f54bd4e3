#include "core/text/sjis.h"

namespace sorvi {

std::string_view SjisPrefix(std::string_view text, size_t max_bytes) {
  if (text.size() <= max_bytes) return text;
  size_t pos = 0;
  while (pos < max_bytes) {
    const size_t width = IsSjisLeadByte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
    if (pos + width > max_bytes) break;
    pos += width;
  }
  return text.substr(0, pos);
}

std::vector<std::string> SplitLines(std::string_view bytes, NulByte nul) {
  if (nul == NulByte::kEndsText) bytes = bytes.substr(0, bytes.find('\0'));
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(bytes.substr(start, i - start));
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

namespace {

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

}  // namespace

bool SjisEqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (IsSjisLeadByte(x)) {
      // Same lead byte in both, so both strings stay in step.
      if (x != y) return false;
      if (++i < a.size() && a[i] != b[i]) return false;
    } else if (FoldAscii(x) != FoldAscii(y)) {
      return false;
    }
  }
  return true;
}

std::string SjisFoldCase(std::string_view text) {
  std::string folded(text);
  for (size_t i = 0; i < folded.size(); ++i) {
    const auto c = static_cast<unsigned char>(folded[i]);
    if (IsSjisLeadByte(c)) {
      ++i;  // the second byte stays as it is
    } else {
      folded[i] = static_cast<char>(FoldAscii(c));
    }
  }
  return folded;
}

std::string_view TrimControlAndBlank(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  return text.substr(begin, end - begin);
}

}  // namespace sorvi
