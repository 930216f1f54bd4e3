#include "codes/code_search_field.h"

#include <QKeyEvent>
#include <QTreeWidgetItem>

#include "codes/code_tree_view.h"
#include "platform/cp932.h"

namespace sorvi {

CodeSearchField::CodeSearchField(CodeTreeView* tree, std::function<const StockCodeList&()> list, QWidget* parent)
    : QLineEdit(parent), tree_(tree), list_(std::move(list)) {
  setObjectName("codeSearch");
  setPlaceholderText("銘柄検索");
  setClearButtonEnabled(true);
  // While the tree is disabled (the code dialog edits its selection) the
  // search must not move that selection either.
  tree_->installEventFilter(this);
  setEnabled(tree_->isEnabled());
  connect(this, &QLineEdit::textEdited, this, [this] { FindFrom(0); });
  connect(this, &QLineEdit::returnPressed, this, [this] { FindFrom(found_ < 0 ? 0 : size_t(found_) + 1); });
  // Any edit of the list (loads, dialogs, drops) may move or drop stocks.
  QAbstractItemModel* model = tree_->model();
  const auto mark_stale = [this] { stale_ = true; };
  connect(model, &QAbstractItemModel::rowsInserted, this, mark_stale);
  connect(model, &QAbstractItemModel::rowsRemoved, this, mark_stale);
  connect(model, &QAbstractItemModel::rowsMoved, this, mark_stale);
  connect(model, &QAbstractItemModel::dataChanged, this, mark_stale);
  connect(model, &QAbstractItemModel::modelReset, this, mark_stale);
  connect(model, &QAbstractItemModel::layoutChanged, this, mark_stale);
}

void CodeSearchField::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    tree_->setFocus(Qt::ShortcutFocusReason);
    return;
  }
  QLineEdit::keyPressEvent(event);
}

bool CodeSearchField::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tree_ && event->type() == QEvent::EnabledChange) setEnabled(tree_->isEnabled());
  return QLineEdit::eventFilter(watched, event);
}

void CodeSearchField::Refresh() {
  if (!stale_) return;
  stale_ = false;
  found_ = -1;
  stocks_.clear();
  std::vector<std::string> texts;
  const StockCodeList& list = list_();
  for (size_t g = 0; g < list.groups.size(); ++g) {
    for (size_t s = 0; s < list.groups[g].stocks.size(); ++s) {
      stocks_.push_back(NodePos{int(g), int(s)});
      texts.push_back(list.groups[g].stocks[s]);
    }
  }
  search_.Assign(texts);
}

void CodeSearchField::FindFrom(size_t from) {
  Refresh();
  found_ = search_.FindFrom(QStringToSjis(text()), from);
  if (found_ < 0) return;
  const NodePos at = stocks_[size_t(found_)];
  // A group opened only to show an earlier match closes again, so typing
  // doesn't leave a trail of open groups; one the user opened stays open.
  // (Compared, never followed: the group may have gone with an edit.)
  QTreeWidgetItem* group = tree_->ItemAt(NodePos{at.group});
  if (opened_group_ && opened_group_ != group) {
    for (int g = 0; g < tree_->topLevelItemCount(); ++g) {
      if (tree_->topLevelItem(g) == opened_group_) tree_->SetExpandedByProgram(tree_->topLevelItem(g), false);
    }
    opened_group_ = nullptr;
  }
  if (group && !group->isExpanded()) opened_group_ = group;
  tree_->RevealNode(at);
}

}  // namespace sorvi
