#include <gtest/gtest.h>

#include "core/codes/stock_search.h"

namespace sorvi {
namespace {

// Each row: two spellings a user may meet, and whether they are one text.
TEST(StockSearchFold, WidthsKanaAndLetterCaseFoldAlikeAndNothingElse) {
  const struct {
    const char* a;
    const char* b;
    bool alike;
  } rows[] = {
      {"\x83\x67\x83\x88\x83\x5E", "\xC4\xD6\xC0", true},                              // トヨタ / ﾄﾖﾀ
      {"\x83\x67\x83\x88\x83\x5E", "\x82\xC6\x82\xE6\x82\xBD", true},                  // トヨタ / とよた
      {"\x83\x4B\x83\x53\x83\x6F\x83\x70", "\xB6\xDE\xBA\xDE\xCA\xDE\xCA\xDF", true},  // ガゴバパ / ｶﾞｺﾞﾊﾞﾊﾟ
      {"\x83\x94\x83\x66\x83\x68", "\xB3\xDE\xC3\xDE\xC4\xDE", true},                  // ヴデド / ｳﾞﾃﾞﾄﾞ
      {"\x83\x80\x83\x93\x81\x5B", "\x82\xDE\x82\xF1\xB0", true},                      // ムンー / むんｰ
      {"\x82\x60\x82\x61\x82\x62\x82\x81", "abcA", true},                              // ＡＢＣａ / abcA
      {"\x82\x56\x82\x51\x82\x4F\x82\x52\x81\x40", "7203 ", true},                     // ７２０３　 / 7203
      {"\x83\x4A", "\x83\x4B", false},                                                 // カ / ガ
      {"\x83\x6E\x83\x6F", "\xCA\xDF", false},  // ハバ / ﾊﾟ: one character, not two
      {"\xAF\xDE", "\x83\x64", false},          // ｯﾞ is no ヅ (ッ takes no mark)
      {"\x83\x41", "\x83\x61", false},          // ア / ヂ: trail bytes are not letters
  };
  for (const auto& row : rows) EXPECT_EQ(FoldForSearch(row.a) == FoldForSearch(row.b), row.alike) << row.b;
}

TEST(StockSearch, FindsFromAPlaceGoingRoundAndNeverInsideACharacter) {
  StockSearch search;
  search.Assign({"7203 \x83\x67\x83\x88\x83\x5E\x8E\xA9\x93\xAE\x8E\xD4",  // 7203 トヨタ自動車
                 "6758 \x83\x5C\x83\x6A\x81\x5B",                          // 6758 ソニー
                 "9999 \x83\x67\x83\x88\x83\x5E\x8F\xA4",                  // 9999 トヨタ商
                 "130A \x83\x5C\x83\x6A\x81\x5B"});                        // 130A ソニー
  const struct {
    const char* query;
    size_t from;
    int found;
  } rows[] = {
      {"\xC4\xD6\xC0", 0, 0},
      {"\x82\xC6\x82\xE6\x82\xBD", 1, 2},
      {"\x83\x67", 3, 0},
      {"\x82\x56\x82\x51", 0, 0},
      {"67", 0, 1},
      {"\x5E\x8E", 0, -1},  // the end of タ and the start of 自
      {"", 0, -1},
      {"\x83\x4A", 0, -1},
      // A code with a letter, typed as it is, in small letters or full width.
      {"130A", 0, 3},
      {"130a", 0, 3},
      {"\x82\x50\x82\x52\x82\x4F\x82\x60", 0, 3},
      {"\x82\x52\x82\x4F\x82\x81", 0, 3},  // ３０ａ
      {"130B", 0, -1},
  };
  for (const auto& row : rows) EXPECT_EQ(search.FindFrom(row.query, row.from), row.found) << row.query;
}

}  // namespace
}  // namespace sorvi
