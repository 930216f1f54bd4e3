#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/codes/stock_search.h"

namespace sorvi {
namespace {

// Each row: two spellings a user may meet for the same text.
TEST(StockSearchFold, WidthsKanaAndLetterCaseFoldAlike) {
  const struct {
    const char* a;
    const char* b;
  } rows[] = {
      {"\x83\x67\x83\x88\x83\x5E", "\xC4\xD6\xC0"},                              // トヨタ / ﾄﾖﾀ
      {"\x83\x67\x83\x88\x83\x5E", "\x82\xC6\x82\xE6\x82\xBD"},                  // トヨタ / とよた
      {"\x83\x4B\x83\x53\x83\x6F\x83\x70", "\xB6\xDE\xBA\xDE\xCA\xDE\xCA\xDF"},  // ガゴバパ / ｶﾞｺﾞﾊﾞﾊﾟ
      {"\x83\x94\x83\x66\x83\x68", "\xB3\xDE\xC3\xDE\xC4\xDE"},                  // ヴデド / ｳﾞﾃﾞﾄﾞ
      {"\x83\x80\x83\x93\x81\x5B", "\x82\xDE\x82\xF1\xB0"},                      // ムンー / むんｰ
      {"\x82\x60\x82\x61\x82\x62\x82\x81", "abcA"},                              // ＡＢＣａ / abcA
      {"\x82\x56\x82\x51\x82\x4F\x82\x52\x81\x40", "7203 "},                     // ７２０３　 / 7203
  };
  for (const auto& row : rows) EXPECT_EQ(FoldForSearch(row.a), FoldForSearch(row.b)) << row.b;
}

TEST(StockSearchFold, KeepsWhatDiffers) {
  const struct {
    const char* a;
    const char* b;
  } rows[] = {
      {"\x83\x4A", "\x83\x4B"},          // カ / ガ
      {"\x83\x6E\x83\x6F", "\xCA\xDF"},  // ハバ / ﾊﾟ: one character, not two
      {"\xAF\xDE", "\x83\x64"},          // ｯﾞ is no ヅ (ッ takes no mark)
      {"\x83\x41", "\x83\x61"},          // ア / ヂ: trail bytes are not letters
      {"\x8A\x94", "\x8A\x95"},          // 株 / another kanji
  };
  for (const auto& row : rows) EXPECT_NE(FoldForSearch(row.a), FoldForSearch(row.b)) << row.b;
}

TEST(StockSearch, FindsFromAPlaceGoingRoundAndNeverInsideACharacter) {
  StockSearch search;
  search.Assign({"7203 \x83\x67\x83\x88\x83\x5E\x8E\xA9\x93\xAE\x8E\xD4",  // 7203 トヨタ自動車
                 "6758 \x83\x5C\x83\x6A\x81\x5B",                          // 6758 ソニー
                 "7267 \x83\x7B\x83\x93\x83\x5F",                          // 7267 ホンダ
                 "9999 \x83\x67\x83\x88\x83\x5E\x8F\xA4"});                // 9999 トヨタ商
  EXPECT_EQ(search.FindFrom("\xC4\xD6\xC0", 0), 0);
  EXPECT_EQ(search.FindFrom("\x82\xC6\x82\xE6\x82\xBD", 1), 3);
  EXPECT_EQ(search.FindFrom("\x83\x67\x83\x88\x83\x5E", 4), 0);
  EXPECT_EQ(search.FindFrom("\x82\x56\x82\x51", 0), 0);  // ７２
  EXPECT_EQ(search.FindFrom("67", 0), 1);
  // 0x5E 0x83 spans two characters of "タ" and "ソ"-like pairs: no match.
  EXPECT_EQ(search.FindFrom("\x5E\x8E", 0), -1);
  EXPECT_EQ(search.FindFrom("", 0), -1);
  EXPECT_EQ(search.FindFrom("\x83\x4A", 0), -1);
}

}  // namespace
}  // namespace sorvi
