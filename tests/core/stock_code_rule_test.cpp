#include "core/codes/stock_code_rule.h"

#include <gtest/gtest.h>

#include <string>

namespace sorvi {
namespace {

using V = CodeCharVerdict;

// Each row: a code as typed, the verdict on each of its places.
TEST(StockCodeRule, DigitsEverywhereLettersInSecondAndFourthButNotThoseReadAsDigits) {
  const struct {
    const char* code;
    V verdicts[4];
    size_t first_refused;
  } rows[] = {
      {"7203", {V::kTaken, V::kTaken, V::kTaken, V::kTaken}, 4},
      {"130A", {V::kTaken, V::kTaken, V::kTaken, V::kTaken}, 4},
      {"2a5y", {V::kTaken, V::kTaken, V::kTaken, V::kTaken}, 4},  // small letters count as capitals
      {"A30A", {V::kDigitOnly, V::kTaken, V::kTaken, V::kTaken}, 0},
      {"13a0", {V::kTaken, V::kTaken, V::kDigitOnly, V::kTaken}, 2},
      {"1B0E", {V::kTaken, V::kExcludedLetter, V::kTaken, V::kExcludedLetter}, 1},
      {"1I0O", {V::kTaken, V::kExcludedLetter, V::kTaken, V::kExcludedLetter}, 1},
      {"1Q0v", {V::kTaken, V::kExcludedLetter, V::kTaken, V::kExcludedLetter}, 1},
      {"12 z", {V::kTaken, V::kTaken, V::kNotAllowed, V::kExcludedLetter}, 2},
      {"1-0\x82", {V::kTaken, V::kNotAllowed, V::kTaken, V::kNotAllowed}, 1},
  };
  for (const auto& row : rows) {
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(CheckCodeChar(i, row.code[i]), row.verdicts[i]) << row.code << " " << i;
    EXPECT_EQ(FirstRefusedPlace(row.code), row.first_refused) << row.code;
  }
  // Every letter of the alphabet in a letter place: all but the seven.
  std::string taken;
  for (char c = 'A'; c <= 'Z'; ++c)
    if (CheckCodeChar(3, c) == V::kTaken) taken += c;
  EXPECT_EQ(taken, "ACDFGHJKLMNPRSTUWXY");
  EXPECT_EQ(FirstRefusedPlace("130A5"), 4u);
  EXPECT_EQ(FirstRefusedPlace("13"), 2u);
}

}  // namespace
}  // namespace sorvi
