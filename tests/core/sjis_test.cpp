#include "core/text/sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorvi {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// ---- line splitting -------------------------------------------------------------

TEST(SplitLinesTest, EveryLineEndEndsOneLine) {
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  // LF CR is two ends; CR CR LF is an empty line between.
  EXPECT_EQ(SplitLines("a\n\rb\r\r\nc\r\n"), (Lines{"a", "", "b", "", "c"}));
  EXPECT_EQ(SplitLines("\r\n\n"), (Lines{"", ""}));
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("  x  \t"), Lines{"  x  \t"});
}

TEST(SplitLinesTest, NulEndsTheTextOrStaysInItsLine) {
  const std::string bytes = "a\r\nb\0c\r\nd\r\n"s;
  EXPECT_EQ(SplitLines(bytes), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines(bytes, NulByte::kEndsText), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines(bytes, NulByte::kKeptInLine), (Lines{"a", "b\0c"s, "d"}));
  EXPECT_EQ(SplitLines("\0\r\nx"s), Lines{});
}

TEST(SplitLinesTest, DoubleByteCharactersPassWhole) {
  // 0x95 0x5C has a backslash as its second byte; no byte is special but CR, LF, NUL.
  EXPECT_EQ(SplitLines("\x95\x5C\r\n\x82\xA0"), (Lines{"\x95\x5C", "\x82\xA0"}));
}

// ---- comparing names --------------------------------------------------------------

TEST(SjisEqualsIgnoringCaseTest, FoldsOnlySingleByteAsciiLetters) {
  EXPECT_TRUE(SjisEqualsIgnoringCase("AutoSave", "aUTOsAVE"));
  EXPECT_TRUE(SjisEqualsIgnoringCase("", ""));
  EXPECT_FALSE(SjisEqualsIgnoringCase("Top", "Topp"));
  // Bytes 32 apart that are not letters stay different.
  EXPECT_FALSE(SjisEqualsIgnoringCase("[", "{"));
  EXPECT_FALSE(SjisEqualsIgnoringCase("@", "`"));
  EXPECT_FALSE(SjisEqualsIgnoringCase("^", "~"));
}

TEST(SjisEqualsIgnoringCaseTest, SecondBytesOfDoubleByteCharactersCompareExactly) {
  // 0x83 0x41 and 0x83 0x61 are different characters.
  EXPECT_TRUE(SjisEqualsIgnoringCase("k\x83\x41", "K\x83\x41"));
  EXPECT_FALSE(SjisEqualsIgnoringCase("k\x83\x41", "k\x83\x61"));
  EXPECT_FALSE(SjisEqualsIgnoringCase("\x82\xA0", "\x82\xA2"));
  // After a double-byte character the letters fold again.
  EXPECT_TRUE(SjisEqualsIgnoringCase("\x83\x41x", "\x83\x41X"));
  // A lead byte with nothing behind it.
  EXPECT_TRUE(SjisEqualsIgnoringCase("a\x83", "A\x83"));
  EXPECT_FALSE(SjisEqualsIgnoringCase("a\x83", "a\x84"));
}

// Lookups by folded name must find exactly what the comparison matches.
TEST(SjisFoldCaseTest, FoldsAlikeExactlyWhenTheComparisonMatches) {
  const std::vector<std::string> names = {"AutoSave",  "aUTOsAVE",  "",          "Top",       "Topp",
                                          "[",         "{",         "@",         "`",         "k\x83\x41",
                                          "K\x83\x41", "k\x83\x61", "\x83\x41x", "\x83\x41X", "a\x83",
                                          "A\x83",     "a\x84",     "\x95\x5C",  "\x95\x7C",  "x\x95\x5Cy"};
  for (const std::string& a : names) {
    for (const std::string& b : names) {
      EXPECT_EQ(SjisFoldCase(a) == SjisFoldCase(b), SjisEqualsIgnoringCase(a, b)) << a << " / " << b;
    }
  }
}

// ---- cutting and trimming ------------------------------------------------------------

TEST(SjisPrefixTest, NeverEndsInsideACharacter) {
  EXPECT_EQ(SjisPrefix("abc", 5), "abc");
  EXPECT_EQ(SjisPrefix("abc", 2), "ab");
  const std::string a_wide_b = "a\x82\xA0"s + "b";
  EXPECT_EQ(SjisPrefix(a_wide_b, 2), "a");
  EXPECT_EQ(SjisPrefix(a_wide_b, 3), "a\x82\xA0");
  EXPECT_EQ(SjisPrefix("\x82\xA0", 0), "");
}

TEST(TrimControlAndBlankTest, DropsBytesUpToBlankAtBothEnds) {
  EXPECT_EQ(TrimControlAndBlank(" \t\r\x01"s + "a b\x1F "), "a b");
  EXPECT_EQ(TrimControlAndBlank("\x82\xA0"), "\x82\xA0");
  EXPECT_EQ(TrimControlAndBlank("   "), "");
}

}  // namespace
}  // namespace sorvi
