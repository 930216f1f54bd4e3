#include "core/codes/codes_in_text.h"

#include <algorithm>
#include <map>

#include "core/codes/stock_code_rule.h"

namespace sorvi {
namespace {

struct Char {
  char32_t c;
  size_t at;  // byte offset
};

// Invalid bytes stand as themselves; they never form a code.
std::vector<Char> Decode(std::string_view s) {
  std::vector<Char> out;
  for (size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
    char32_t c = len == 1 ? b : b & (0x3F >> (len - 1));
    bool ok = i + len <= s.size();
    for (int k = 1; ok && k < len; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      ok = (t & 0xC0) == 0x80;
      c = (c << 6) | (t & 0x3F);
    }
    if (!ok) {
      out.push_back({b, i});
      ++i;
      continue;
    }
    out.push_back({c, i});
    i += len;
  }
  return out;
}

// Full-width ASCII letters and digits as their half-width forms.
char32_t Narrow(char32_t c) { return c >= 0xFF01 && c <= 0xFF5E ? c - 0xFEE0 : c; }

bool IsDigit(char32_t c) { return Narrow(c) >= '0' && Narrow(c) <= '9'; }
bool IsWordChar(char32_t c) {
  const char32_t n = Narrow(c);
  return (n >= '0' && n <= '9') || (n >= 'A' && n <= 'Z') || (n >= 'a' && n <= 'z') || n == '_';
}
bool IsIn(char32_t c, std::u32string_view set) { return set.find(c) != std::u32string_view::npos; }

// Joins digits into one number: "1,234", "1234.5", "2024/01", "10:30".
constexpr std::u32string_view kNumberJoints = U",.:/，．：／";
// An amount or a change, not a code: "+1234", "¥1234", "△1234".
constexpr std::u32string_view kAmountSigns = U"+-−＋－¥￥$＄△▲▼";
// A count or a price: "1234円", "1000株", "2024年".
constexpr std::u32string_view kCountSuffixes = U"円%％株倍年月日時分秒件人位";

bool CodeAt(const std::vector<Char>& t, size_t i) {
  if (i + 4 > t.size()) return false;
  for (size_t k = 0; k < 4; ++k) {
    const char32_t n = Narrow(t[i + k].c);
    const bool capital = n >= 'A' && n <= 'Z';
    if (!(n >= '0' && n <= '9') && !(capital && CheckCodeChar(k, char(n)) == CodeCharVerdict::kTaken)) return false;
  }
  if (i > 0) {
    const char32_t before = t[i - 1].c;
    if (IsWordChar(before) || IsIn(before, kAmountSigns)) return false;
    if (IsIn(before, kNumberJoints) && i > 1 && IsDigit(t[i - 2].c)) return false;
  }
  if (i + 4 < t.size()) {
    const char32_t after = t[i + 4].c;
    if (IsWordChar(after) || IsIn(after, kCountSuffixes)) return false;
    if (IsIn(after, kNumberJoints) && i + 5 < t.size() && IsDigit(t[i + 5].c)) return false;
  }
  return true;
}

bool IsSpace(char32_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x3000 || c == 0xA0; }

// Texts that say a number, a price or a change rather than a name.
bool IsNumberLike(std::string_view text) {
  constexpr std::u32string_view kNumberChars = U",.+-−＋－%％円¥￥$△▲▼()（）位株倍 　";
  const std::vector<Char> chars = Decode(text);
  return std::all_of(chars.begin(), chars.end(),
                     [&](const Char& ch) { return IsDigit(ch.c) || IsIn(ch.c, kNumberChars); });
}

// Trims spaces and the brackets and marks codes are written between.
std::string_view TrimName(std::string_view text) {
  constexpr std::u32string_view kEdges = U"()（）[]［］【】「」<>＜＞:：・|｜-－/";
  const std::vector<Char> chars = Decode(text);
  size_t first = 0, last = chars.size();
  while (first < last && (IsSpace(chars[first].c) || IsIn(chars[first].c, kEdges))) ++first;
  while (last > first && (IsSpace(chars[last - 1].c) || IsIn(chars[last - 1].c, kEdges))) --last;
  if (first == last) return {};
  const size_t end = last < chars.size() ? chars[last].at : text.size();
  return text.substr(chars[first].at, end - chars[first].at);
}

// The name part of a piece of text: the code and what only says numbers
// (trailing prices and changes after a space) taken away.
std::string NameIn(std::string_view text, std::string_view code) {
  std::string rest(text);
  for (const CodeInText& found : FindStockCodes(text)) {
    if (found.code != code) continue;
    rest = std::string(text.substr(0, found.begin)) + " " + std::string(text.substr(found.end));
    break;
  }
  // Cells of a selected row come apart at tabs and line ends.
  size_t from = 0;
  while (from <= rest.size()) {
    size_t to = rest.find_first_of("\t\r\n", from);
    if (to == std::string::npos) to = rest.size();
    std::string piece(TrimName(std::string_view(rest).substr(from, to - from)));
    while (!piece.empty()) {
      const size_t space = piece.find_last_of(' ');
      if (space == std::string::npos || !IsNumberLike(piece.substr(space + 1))) break;
      piece = std::string(TrimName(piece.substr(0, space)));
    }
    const std::vector<CodeInText> codes = FindStockCodes(piece);
    const bool only_a_code = codes.size() == 1 && codes[0].begin == 0 && codes[0].end == piece.size();
    if (!piece.empty() && !IsNumberLike(piece) && !only_a_code) return piece;
    from = to + 1;
  }
  return {};
}

std::string CodeKey(std::string_view stock_text) {
  std::string code(StockCode(stock_text));
  for (char& c : code)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return code;
}

}  // namespace

std::vector<CodeInText> FindStockCodes(std::string_view utf8) {
  const std::vector<Char> chars = Decode(utf8);
  std::vector<CodeInText> found;
  for (size_t i = 0; i < chars.size(); ++i) {
    if (!CodeAt(chars, i)) continue;
    CodeInText code;
    code.begin = chars[i].at;
    code.end = i + 4 < chars.size() ? chars[i + 4].at : utf8.size();
    for (size_t k = 0; k < 4; ++k) code.code += char(Narrow(chars[i + k].c));
    found.push_back(std::move(code));
    i += 3;
  }
  return found;
}

std::string ProposeStockName(std::string_view text, std::string_view code, const std::vector<std::string>& row_texts) {
  if (std::string name = NameIn(text, code); !name.empty()) return name;
  for (const std::string& cell : row_texts)
    if (std::string name = NameIn(cell, code); !name.empty()) return name;
  return {};
}

std::vector<MarkedStock> MarkedStocks(const StockCodeList& list) {
  std::vector<MarkedStock> stocks;
  std::map<std::string, size_t> index;
  for (const StockGroup& group : list.groups) {
    const std::string group_name(GroupName(group.text));
    for (const std::string& stock : group.stocks) {
      if (stock.size() < 4) continue;
      const std::string code = CodeKey(stock);
      auto [at, added] = index.emplace(code, stocks.size());
      if (added) stocks.push_back({code, {}});
      std::vector<std::string>& lines = stocks[at->second].lines;
      const std::string prefix = group_name + ": ";
      // One line per group: the first of its stocks of this code.
      if (std::any_of(lines.begin(), lines.end(),
                      [&](const std::string& line) { return line.compare(0, prefix.size(), prefix) == 0; }))
        continue;
      lines.push_back(prefix + code + " " + std::string(StockName(stock)));
    }
  }
  return stocks;
}

std::vector<size_t> GroupsHolding(const StockCodeList& list, std::string_view code) {
  std::vector<size_t> groups;
  for (size_t g = 0; g < list.groups.size(); ++g) {
    const auto& stocks = list.groups[g].stocks;
    if (std::any_of(stocks.begin(), stocks.end(),
                    [&](const std::string& stock) { return stock.size() >= 4 && CodeKey(stock) == code; }))
      groups.push_back(g);
  }
  return groups;
}

}  // namespace sorvi
