#include "core/bookmarks/url_bookmark.h"

#include <gtest/gtest.h>

#include <string>

namespace sorvi {

// Internal linkage: found by argument lookup, invisible to other test files.
static void PrintTo(const UrlBookmark& b, std::ostream* os) {
  *os << "{flag " << b.fixed_title << ", title '" << b.title << "', name '" << b.name << "', url '" << b.url_macro
      << "', key '" << b.key_macro << "' state " << b.key_macro_state << "}";
}

namespace {

using namespace std::string_literals;

const std::string kSony = "\x83\x5C\x83\x6A\x81\x5B";      // ソニー
const std::string kSchedule = "\x97\x5C\x92\xE8\x95\x5C";  // 予定表

UrlBookmark Make(int flag, std::string title, std::string name, std::string url, std::string key = "", int state = -1) {
  return UrlBookmark{flag, std::move(title), std::move(name), std::move(url), std::move(key), state};
}

TEST(BookmarkFileTest, ReadsEveryKindOfLine) {
  const auto list = ParseBookmarkFile(
      "[Chart]*\r\n*%CD% chart\r\n+{TAB}\r\nhttp://a/?c=%CD%\r\n"
      "[Board]\r\n-{ENTER}\r\nhttp://b/\r\n"
      "[Plain]\r\nhttp://c/\r\n");
  EXPECT_EQ(list, (std::vector<UrlBookmark>{Make(1, "%CD% chart", "Chart", "http://a/?c=%CD%", "{TAB}", 1),
                                            Make(0, "", "Board", "http://b/", "{ENTER}", 0),
                                            Make(0, "", "Plain", "http://c/")}));
}

TEST(BookmarkFileTest, NameLosesItsLastByteOrTwoWhenFlagged) {
  struct Case {
    const char* line;
    const char* name;
    int flag;
  };
  for (const Case& c :
       {Case{"[]", "", 0}, Case{"[]*", "", 1}, Case{"[", "", 0}, Case{"[*", "", 1}, Case{"[abc", "ab", 0},
        Case{"[abc*", "ab", 1}, Case{"[a]b]", "a]b", 0}, Case{"[x]**", "x]", 1}}) {
    const auto list = ParseBookmarkFile(std::string(c.line) + "\r\nurl\r\n");
    ASSERT_EQ(list.size(), 1u) << c.line;
    EXPECT_EQ(list[0].name, c.name) << c.line;
    EXPECT_EQ(list[0].fixed_title, c.flag) << c.line;
    EXPECT_EQ(list[0].url_macro, "url") << c.line;
  }
}

TEST(BookmarkFileTest, StrayLinesLaterLinesAndCutOffBlocks) {
  const struct {
    std::string bytes;
    std::vector<UrlBookmark> list;
  } rows[] = {
      // Lines outside a block are ignored.
      {"stray\r\n*t\r\n+k\r\n[A]\r\nu1\r\nafter\r\n*t2\r\n[B]\r\nu2\r\n",
       {Make(0, "", "A", "u1"), Make(0, "", "B", "u2")}},
      // A later title or key macro line replaces the earlier.
      {"[A]\r\n*one\r\n-k1\r\n*two\r\n+k2\r\nu\r\n", {Make(0, "two", "A", "u", "k2", 1)}},
      {"[A]\n+k1\n-k2\nu", {Make(0, "", "A", "u", "k2", 0)}},
      // A block cut off by the end or by the next bookmark line keeps an empty URL macro.
      {"[A]\r\n*t\r\n-k", {Make(0, "t", "A", "", "k", 0)}},
      {"[A]\r\n\r\n[B]\r\nu", {Make(0, "", "A", ""), Make(0, "", "B", "u")}},
      // The text ends at the first NUL.
      {"[A]\r\nu\0\r\n[B]\r\nv\r\n"s, {Make(0, "", "A", "u")}},
      // Any line end reads alike.
      {"[A]*\n*t\n+k\nu\n", {Make(1, "t", "A", "u", "k", 1)}},
      {"[A]*\r*t\r+k\ru", {Make(1, "t", "A", "u", "k", 1)}},
      {"[A]*\r\n*t\n+k\ru", {Make(1, "t", "A", "u", "k", 1)}},
  };
  for (const auto& row : rows) EXPECT_EQ(ParseBookmarkFile(row.bytes), row.list) << row.bytes;
}

TEST(BookmarkFileTest, KeyMacroMarkWithNothingBehindItGivesAnEmptyMacro) {
  const auto list = ParseBookmarkFile("[A]\r\n-\r\nu\r\n");
  EXPECT_EQ(list, std::vector<UrlBookmark>{Make(0, "", "A", "u", "", 0)});
  EXPECT_EQ(SerializeBookmarkList(list), "[A]\r\n-\r\nu\r\n");
}

TEST(BookmarkFileTest, EmptyInputAndEmptyListGiveNothing) {
  EXPECT_TRUE(ParseBookmarkFile("").empty());
  EXPECT_TRUE(ParseBookmarkFile("\r\n\r\n").empty());
  EXPECT_EQ(SerializeBookmarkList({}), "");
}

TEST(BookmarkFileTest, CountsTheLinesNoBookmarkKeeps) {
  size_t unkept = 99;
  // A note above the first block, a second title and key macro, a line
  // after a block's URL: read past, and counted.
  const auto list =
      ParseBookmarkFile("note\r\n[A]\r\n*t1\r\n*t2\r\n+k1\r\n-k2\r\nu\r\nstray\r\n\r\n[B]\r\nv\r\n", &unkept);
  EXPECT_EQ(list, (std::vector<UrlBookmark>{Make(0, "t2", "A", "u", "k2", 0), Make(0, "", "B", "v")}));
  EXPECT_EQ(unkept, 4u);
  ParseBookmarkFile("[A]\r\n*t\r\n+k\r\nu\r\n\r\n[B]\r\n", &unkept);
  EXPECT_EQ(unkept, 0u);
}

TEST(BookmarkWriteTest, WritesLinesInFixedOrderAndNoKeyMacroLineForStateMinusOne) {
  EXPECT_EQ(SerializeBookmarkList({Make(1, "T", "N", "U", "K", 1), Make(0, "", "M", "V", "L", 0)}),
            "[N]*\r\n*T\r\n+K\r\nU\r\n[M]\r\n-L\r\nV\r\n");
  EXPECT_EQ(SerializeBookmarkList({Make(0, "", "N", "U", "leftover", -1)}), "[N]\r\nU\r\n");
}

TEST(BookmarkWriteTest, EmptyUrlMacroIsWrittenAndReadsBack) {
  const std::vector<UrlBookmark> list{Make(0, "", "A", ""), Make(1, "", "B", "u")};
  const std::string bytes = SerializeBookmarkList(list);
  EXPECT_EQ(bytes, "[A]\r\n\r\n[B]*\r\nu\r\n");
  EXPECT_EQ(ParseBookmarkFile(bytes), list);
}

TEST(BookmarkWriteTest, UrlMacroStartingWithAMarkDoesNotSurviveARoundTrip) {
  // Read back as a title, a key macro or a new bookmark: the block stays open.
  EXPECT_EQ(ParseBookmarkFile(SerializeBookmarkList({Make(0, "", "A", "*x")})),
            std::vector<UrlBookmark>{Make(0, "x", "A", "")});
  EXPECT_EQ(ParseBookmarkFile(SerializeBookmarkList({Make(0, "", "A", "-x")})),
            std::vector<UrlBookmark>{Make(0, "", "A", "", "x", 0)});
  EXPECT_EQ(ParseBookmarkFile(SerializeBookmarkList({Make(0, "", "A", "+x")})),
            std::vector<UrlBookmark>{Make(0, "", "A", "", "x", 1)});
  EXPECT_EQ(ParseBookmarkFile(SerializeBookmarkList({Make(0, "", "A", "[x]")})),
            (std::vector<UrlBookmark>{Make(0, "", "A", ""), Make(0, "", "x", "")}));
}

TEST(BookmarkRoundTripTest, ShiftJisWithBackslashTrailBytesIsKept) {
  const std::vector<UrlBookmark> list{
      Make(1, kSchedule + " %NM%", kSony, "http://x/?q=%NM%&s=" + kSony, "{TAB}" + kSchedule, 1),
      Make(0, "", kSchedule, "http://y/" + kSchedule, kSony, 0)};
  const std::string bytes = SerializeBookmarkList(list);
  EXPECT_EQ(bytes, "[" + kSony + "]*\r\n*" + kSchedule + " %NM%\r\n+{TAB}" + kSchedule + "\r\nhttp://x/?q=%NM%&s=" +
                       kSony + "\r\n[" + kSchedule + "]\r\n-" + kSony + "\r\nhttp://y/" + kSchedule + "\r\n");
  EXPECT_EQ(ParseBookmarkFile(bytes), list);
}

TEST(BookmarkRoundTripTest, WellFormedFileIsWrittenBackByteForByte) {
  const std::string bytes =
      "[A]*\r\n*t\r\n-k\r\nu\r\n[]\r\n\xFF\x80\x83\r\n[]*\r\n+\r\n\x81\r\n"
      "[" +
      kSony + "]\r\n*" + kSony + "\r\nhttp://z/%[%CD%,]%\r\n";
  EXPECT_EQ(SerializeBookmarkList(ParseBookmarkFile(bytes)), bytes);
}

TEST(BookmarkRoundTripTest, FiveMegabyteFileRoundTrips) {
  std::string bytes;
  size_t count = 0;
  while (bytes.size() < 5'000'000) {
    const std::string n = std::to_string(count++);
    bytes += "[" + kSony + n + "]*\r\n*%CD% " + kSchedule + "\r\n+{TAB}" + n +
             "\r\nhttp://example.com/q?code=%CD%&n=" + n + "\r\n";
  }
  const auto list = ParseBookmarkFile(bytes);
  EXPECT_EQ(list.size(), count);
  EXPECT_EQ(SerializeBookmarkList(list), bytes);
}

}  // namespace
}  // namespace sorvi
