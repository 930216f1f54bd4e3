#pragma once
// A reloading tab can watch for the user's stocks to appear on its page: all
// of them, or those of some groups. After each load the codes found on the
// page are held against those of the load before; what is new is told.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/codes/stock_code_list.h"

namespace sorvi {

struct StockWatch {
  bool all = false;
  std::vector<std::string> groups;  // group names without brackets (code page 932)

  bool On() const { return all || !groups.empty(); }
  bool operator==(const StockWatch&) const = default;
};

// The stocks `watch` covers: code (capitals, as pages show it) to "code
// name" of its first stock line in list order.
std::map<std::string, std::string> WatchedStocks(const StockCodeList& list, const StockWatch& watch);

// What a watched tab's page showed at its last load.
class AppearanceRecord {
 public:
  // `codes_on_page` are all codes found on the page at `address`, in page
  // order. Returns those of `watched` that were not there at the previous
  // load, in page order, each once. The first load, and the first at
  // another address (the user went elsewhere in the tab), only record.
  std::vector<std::string> Loaded(const std::string& address, const std::vector<std::string>& codes_on_page,
                                  const std::map<std::string, std::string>& watched);
  // The next load only records again.
  void Forget() { recorded_ = false; }

 private:
  bool recorded_ = false;
  std::string address_;
  std::set<std::string> codes_;
};

}  // namespace sorvi
