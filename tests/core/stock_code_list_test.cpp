#include "core/codes/stock_code_list.h"

#include <gtest/gtest.h>

#include <string>

namespace sorvi {
namespace {

using namespace std::string_literals;

// Code page 932 bytes of names whose second byte is 0x5C ("\").
const std::string kSony = "\x83\x5C\x83\x6A\x81\x5B";      // ソニー
const std::string kSchedule = "\x97\x5C\x92\xE8\x95\x5C";  // 予定表

std::vector<std::string> Texts(const StockCodeList& list) {
  std::vector<std::string> texts;
  for (const StockGroup& g : list.groups) {
    texts.push_back(g.text);
    for (const std::string& s : g.stocks) texts.push_back("  " + s);
  }
  return texts;
}

TEST(StockCodeFileTest, ReadsGroupsAndStocksInFileOrder) {
  const StockCodeLoad load =
      ParseStockCodeFile("[Group A]\r\n1001 Name A\r\n1002 Name B\r\n[Group B]\r\n2001 Name C\r\n");
  EXPECT_EQ(load.orphan_lines, 0u);
  EXPECT_EQ(Texts(load.list),
            (std::vector<std::string>{"[Group A]", "  1001 Name A", "  1002 Name B", "[Group B]", "  2001 Name C"}));
}

TEST(StockCodeFileTest, AnyLineEndReadsAlikeAndIsWrittenAsCrLf) {
  const std::string crlf = "[G]\r\n1001 A\r\n1002 B\r\n";
  for (const std::string& bytes : {std::string("[G]\n1001 A\n1002 B"), std::string("[G]\r1001 A\r1002 B\r"),
                                   std::string("[G]\r1001 A\n1002 B\r\n")}) {
    const StockCodeLoad load = ParseStockCodeFile(bytes);
    EXPECT_EQ(SerializeStockCodeList(load.list), crlf) << bytes;
  }
}

TEST(StockCodeFileTest, EmptyLinesVanishButBlanksAreKept) {
  const StockCodeLoad load = ParseStockCodeFile("\r\n[G] \r\n\r\n\n 1001 A \r\n      \r\n\r\n[H]\r\n");
  ASSERT_EQ(load.list.groups.size(), 2u);
  EXPECT_EQ(load.list.groups[0].text, "[G] ");
  EXPECT_EQ(load.list.groups[0].stocks, (std::vector<std::string>{" 1001 A ", "      "}));
  EXPECT_TRUE(load.list.groups[1].stocks.empty());
  EXPECT_EQ(SerializeStockCodeList(load.list), "[G] \r\n 1001 A \r\n      \r\n[H]\r\n");
}

TEST(StockCodeFileTest, EmptyInputAndEmptyListGiveNothing) {
  EXPECT_TRUE(ParseStockCodeFile("").list.groups.empty());
  EXPECT_TRUE(ParseStockCodeFile("\r\n\n\r").list.groups.empty());
  EXPECT_EQ(SerializeStockCodeList({}), "");
}

TEST(StockCodeFileTest, TextEndsAtTheFirstNul) {
  const StockCodeLoad load = ParseStockCodeFile("[G]\r\n1001 A\0\r\n1002 B\r\n"s);
  ASSERT_EQ(load.list.groups.size(), 1u);
  EXPECT_EQ(load.list.groups[0].stocks, std::vector<std::string>{"1001 A"});
}

TEST(StockCodeFileTest, WellFormedFileIsWrittenBackByteForByte) {
  const std::string bytes = "[" + kSchedule + "]\r\n6758 " + kSony + "\r\n130A " + kSony +
                            "\r\n9999\r\n[]\r\n[no bracket\r\n\xFF\x80\xFD\x83\r\n"
                            "[" +
                            kSony + "\r\n";
  const StockCodeLoad load = ParseStockCodeFile(bytes);
  EXPECT_EQ(load.list.groups.size(), 4u);
  EXPECT_EQ(SerializeStockCodeList(load.list), bytes);
}

TEST(StockCodeFileTest, StockLinesBeforeTheFirstGroupGoToAnUngroupedGroup) {
  EXPECT_EQ(std::string(kUngroupedGroupText), "[\x96\xA2\x95\xAA\x97\xDE]");

  const StockCodeLoad load = ParseStockCodeFile("1001 A\r\n\r\n1002 B\r\n[G]\r\n2001 C\r\n");
  EXPECT_EQ(load.orphan_lines, 2u);
  EXPECT_EQ(Texts(load.list),
            (std::vector<std::string>{std::string(kUngroupedGroupText), "  1001 A", "  1002 B", "[G]", "  2001 C"}));

  // Once saved, the group is an ordinary one and nothing is reported again.
  const StockCodeLoad again = ParseStockCodeFile(SerializeStockCodeList(load.list));
  EXPECT_EQ(again.orphan_lines, 0u);
  EXPECT_EQ(Texts(again.list), Texts(load.list));

  const StockCodeLoad only = ParseStockCodeFile("1001 A");
  EXPECT_EQ(only.orphan_lines, 1u);
  ASSERT_EQ(only.list.groups.size(), 1u);
  EXPECT_EQ(only.list.groups[0].text, kUngroupedGroupText);
}

TEST(StockCodeFileTest, FiveMegabyteFileRoundTrips) {
  std::string bytes;
  size_t stocks = 0;
  for (int g = 0; bytes.size() < 5'000'000; ++g) {
    bytes += "[Group " + std::to_string(g) + " " + kSchedule + "]\r\n";
    for (int s = 0; s < 100; ++s, ++stocks)
      bytes += std::to_string(1000 + s) + " " + kSony + std::to_string(g) + "\r\n";
  }
  const StockCodeLoad load = ParseStockCodeFile(bytes);
  size_t read = 0;
  for (const StockGroup& g : load.list.groups) read += g.stocks.size();
  EXPECT_EQ(read, stocks);
  EXPECT_EQ(SerializeStockCodeList(load.list), bytes);

  const std::string one_line(5'000'000, '7');
  const StockCodeLoad huge = ParseStockCodeFile(one_line);
  ASSERT_EQ(huge.orphan_lines, 1u);
  EXPECT_EQ(huge.list.groups[0].stocks[0].size(), one_line.size());
}

TEST(StockCodeFieldsTest, CodeIsFourBytesAndNameFollowsTheFifth) {
  EXPECT_EQ(StockCode("1001 Name"), "1001");
  EXPECT_EQ(StockName("1001 Name"), "Name");
  // Three digits: the whole text is the code, no name.
  EXPECT_EQ(StockCode("123"), "123");
  EXPECT_EQ(StockName("123"), "");
  // Five digits: the fifth is the separator, the blank belongs to the name.
  EXPECT_EQ(StockCode("12345 Name"), "1234");
  EXPECT_EQ(StockName("12345 Name"), " Name");
  EXPECT_EQ(StockName("12345"), "");
  EXPECT_EQ(StockName("123456"), "6");
  EXPECT_EQ(StockCode("       "), "    ");
  EXPECT_EQ(StockName("       "), "  ");
  EXPECT_EQ(StockName("6758 " + kSony), kSony);
  EXPECT_EQ(StockCode("130A " + kSony), "130A");
  EXPECT_EQ(StockName("130A " + kSony), kSony);
  // Byte positions, not characters: a double-byte code is cut where it falls.
  EXPECT_EQ(StockCode(kSony), kSony.substr(0, 4));
}

TEST(StockCodeFieldsTest, GroupNameDropsFirstAndLastByteWhateverTheyAre) {
  EXPECT_EQ(GroupName("[Group]"), "Group");
  EXPECT_EQ(GroupName("[abc"), "ab");
  EXPECT_EQ(GroupName("[]"), "");
  EXPECT_EQ(GroupName("["), "");
  EXPECT_EQ(GroupName(""), "");
  EXPECT_EQ(GroupName("[" + kSchedule + "]"), kSchedule);
  EXPECT_EQ(GroupName(kUngroupedGroupText), "\x96\xA2\x95\xAA\x97\xDE");
}

TEST(StockCodeExpandStateTest, WritesOneBytePerGroup) {
  EXPECT_EQ(MakeExpandState({true, false, true}), "-+-");
  EXPECT_EQ(MakeExpandState({}), "");
}

TEST(StockCodeExpandStateTest, AppliesBytesInOrderAndIgnoresTheRest) {
  EXPECT_EQ(ApplyExpandState("-+-", 5), (std::vector<bool>{true, false, true, false, false}));
  EXPECT_EQ(ApplyExpandState("---", 1), std::vector<bool>{true});
  EXPECT_EQ(ApplyExpandState("", 2), (std::vector<bool>{false, false}));
  EXPECT_EQ(ApplyExpandState("x- -", 4), (std::vector<bool>{false, true, false, true}));
  EXPECT_TRUE(ApplyExpandState("-", 0).empty());
}

}  // namespace
}  // namespace sorvi
