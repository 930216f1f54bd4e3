#pragma once
// Finding a stock by what the user types: a code or a part of a name, in
// whatever width and kana the user's input method gives. Texts stay code
// page 932 bytes; each character is folded to one unit so that matches
// never start or end inside a double-byte character:
// - full-width ASCII letters and digits (and the ideographic space) become
//   their ASCII forms, and Latin letters lower case;
// - half-width katakana become full-width, a following voiced or
//   semi-voiced mark joining its kana (ｶﾞ is ガ);
// - hiragana become katakana.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sorvi {

using FoldedText = std::u16string;  // one unit per character, not UTF-16

FoldedText FoldForSearch(std::string_view sjis);

// The stock texts of the tree (as shown: code, separator, name), folded
// once, so that each keystroke only compares.
class StockSearch {
 public:
  void Assign(const std::vector<std::string>& texts);
  size_t Size() const { return folded_.size(); }

  // The first text at or after `from` holding `query`, going round to the
  // start; -1 when none does or the query folds to nothing.
  int FindFrom(std::string_view query, size_t from) const;

 private:
  std::vector<FoldedText> folded_;
};

}  // namespace sorvi
