#pragma once
// "銘柄検索": a field above the code tree. Typing selects the first stock
// whose code or name holds the text (widths, kana and letter case aside)
// and opens its group; Enter goes on to the next one, round to the first;
// Esc gives the tree the keyboard.
#include <QLineEdit>
#include <QPersistentModelIndex>
#include <vector>

#include "core/codes/code_list_edit.h"
#include "core/codes/stock_search.h"

namespace sorvi {

class CodeTreeView;

class CodeSearchField : public QLineEdit {
  Q_OBJECT
 public:
  // Searches the list `tree` shows.
  explicit CodeSearchField(CodeTreeView* tree, QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Searches from the stock at `from` on and shows what it finds.
  void FindFrom(size_t from);
  // The stock texts are folded again after the tree changed.
  void Refresh();

  CodeTreeView* tree_;
  std::vector<NodePos> stocks_;
  StockSearch search_;
  bool stale_ = true;
  int found_ = -1;
  // The group the search opened to show a match; it follows edits, and
  // lets go when the group goes or the user opens or closes it.
  QPersistentModelIndex opened_group_;
};

}  // namespace sorvi
