#pragma once
// "銘柄検索": a field above the code tree. Typing selects the first stock
// whose code or name holds the text (widths, kana and letter case aside)
// and opens its group; Enter goes on to the next one, round to the first;
// Esc gives the tree the keyboard.
#include <QLineEdit>
#include <functional>
#include <vector>

#include "core/codes/code_list_edit.h"
#include "core/codes/stock_search.h"

class QTreeWidgetItem;

namespace sorvi {

class CodeTreeView;

class CodeSearchField : public QLineEdit {
  Q_OBJECT
 public:
  // `list` gives the stock list the tree shows.
  CodeSearchField(CodeTreeView* tree, std::function<const StockCodeList&()> list, QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Searches from the stock at `from` on and shows what it finds.
  void FindFrom(size_t from);
  // The stock texts are folded again after the tree changed.
  void Refresh();

  CodeTreeView* tree_;
  std::function<const StockCodeList&()> list_;
  std::vector<NodePos> stocks_;
  StockSearch search_;
  bool stale_ = true;
  int found_ = -1;
  const QTreeWidgetItem* opened_group_ = nullptr;  // the group the search opened
};

}  // namespace sorvi
