#include "core/codes/stock_watch.h"

#include <gtest/gtest.h>

namespace sorvi {
namespace {

TEST(StockWatchTest, WatchedStocksAreThoseOfTheChosenGroups) {
  const StockCodeList list{{{"[A]", {"7203 Toyota", "130a Veritas"}}, {"[B]", {"7203 T", "6758 Sony", "x"}}}};
  const struct {
    StockWatch watch;
    std::map<std::string, std::string> stocks;
  } rows[] = {
      {{true, {}}, {{"7203", "7203 Toyota"}, {"130A", "130A Veritas"}, {"6758", "6758 Sony"}}},
      {{false, {"B"}}, {{"7203", "7203 T"}, {"6758", "6758 Sony"}}},
      {{false, {"C"}}, {}},
      {{}, {}},
  };
  for (const auto& row : rows) EXPECT_EQ(WatchedStocks(list, row.watch), row.stocks);
}

TEST(StockWatchTest, TellsWhatIsNewSinceTheLastLoadOfTheSamePage) {
  const std::map<std::string, std::string> watched{{"7203", ""}, {"6758", ""}, {"9984", ""}};
  const struct {
    const char* address;
    std::vector<std::string> page;
    std::vector<std::string> appeared;
  } rows[] = {
      {"r", {"7203", "1111"}, {}},                                // the first load records
      {"r", {"7203", "6758", "2222"}, {"6758"}},                  // new and watched
      {"r", {"6758", "7203"}, {}},                                // nothing new
      {"r", {"1111"}, {}},                                        // gone
      {"r", {"9984", "7203", "9984", "1111"}, {"9984", "7203"}},  // back again, page order, once
      {"other", {"6758"}, {}},                                    // another page only records
      {"other", {"6758", "9984"}, {"9984"}},
  };
  AppearanceRecord record;
  for (const auto& row : rows) EXPECT_EQ(record.Loaded(row.address, row.page, watched), row.appeared) << row.address;
  record.Forget();
  EXPECT_TRUE(record.Loaded("other", {"7203", "1111"}, watched).empty());
  // A code on the page all along is no news once its stock is watched.
  EXPECT_TRUE(record.Loaded("other", {"7203", "1111"}, {{"1111", ""}}).empty());
}

}  // namespace
}  // namespace sorvi
