#include "core/codes/stock_watch.h"

#include <algorithm>

namespace sorvi {

std::map<std::string, std::string> WatchedStocks(const StockCodeList& list, const StockWatch& watch) {
  std::map<std::string, std::string> stocks;
  for (const StockGroup& group : list.groups) {
    const std::string name(GroupName(group.text));
    if (!watch.all && std::find(watch.groups.begin(), watch.groups.end(), name) == watch.groups.end()) continue;
    for (const std::string& stock : group.stocks) {
      if (stock.size() < 4) continue;
      std::string code(StockCode(stock));
      for (char& c : code)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
      stocks.emplace(code, code + " " + std::string(StockName(stock)));
    }
  }
  return stocks;
}

std::vector<std::string> AppearanceRecord::Loaded(const std::string& address,
                                                  const std::vector<std::string>& codes_on_page,
                                                  const std::map<std::string, std::string>& watched) {
  // Every code is kept, watched or not: a stock added to a watched group
  // later is not news while it stays on the page.
  std::set<std::string> now(codes_on_page.begin(), codes_on_page.end());
  std::vector<std::string> appeared;
  if (recorded_ && address == address_) {
    for (const std::string& code : codes_on_page) {
      if (!watched.count(code) || codes_.count(code)) continue;
      if (std::find(appeared.begin(), appeared.end(), code) == appeared.end()) appeared.push_back(code);
    }
  }
  recorded_ = true;
  address_ = address;
  codes_ = std::move(now);
  return appeared;
}

}  // namespace sorvi
