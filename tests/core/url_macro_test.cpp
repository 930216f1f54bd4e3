#include "core/bookmarks/url_macro.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace sorvi {
namespace {

const std::string kSony = "\x83\x5C\x83\x6A\x81\x5B";      // ソニー
const std::string kSchedule = "\x97\x5C\x92\xE8\x95\x5C";  // 予定表

// [Tech] 1111 Alpha, 2222 Beta, 3333 Gamma; [Empty]; [Other] 4444 Delta.
class SelectionTest : public ::testing::Test {
 protected:
  std::vector<TreeNodeView> nodes_{{0, "[Tech]", false},     {1, "1111 Alpha", false}, {1, "2222 Beta", false},
                                   {1, "3333 Gamma", false}, {0, "[Empty]", false},    {0, "[Other]", false},
                                   {1, "4444 Delta", false}};

  // Selects exactly the nodes at `indexes`.
  UrlSelection Select(std::initializer_list<size_t> indexes) {
    for (TreeNodeView& node : nodes_) node.selected = false;
    for (size_t i : indexes) nodes_[i].selected = true;
    return GatherSelection(nodes_);
  }
};

TEST_F(SelectionTest, CodesFromTheFirstSelectedOnWithItsGroupAndName) {
  EXPECT_EQ(Select({}), UrlSelection{});
  EXPECT_EQ(GatherSelection({}), UrlSelection{});
  EXPECT_EQ(Select({2, 3}), (UrlSelection{{"2222", "3333"}, "Tech", "Beta"}));
  // Unselected stocks between are skipped.
  EXPECT_EQ(Select({1, 3}), (UrlSelection{{"1111", "3333"}, "Tech", "Alpha"}));
  // The stock selection stops at the next group.
  EXPECT_EQ(Select({3, 6}), (UrlSelection{{"3333"}, "Tech", "Gamma"}));
  EXPECT_EQ(Select({6}), (UrlSelection{{"4444"}, "Other", "Delta"}));
  // A group gives every stock and the first name; an empty one its name only.
  EXPECT_EQ(Select({0, 5}), (UrlSelection{{"1111", "2222", "3333"}, "Tech", "Alpha"}));
  EXPECT_EQ(Select({4}), (UrlSelection{{}, "Empty", ""}));
}

TEST(SelectionFieldsTest, ShortTextsFollowTheByteRules) {
  const std::vector<TreeNodeView> nodes{{0, "[", false}, {1, "12", true}};
  EXPECT_EQ(GatherSelection(nodes), (UrlSelection{{"12"}, "", ""}));
  EXPECT_EQ(GatherSelection({{0, "[G]", true}, {1, "123", false}}), (UrlSelection{{"123"}, "G", ""}));
}

// The codes of the example group, with 2222 and 3333 or the whole group chosen.
const UrlSelection kTwo{{"2222", "3333"}, "Tech", "Beta"};
const UrlSelection kGroup{{"1111", "2222", "3333"}, "Tech", "Alpha"};
const UrlSelection kNone{};

struct MacroCase {
  const char* name;  // what the case checks, as ctest lists it
  const char* macro;
  const UrlSelection* selection;
  const char* expected;
};

void PrintTo(const MacroCase& c, std::ostream* os) { *os << '"' << c.macro << '"'; }

std::string CaseName(const ::testing::TestParamInfo<MacroCase>& info) { return info.param.name; }

class ExpandUrlMacroTest : public ::testing::TestWithParam<MacroCase> {};

TEST_P(ExpandUrlMacroTest, Expands) {
  const MacroCase& c = GetParam();
  EXPECT_EQ(ExpandUrlMacro(c.macro, *c.selection), c.expected) << c.macro;
}

INSTANTIATE_TEST_SUITE_P(
    Placeholders, ExpandUrlMacroTest,
    ::testing::Values(MacroCase{"EmptyMacro", "", &kTwo, ""},
                      MacroCase{"NoPlaceholders", "http://x/", &kTwo, "http://x/"},
                      MacroCase{"CodeGroupAndName", "c=%CD%&g=%GP%&n=%NM%", &kTwo, "c=2222&g=Tech&n=Beta"},
                      MacroCase{"EachCodeTagTakesTheNextCodeUntilNoneLeft", "%CD%,%CD%,%CD%.", &kTwo, "2222,3333,."},
                      MacroCase{"NoSelectionGivesEmptyValues", "%CD%%GP%%NM%", &kNone, ""},
                      MacroCase{"DoublePercentIsOnePercent", "100%%", &kTwo, "100%"},
                      MacroCase{"EscapedPercentBeforeTagText", "%%CD%", &kTwo, "%CD%"},
                      MacroCase{"TrailingPercentKept", "a%", &kTwo, "a%"},
                      MacroCase{"LonePercentKept", "%", &kTwo, "%"}, MacroCase{"CutOffTagKept", "x%CD", &kTwo, "x%CD"},
                      MacroCase{"TwoByteCutOffTagKept", "%C", &kTwo, "%C"},
                      MacroCase{"LowerCaseIsNoTagButNextPercentStartsOne", "%cd%CD%", &kTwo, "%cd2222"},
                      MacroCase{"LowerCaseTagKept", "%cd%", &kTwo, "%cd%"},
                      MacroCase{"UnknownTagKeepsPercentAndScansOn", "%x%GP%", &kTwo, "%xTech"},
                      MacroCase{"LongUnknownTextBeforeName", "%abc%NM%", &kTwo, "%abcBeta"},
                      MacroCase{"RepeatCloseWithoutOpenIsText", "%CD% %]%", &kTwo, "2222 %]%"}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Repeats, ExpandUrlMacroTest,
    ::testing::Values(MacroCase{"BodyOncePerCodeThenRest", "q=%[%CD%,]%end", &kGroup, "q=1111,2222,3333,end"},
                      MacroCase{"RepeatStartsAtNextUnusedCode", "%CD%;%[%CD%,]%", &kGroup, "1111;2222,3333,"},
                      MacroCase{"RepeatUsesUpEveryCode", "%[%CD%,]%;%CD%", &kGroup, "1111,2222,3333,;"},
                      MacroCase{"SecondRepeatHasNoCodesLeft", "%[%CD%,]%%[x]%", &kGroup, "1111,2222,3333,"},
                      MacroCase{"EveryCodeTagInBodyGetsTheSameCode", "%[%CD%-%CD%]%", &kTwo, "2222-22223333-3333"},
                      MacroCase{"OtherTagsInBodyStayText", "%[(%GP%%NM%%%)]%", &kTwo, "(%GP%%NM%%%)(%GP%%NM%%%)"},
                      MacroCase{"NoCodesDropTheBody", "a%[%CD%,]%b", &kNone, "ab"},
                      MacroCase{"UnclosedRepeatRunsToTheEnd", "%[%CD%,", &kGroup, "1111,2222,3333,"},
                      MacroCase{"OpenAloneGivesNothing", "%[", &kGroup, ""},
                      MacroCase{"EmptyBody", "%[]%", &kGroup, ""},
                      MacroCase{"TagTextAfterCodeTagInBody", "%[%CD%CD%]%", &kTwo, "2222CD%3333CD%"},
                      MacroCase{"FirstBracketPercentCloses", "%[%CD%]]%", &kTwo, "2222]3333]"}),
    CaseName);

TEST(ExpandUrlMacroValuesTest, InsertedTextIsNeverScannedAgain) {
  const UrlSelection tricky{{"%NM%", "\x95\x5C%%"}, "%CD%" + kSchedule, "%GP%" + kSony};
  EXPECT_EQ(ExpandUrlMacro("%CD%/%GP%/%NM%/%CD%/%CD%", tricky),
            "%NM%/%CD%" + kSchedule + "/%GP%" + kSony + "/\x95\x5C%%/");
  EXPECT_EQ(ExpandUrlMacro("%[<%CD%>]%", tricky), "<%NM%><\x95\x5C%%>");
}

TEST(ExpandUrlMacroValuesTest, ShiftJisInTheMacroIsCopiedUnchanged) {
  EXPECT_EQ(ExpandUrlMacro(kSony + "%" + kSchedule + "%%" + kSony, kTwo), kSony + "%" + kSchedule + "%" + kSony);
}

TEST(ExpandUrlMacroValuesTest, ThousandCodes) {
  UrlSelection many;
  std::string all;
  for (int i = 0; i < 1000; ++i) {
    many.codes.push_back(std::to_string(1000 + i));
    all += many.codes.back() + ",";
  }
  EXPECT_EQ(ExpandUrlMacro("%[%CD%,]%", many), all);

  std::string macro;
  for (int i = 0; i < 1001; ++i) macro += "%CD%,";
  EXPECT_EQ(ExpandUrlMacro(macro, many), all + ",");
}

TEST(ExpandUrlMacroValuesTest, LongMacroOfLoosePercentSigns) {
  std::string pairs;
  for (int i = 0; i < 200'000; ++i) pairs += "%x%[";
  // The first "%x" is copied; its "%[" opens a repeat that runs to the end.
  const std::string body = pairs.substr(4);
  EXPECT_EQ(ExpandUrlMacro(pairs + "%CD%", kTwo), "%x" + body + "2222" + body + "3333");
}

TEST(BookmarkCaptionTest, FixedTitleWithPlaceholdersOrTheName) {
  // Each replacement works on the result of the one before: the code brings
  // a group placeholder, the group a name placeholder; the name, replaced
  // last, is left alone.
  const UrlSelection chained{{"%GP%"}, "%NM%", "%CD%" + kSchedule};
  const std::string placeholders = " \t%CD% %NM%/%CD% [%GP%] %cd%\r\n";
  const struct {
    int fixed_title;
    std::string title, name;
    const UrlSelection& selection;
    std::string expected;
  } rows[] = {
      {0, "%CD%", "N", kTwo, ""},                                    // flag off: no caption
      {1, "", "  " + kSony + " ", kTwo, "  " + kSony + " "},         // no title: the name untrimmed
      {1, placeholders, "", kGroup, "1111 Alpha/1111 [Tech] %cd%"},  // the first code everywhere
      {1, placeholders, "", kNone, "/ [] %cd%"},
      {1, "  %NM% \x01", "", kNone, ""},  // blanks only: no caption
      {1, "%CD%|%GP%|%NM%", "", chained, "%CD%" + kSchedule + "|%CD%" + kSchedule + "|%CD%" + kSchedule},
  };
  for (const auto& row : rows) {
    UrlBookmark b;
    b.fixed_title = row.fixed_title;
    b.title = row.title;
    b.name = row.name;
    EXPECT_EQ(MakeBookmarkCaption(b, row.selection), row.expected) << row.title;
  }
  EXPECT_EQ(ExpandUrlMacro(placeholders, kGroup), " \t1111 Alpha/2222 [Tech] %cd%\r\n");
}

}  // namespace
}  // namespace sorvi
