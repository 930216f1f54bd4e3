#include "codes/code_tree_view.h"

#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "codes/stock_code_model.h"
#include "platform/own_drops.h"

namespace sorvi {

CodeTreeView::CodeTreeView(QWidget* parent) : QTreeView(parent), model_(new StockCodeModel(this)) {
  setModel(model_);
  setHeaderHidden(true);
  setIndentation(19);
  setRootIsDecorated(true);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setAllColumnsShowFocus(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setExpandsOnDoubleClick(false);
  setItemsExpandable(true);
  // The selection stays visible while another control has the focus.
  QPalette pal = palette();
  pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
  pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(pal);
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &CodeTreeView::KeepSelectionAmongSiblings);
  // Nodes are dragged with the mouse, but the tree never moves them itself:
  // it reports the drop and the list's rules decide.
  setDragEnabled(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::CopyAction);
  setDropIndicatorShown(false);
}

QModelIndex CodeTreeView::IndexAt(NodePos pos) const { return model_->IndexOf(pos); }

std::optional<NodePos> CodeTreeView::PositionOf(const QModelIndex& index) const { return model_->PositionOf(index); }

QModelIndex CodeTreeView::SelectedNode() const {
  const QModelIndex node = currentIndex();
  if (node.isValid() && selectionModel()->isSelected(node)) return node;
  const QModelIndexList selected = selectionModel()->selectedRows();
  return selected.isEmpty() ? QModelIndex() : selected.first();
}

std::optional<NodePos> CodeTreeView::SelectedPosition() const { return PositionOf(SelectedNode()); }

std::vector<NodePos> CodeTreeView::SelectedPositions() const {
  std::vector<NodePos> nodes;
  for (const QModelIndex& index : selectionModel()->selectedRows()) {
    if (std::optional<NodePos> pos = PositionOf(index)) nodes.push_back(*pos);
  }
  std::sort(nodes.begin(), nodes.end(),
            [](NodePos a, NodePos b) { return a.group != b.group ? a.group < b.group : a.stock < b.stock; });
  return nodes;
}

void CodeTreeView::SelectOnly(NodePos pos) { SelectIndexOnly(IndexAt(pos)); }

void CodeTreeView::RevealNode(NodePos pos) {
  const QModelIndex index = IndexAt(pos);
  if (!index.isValid()) return;
  if (!pos.IsGroup()) SetExpandedByProgram(index.parent(), true);
  SelectIndexOnly(index);
}

void CodeTreeView::SelectIndexOnly(const QModelIndex& index) {
  if (!index.isValid()) return;
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index);
}

void CodeTreeView::DropAt(const QPoint& pos) {
  if (std::optional<NodePos> target = PositionOf(indexAt(pos))) emit DropRequested(*target);
}

void CodeTreeView::SetExpandedByProgram(const QModelIndex& group, bool expanded) {
  if (group.isValid()) setExpanded(group, expanded);
}

bool CodeTreeView::TreeViewCodeExpanding(const QModelIndex& node) {
  if (expand_wish_ != ExpandWish::kNone) return true;
  RequestToggle(node, true);
  return false;
}

bool CodeTreeView::TreeViewCodeCollapsing(const QModelIndex& node) {
  if (expand_wish_ != ExpandWish::kNone) return true;
  RequestToggle(node, false);
  return false;
}

void CodeTreeView::RequestToggle(const QModelIndex& node, bool expand) {
  if (!node.isValid()) return;
  selectionModel()->setCurrentIndex(node, QItemSelectionModel::ClearAndSelect);
  expand_wish_ = expand ? ExpandWish::kExpand : ExpandWish::kCollapse;
}

void CodeTreeView::TreeViewCodeMouseDown() {
  if (expand_wish_ == ExpandWish::kNone) return;
  const QModelIndex node = currentIndex();
  const bool expand = expand_wish_ == ExpandWish::kExpand;
  expand_wish_ = ExpandWish::kNone;
  if (!node.isValid() || !selectionModel()->isSelected(node)) return;
  setExpanded(node, expand);
  emit ToggledByUser(node);
}

bool CodeTreeView::IsGroupWithStocks(const QModelIndex& index) const {
  return index.isValid() && !index.parent().isValid() && model_->rowCount(index) > 0;
}

bool CodeTreeView::OnBranchIndicator(const QPoint& pos, const QModelIndex& index) const {
  if (!IsGroupWithStocks(index)) return false;
  const QRect rect = visualRect(index);
  // The indicator occupies the indentation in front of a top-level row.
  return pos.x() >= rect.left() - indentation() && pos.x() < rect.left() && rect.contains(QPoint(rect.left(), pos.y()));
}

namespace {
QMouseEvent WithoutModifiers(const QMouseEvent& event) {
  return QMouseEvent(event.type(), event.position(), event.scenePosition(), event.globalPosition(), event.button(),
                     event.buttons(), Qt::NoModifier);
}
}  // namespace

void CodeTreeView::mousePressEvent(QMouseEvent* event) {
  plain_release_ = false;
  const ExpandWish wish = expand_wish_;
  TreeViewCodeMouseDown();
  const QPoint pos = event->position().toPoint();
  const QModelIndex index = indexAt(pos);
  if (OnBranchIndicator(pos, index)) {
    // A press on the +/- box that just carried out a wish is used up by it;
    // otherwise it asks for the change, which waits for the next press.
    if (wish == ExpandWish::kNone) {
      if (isExpanded(index))
        TreeViewCodeCollapsing(index);
      else
        TreeViewCodeExpanding(index);
    }
    event->accept();
    return;
  }
  if (event->button() == Qt::RightButton) {
    // The menu that follows acts on the node pressed.
    if (index.isValid()) {
      selectionModel()->setCurrentIndex(index, selectionModel()->isSelected(index)
                                                   ? QItemSelectionModel::NoUpdate
                                                   : QItemSelectionModel::ClearAndSelect);
    }
    event->accept();
    return;
  }
  if (event->button() == Qt::LeftButton && selectionModel()->hasSelection()) {
    if (!index.isValid()) {
      clearSelection();
    } else if (!index.parent().isValid()) {
      // A group is selected alone, whatever Ctrl or Shift say; the press
      // still goes on so that the group can be dragged.
      selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
      plain_release_ = true;
      QMouseEvent plain = WithoutModifiers(*event);
      QTreeView::mousePressEvent(&plain);
      event->setAccepted(plain.isAccepted());
      return;
    }
  }
  QTreeView::mousePressEvent(event);
}

void CodeTreeView::mouseReleaseEvent(QMouseEvent* event) {
  if (plain_release_) {
    plain_release_ = false;
    QMouseEvent plain = WithoutModifiers(*event);
    QTreeView::mouseReleaseEvent(&plain);
    event->setAccepted(plain.isAccepted());
    return;
  }
  QTreeView::mouseReleaseEvent(event);
}

void CodeTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid() && !OnBranchIndicator(event->position().toPoint(), index)) {
    // A double-click asks to toggle a group, like any tree; the default
    // action that follows may clear that wish again.
    if (IsGroupWithStocks(index)) {
      if (isExpanded(index))
        TreeViewCodeCollapsing(index);
      else
        TreeViewCodeExpanding(index);
    }
    emit DefaultActionRequested();
  }
  event->accept();
}

void CodeTreeView::keyPressEvent(QKeyEvent* event) {
  const QModelIndex node = currentIndex();
  const bool group = IsGroupWithStocks(node);
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Right:
      if (group && !isExpanded(node)) {
        TreeViewCodeExpanding(node);
        event->accept();
        return;
      }
      break;
    case Qt::Key_Minus:
    case Qt::Key_Left:
      if (group && isExpanded(node)) {
        TreeViewCodeCollapsing(node);
        event->accept();
        return;
      }
      break;
    case Qt::Key_Delete:
      if (SelectedNode().isValid()) emit DeleteKeyPressed();
      event->accept();
      return;
    case Qt::Key_Asterisk:
      event->accept();  // no expand-all behind the program's back
      return;
    default: break;
  }
  QTreeView::keyPressEvent(event);
}

void CodeTreeView::contextMenuEvent(QContextMenuEvent* event) {
  emit ContextMenuRequested(event->globalPos());
  event->accept();
}

// Drags from this program's own views are taken (a bookmark dragged from the
// list moves the tree's selected node, as if the node had been dragged);
// drops from other programs are not.
void CodeTreeView::dragEnterEvent(QDragEnterEvent* event) { TakeOwnDrag(event); }

void CodeTreeView::dragMoveEvent(QDragMoveEvent* event) {
  QTreeView::dragMoveEvent(event);  // scrolls near the edges
  TakeOwnDrag(event);
}

void CodeTreeView::dropEvent(QDropEvent* event) {
  if (!TakeOwnDrag(event)) return;
  DropAt(event->position().toPoint());
}

// Deselecting the strays calls this again, with nothing left to do.
void CodeTreeView::KeepSelectionAmongSiblings() {
  const QModelIndex anchor = currentIndex();
  if (!anchor.isValid()) return;
  QItemSelection strays;
  for (const QModelIndex& index : selectionModel()->selectedRows()) {
    if (index.parent() != anchor.parent()) strays.select(index, index);
  }
  if (strays.isEmpty()) return;
  selectionModel()->select(strays, QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
  viewport()->update();
}

}  // namespace sorvi
