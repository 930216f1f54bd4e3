#pragma once
// Hands the stocks of the tree to the pages that mark them, again after
// every edit of the list, so that the marks and the tree agree without a
// reload.
#include <QObject>

namespace sorvi {

class StockCodeModel;

class StockMarksFeed : public QObject {
  Q_OBJECT
 public:
  StockMarksFeed(const StockCodeModel& model, bool enabled, QObject* parent = nullptr);
  // Off takes every mark away; on marks again.
  void SetEnabled(bool enabled);

 private:
  void Push();

  const StockCodeModel& model_;
  bool enabled_;
};

}  // namespace sorvi
