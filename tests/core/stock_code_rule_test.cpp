#include "core/codes/stock_code_rule.h"

#include <gtest/gtest.h>

#include <string>

namespace sorvi {
namespace {

using V = CodeCharVerdict;

// Each row: a code as typed, its first refused place (its length when none)
// and the verdict there.
TEST(StockCodeRule, DigitsEverywhereLettersInSecondAndFourthButNotThoseReadAsDigits) {
  const struct {
    const char* code;
    size_t refused;
    V verdict;
  } rows[] = {
      {"7203", 4, V::kTaken},          {"130A", 4, V::kTaken},      {"2a5y", 4, V::kTaken},  // small = capital
      {"A30A", 0, V::kDigitOnly},      {"13a0", 2, V::kDigitOnly},  {"1B0A", 1, V::kExcludedLetter},
      {"130z", 3, V::kExcludedLetter}, {"1-00", 1, V::kNotAllowed}, {"1\x82", 1, V::kNotAllowed},
      {"130A5", 4, V::kNotAllowed},    {"13", 2, V::kTaken},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FirstRefusedPlace(row.code), row.refused) << row.code;
    if (row.refused < std::string(row.code).size())
      EXPECT_EQ(CheckCodeChar(row.refused, row.code[row.refused]), row.verdict) << row.code;
  }
  // Every letter in a letter place: all but B E I O Q V Z.
  std::string taken;
  for (char c = 'A'; c <= 'Z'; ++c)
    if (CheckCodeChar(3, c) == V::kTaken) taken += c;
  EXPECT_EQ(taken, "ACDFGHJKLMNPRSTUWXY");
}

}  // namespace
}  // namespace sorvi
