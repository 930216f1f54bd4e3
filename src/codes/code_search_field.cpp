#include "codes/code_search_field.h"

#include <QKeyEvent>

#include "codes/code_tree_view.h"
#include "codes/stock_code_model.h"
#include "platform/cp932.h"

namespace sorvi {

CodeSearchField::CodeSearchField(CodeTreeView* tree, QWidget* parent) : QLineEdit(parent), tree_(tree) {
  setObjectName("codeSearch");
  setPlaceholderText("銘柄検索");
  setClearButtonEnabled(true);
  // While the tree is disabled (the code dialog edits its selection) the
  // search must not move that selection either.
  tree_->installEventFilter(this);
  setEnabled(tree_->isEnabled());
  connect(this, &QLineEdit::textEdited, this, [this] { FindFrom(0); });
  connect(this, &QLineEdit::returnPressed, this, [this] { FindFrom(found_ < 0 ? 0 : size_t(found_) + 1); });
  // A group the user opens or closes is the user's.
  connect(tree_, &CodeTreeView::ToggledByUser, this, [this](const QModelIndex& group) {
    if (group == opened_group_) opened_group_ = QPersistentModelIndex();
  });
  // Any edit of the list (loads, dialogs, drops) may move or drop stocks.
  const StockCodeModel* model = &tree_->CodeModel();
  const auto mark_stale = [this] { stale_ = true; };
  connect(model, &QAbstractItemModel::rowsInserted, this, mark_stale);
  connect(model, &QAbstractItemModel::rowsRemoved, this, mark_stale);
  connect(model, &QAbstractItemModel::rowsMoved, this, mark_stale);
  connect(model, &QAbstractItemModel::dataChanged, this, mark_stale);
  connect(model, &QAbstractItemModel::modelReset, this, mark_stale);
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
  const StockCodeList& list = tree_->CodeModel().List();
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
  const QModelIndex group = tree_->IndexAt(NodePos{at.group});
  if (opened_group_.isValid() && opened_group_ != group) {
    tree_->SetExpandedByProgram(opened_group_, false);
    opened_group_ = QPersistentModelIndex();
  }
  if (!tree_->isExpanded(group)) opened_group_ = group;
  tree_->RevealNode(at);
}

}  // namespace sorvi
