#include "core/codes/codes_in_text.h"

#include <gtest/gtest.h>

namespace sorvi {
namespace {

std::string Codes(std::string_view text) {
  std::string out;
  for (const CodeInText& found : FindStockCodes(text)) {
    if (!out.empty()) out += ",";
    out += found.code + "@" + std::to_string(found.begin) + "-" + std::to_string(found.end);
  }
  return out;
}

TEST(CodesInTextTest, FindsStandaloneCodesOnly) {
  const struct {
    const char* text;
    const char* codes;
  } rows[] = {
      {"7203", "7203@0-4"},
      {"(7203) トヨタ", "7203@1-5"},
      {"7203トヨタ自動車", "7203@0-4"},
      {"130A 9984", "130A@0-4,9984@5-9"},
      {"１３０Ａ", "130A@0-12"},  // full-width
      {"７２０３ 　", "7203@0-12"},
      {"130a 1B0A 13B0", ""},                 // small letter, letter in a digit's place, refused letter
      {"17203 72031 A7203 7203A x7203", ""},  // inside longer words and numbers
      {"1,234 12,3456 7,203", ""},            // prices with commas
      {"1234.5 2345.0 0.7203", ""},           // decimals
      {"2024/01/05 10:3045", ""},             // dates, times
      {"+1234 -7203 △7203 ¥7203", ""},        // changes and amounts
      {"7203円 1000株 2024年 12%", ""},
      {"7203. 7203, 7203.T", "7203@0-4,7203@6-10,7203@12-16"},  // a full stop or a market suffix
  };
  for (const auto& row : rows) EXPECT_EQ(Codes(row.text), row.codes) << row.text;
}

TEST(CodesInTextTest, ProposesNameFromTextThenRow) {
  const struct {
    const char* text;
    const char* code;
    std::vector<std::string> row;
    const char* name;
  } rows[] = {
      {"7203 トヨタ自動車", "7203", {}, "トヨタ自動車"},
      {"トヨタ自動車(7203)", "7203", {}, "トヨタ自動車"},
      {"【130A】 ＶＥＲＩＴＡＳ", "130A", {}, "ＶＥＲＩＴＡＳ"},
      {"7203 トヨタ自動車 2,345 +12.5", "7203", {}, "トヨタ自動車"},
      {"7203\t2,345\tトヨタ自動車", "7203", {}, "トヨタ自動車"},  // cells of a selected row
      {"7203", "7203", {"1", "7203", "2,345", "+1.5%", "トヨタ自動車", "東証P"}, "トヨタ自動車"},
      {"7203", "7203", {"1位", "▲12", "6758", " ソニーＧ "}, "ソニーＧ"},
      {"7203", "7203", {"12", "3,456円"}, ""},
  };
  for (const auto& row : rows) EXPECT_EQ(ProposeStockName(row.text, row.code, row.row), row.name) << row.text;
}

TEST(CodesInTextTest, TableListsEachGroupOnce) {
  StockCodeList list{{{"[Main]", {"7203 Toyota", "6758 Sony", "7203 Toyota again"}},
                      {"[Long]", {"130a Veritas", "7203 Toyota"}},
                      {"[Empty]", {}}}};
  const std::vector<MarkedStock> stocks = MarkedStocks(list);
  ASSERT_EQ(stocks.size(), 3u);
  EXPECT_EQ(stocks[0].code, "7203");
  EXPECT_EQ(stocks[0].lines, (std::vector<std::string>{"Main: 7203 Toyota", "Long: 7203 Toyota"}));
  EXPECT_EQ(stocks[2].lines, (std::vector<std::string>{"Long: 130A Veritas"}));
  EXPECT_EQ(GroupsHolding(list, "7203"), (std::vector<size_t>{0, 1}));
  EXPECT_EQ(GroupsHolding(list, "130A"), (std::vector<size_t>{1}));
  EXPECT_TRUE(GroupsHolding(list, "9984").empty());
}

}  // namespace
}  // namespace sorvi
