#include "codes/stock_marks_feed.h"

#include "codes/stock_code_model.h"
#include "core/codes/codes_in_text.h"
#include "platform/cp932.h"
#include "platform/page_marks.h"

namespace sorvi {

StockMarksFeed::StockMarksFeed(const StockCodeModel& model, bool enabled, QObject* parent)
    : QObject(parent), model_(model), enabled_(enabled) {
  for (auto signal : {&StockCodeModel::rowsInserted, &StockCodeModel::rowsRemoved})
    connect(&model, signal, this, &StockMarksFeed::Push);
  connect(&model, &StockCodeModel::rowsMoved, this, &StockMarksFeed::Push);
  connect(&model, &StockCodeModel::dataChanged, this, &StockMarksFeed::Push);
  connect(&model, &StockCodeModel::modelReset, this, &StockMarksFeed::Push);
  connect(&model, &StockCodeModel::layoutChanged, this, &StockMarksFeed::Push);
  Push();
}

void StockMarksFeed::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Push();
}

void StockMarksFeed::Push() {
  QList<page_marks::Stock> stocks;
  if (enabled_) {
    for (const MarkedStock& stock : MarkedStocks(model_.List())) {
      QStringList lines;
      for (const std::string& line : stock.lines) lines << SjisToQString(line);
      stocks.push_back({QString::fromLatin1(stock.code.data(), qsizetype(stock.code.size())), lines.join('\n')});
    }
  }
  page_marks::SetStocks(stocks);
}

}  // namespace sorvi
