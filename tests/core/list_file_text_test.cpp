#include "core/text/list_file_text.h"

#include <gtest/gtest.h>

#include "core/bookmarks/url_bookmark.h"
#include "core/codes/stock_code_list.h"

namespace sorvi {
namespace {

using namespace std::string_view_literals;

TEST(Cp932CheckTest, AcceptsWhatTheCodePageMaps) {
  EXPECT_TRUE(IsValidCp932(""));
  EXPECT_TRUE(IsValidCp932("7203 \x83\x67\x83\x88\x83\x5E"));  // トヨタ
  EXPECT_TRUE(IsValidCp932("\xB1\xB2\xDF"));                   // half-width kana
  EXPECT_TRUE(IsValidCp932("\x87\x90\xED\x40\xFA\x5C"));       // NEC and IBM extensions
  EXPECT_TRUE(IsValidCp932("\xF0\x40"));                       // user-defined row
}

TEST(Cp932CheckTest, RejectsUnassignedAndCutOffCodes) {
  EXPECT_FALSE(IsValidCp932("\x85\x40"));  // empty row
  EXPECT_FALSE(IsValidCp932("\x82\x40"));  // hole in the kana row
  EXPECT_FALSE(IsValidCp932("abc\x83"));   // lead byte at the end
  EXPECT_FALSE(IsValidCp932("\x80"));
  EXPECT_FALSE(IsValidCp932("\xFC\x4C"));
  EXPECT_FALSE(IsValidCp932("\x83\x0A"));  // a line end is no trail byte
}

// "[自動車]\n7203 トヨタ\n\n" as an editor writes it in UTF-8, LF, with a
// trailing blank line.
constexpr std::string_view kUtf8Codes =
    "[\xE8\x87\xAA\xE5\x8B\x95\xE8\xBB\x8A]\n7203 \xE3\x83\x88\xE3\x83\xA8\xE3\x82\xBF\n\n";

TEST(ListFileTextTest, Utf8FromAnEditorIsFlaggedAndLosesNoLine) {
  const ListFileText text = CheckListFileText(kUtf8Codes);
  EXPECT_FALSE(text.shift_jis);
  const StockCodeLoad load = ParseStockCodeFile(text.bytes);
  ASSERT_EQ(load.list.groups.size(), 1u);
  EXPECT_EQ(load.orphan_lines, 0u);
  EXPECT_EQ(load.list.groups[0].stocks, (std::vector<std::string>{"7203 \xE3\x83\x88\xE3\x83\xA8\xE3\x82\xBF"}));
}

TEST(ListFileTextTest, ByteOrderMarkDoesNotSwallowTheFirstBookmark) {
  const ListFileText text = CheckListFileText("\xEF\xBB\xBF[a]\nhttp://a/\n[b]\nhttp://b/\n");
  EXPECT_FALSE(text.shift_jis);
  const std::vector<UrlBookmark> list = ParseBookmarkFile(text.bytes);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "a");
  EXPECT_EQ(list[0].url_macro, "http://a/");
}

TEST(ListFileTextTest, ShiftJisWithLfEndsIsAcceptedAsItIs) {
  constexpr std::string_view sjis = "[\x8E\xA9\x93\xAE\x8E\xD4]\n7203 \x83\x67\x83\x88\x83\x5E\n";
  const ListFileText text = CheckListFileText(sjis);
  EXPECT_TRUE(text.shift_jis);
  EXPECT_EQ(text.bytes, sjis);
  EXPECT_FALSE(LooksLikeUtf8(sjis));
  EXPECT_FALSE(LooksLikeUtf8("plain ascii"));
  // Bytes after a NUL are never read, so they are not judged either.
  EXPECT_TRUE(CheckListFileText("[a]\r\n\0\xFF\xFF"sv).shift_jis);
}

TEST(ListFileTextTest, CountsTheBytesFromTheFirstNul) {
  EXPECT_EQ(CheckListFileText("[a]\r\n\0\xFF\0x"sv).unread_bytes, 4u);
  EXPECT_EQ(CheckListFileText("\xEF\xBB\xBF[a]\0"sv).unread_bytes, 1u);
  EXPECT_EQ(CheckListFileText("[a]\r\n"sv).unread_bytes, 0u);
}

}  // namespace
}  // namespace sorvi
