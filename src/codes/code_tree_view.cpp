#include "codes/code_tree_view.h"

#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "platform/shown_text.h"
#include "platform/own_drops.h"

namespace sorvi {
namespace {

QTreeWidgetItem* MakeItem(std::string_view text, bool group) {
  auto* item = new QTreeWidgetItem();
  if (group) item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  item->setText(0, ShownText(text));
  return item;
}

}  // namespace

CodeTreeView::CodeTreeView(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
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
  connect(this, &QTreeWidget::itemSelectionChanged, this, &CodeTreeView::KeepSelectionAmongSiblings);
  // Nodes are dragged with the mouse, but the tree never moves them itself:
  // it reports the drop and the list's rules decide.
  setDragEnabled(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::CopyAction);
  setDropIndicatorShown(false);
}

QTreeWidgetItem* CodeTreeView::SelectedNode() const {
  QTreeWidgetItem* node = currentItem();
  if (node && node->isSelected()) return node;
  const QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? nullptr : selected.first();
}

std::optional<NodePos> CodeTreeView::SelectedPosition() const { return PositionOf(SelectedNode()); }

std::vector<NodePos> CodeTreeView::SelectedPositions() const {
  std::vector<NodePos> nodes;
  for (const QTreeWidgetItem* item : selectedItems()) {
    if (std::optional<NodePos> pos = PositionOf(item)) nodes.push_back(*pos);
  }
  std::sort(nodes.begin(), nodes.end(),
            [](NodePos a, NodePos b) { return a.group != b.group ? a.group < b.group : a.stock < b.stock; });
  return nodes;
}

void CodeTreeView::RevealNode(NodePos pos) {
  QTreeWidgetItem* item = ItemAt(pos);
  if (!item) return;
  if (!pos.IsGroup()) SetExpandedByProgram(item->parent(), true);
  setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
  scrollToItem(item);
}

void CodeTreeView::TreeViewCodeDragDrop(const QPoint& pos) {
  if (std::optional<NodePos> target = PositionOf(itemAt(pos))) emit DropRequested(*target);
}

std::optional<NodePos> CodeTreeView::PositionOf(const QTreeWidgetItem* item) const {
  if (!item || item->treeWidget() != this) return std::nullopt;
  auto* node = const_cast<QTreeWidgetItem*>(item);
  if (QTreeWidgetItem* group = node->parent()) return NodePos{indexOfTopLevelItem(group), group->indexOfChild(node)};
  return NodePos{indexOfTopLevelItem(node)};
}

QTreeWidgetItem* CodeTreeView::ItemAt(NodePos pos) const {
  QTreeWidgetItem* group = topLevelItem(pos.group);
  if (!group || pos.IsGroup()) return group;
  return group->child(pos.stock);
}

void CodeTreeView::ShowList(const StockCodeList& list) {
  clear();
  // Built detached and inserted in one go: thousands of stocks one by one
  // would make the view re-layout each time.
  QList<QTreeWidgetItem*> groups;
  groups.reserve(qsizetype(list.groups.size()));
  for (const StockGroup& group : list.groups) {
    QTreeWidgetItem* node = MakeItem(group.text, true);
    QList<QTreeWidgetItem*> stocks;
    stocks.reserve(qsizetype(group.stocks.size()));
    for (const std::string& stock : group.stocks) stocks.push_back(MakeItem(stock, false));
    node->addChildren(stocks);
    groups.push_back(node);
  }
  addTopLevelItems(groups);
}

void CodeTreeView::ShowInserted(NodePos pos, std::string_view text) {
  QTreeWidgetItem* item = MakeItem(text, pos.IsGroup());
  if (pos.IsGroup()) {
    insertTopLevelItem(pos.group, item);
  } else if (QTreeWidgetItem* group = topLevelItem(pos.group)) {
    group->insertChild(pos.stock, item);
  } else {
    delete item;
    return;
  }
  SelectOnly(item);
}

void CodeTreeView::ShowChanged(NodePos pos, std::string_view text) {
  if (QTreeWidgetItem* item = ItemAt(pos)) item->setText(0, ShownText(text));
}

void CodeTreeView::ShowRemoved(NodePos pos) {
  delete ItemAt(pos);
  clearSelection();
}

void CodeTreeView::ShowMoved(const NodeMove& move) {
  QTreeWidgetItem* item = ItemAt(move.from);
  if (!item) return;
  if (move.from != move.to) {
    if (move.from.IsGroup()) {
      const bool expanded = item->isExpanded();
      takeTopLevelItem(move.from.group);
      insertTopLevelItem(move.to.group, item);
      // Taken items come back collapsed; put the group back as it was.
      item->setExpanded(expanded);
    } else {
      item->parent()->takeChild(move.from.stock);
      topLevelItem(move.to.group)->insertChild(move.to.stock, item);
    }
  }
  SelectOnly(item);
}

void CodeTreeView::SelectOnly(QTreeWidgetItem* item) {
  setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
  scrollToItem(item);
}

void CodeTreeView::SetExpandedByProgram(QTreeWidgetItem* item, bool expanded) {
  if (item) item->setExpanded(expanded);
}

bool CodeTreeView::TreeViewCodeExpanding(QTreeWidgetItem* node) {
  if (expand_wish_ != ExpandWish::kNone) return true;
  RequestToggle(node, true);
  return false;
}

bool CodeTreeView::TreeViewCodeCollapsing(QTreeWidgetItem* node) {
  if (expand_wish_ != ExpandWish::kNone) return true;
  RequestToggle(node, false);
  return false;
}

void CodeTreeView::RequestToggle(QTreeWidgetItem* node, bool expand) {
  if (!node) return;
  setCurrentItem(node, 0, QItemSelectionModel::ClearAndSelect);
  expand_wish_ = expand ? ExpandWish::kExpand : ExpandWish::kCollapse;
}

void CodeTreeView::TreeViewCodeMouseDown() {
  if (expand_wish_ == ExpandWish::kNone) return;
  if (QTreeWidgetItem* node = currentItem(); node && node->isSelected()) {
    node->setExpanded(expand_wish_ == ExpandWish::kExpand);
  }
  expand_wish_ = ExpandWish::kNone;
}

bool CodeTreeView::OnBranchIndicator(const QPoint& pos, QTreeWidgetItem* item) const {
  if (!item || item->parent() || item->childCount() == 0) return false;
  const QRect rect = visualItemRect(item);
  // The indicator occupies the indentation in front of a top-level item.
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
  QTreeWidgetItem* item = itemAt(pos);
  if (OnBranchIndicator(pos, item)) {
    // A press on the +/- box that just carried out a wish is used up by it;
    // otherwise it asks for the change, which waits for the next press.
    if (wish == ExpandWish::kNone) {
      if (item->isExpanded()) TreeViewCodeCollapsing(item); else TreeViewCodeExpanding(item);
    }
    event->accept();
    return;
  }
  if (event->button() == Qt::RightButton) {
    // The menu that follows acts on the node pressed.
    if (item) setCurrentItem(item, 0, item->isSelected() ? QItemSelectionModel::NoUpdate
                                                         : QItemSelectionModel::ClearAndSelect);
    event->accept();
    return;
  }
  if (event->button() == Qt::LeftButton && !selectedItems().isEmpty()) {
    if (!item) {
      clearSelection();
    } else if (!item->parent()) {
      // A group is selected alone, whatever Ctrl or Shift say; the press
      // still goes on so that the group can be dragged.
      setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
      plain_release_ = true;
      QMouseEvent plain = WithoutModifiers(*event);
      QTreeWidget::mousePressEvent(&plain);
      event->setAccepted(plain.isAccepted());
      return;
    }
  }
  QTreeWidget::mousePressEvent(event);
}

void CodeTreeView::mouseReleaseEvent(QMouseEvent* event) {
  if (plain_release_) {
    plain_release_ = false;
    QMouseEvent plain = WithoutModifiers(*event);
    QTreeWidget::mouseReleaseEvent(&plain);
    event->setAccepted(plain.isAccepted());
    return;
  }
  QTreeWidget::mouseReleaseEvent(event);
}

void CodeTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeWidgetItem* item = itemAt(event->position().toPoint());
  if (item && !OnBranchIndicator(event->position().toPoint(), item)) {
    // A double-click asks to toggle a group, like any tree; the default
    // action that follows may clear that wish again.
    if (!item->parent() && item->childCount() > 0) {
      if (item->isExpanded()) TreeViewCodeCollapsing(item); else TreeViewCodeExpanding(item);
    }
    emit DefaultActionRequested();
  }
  event->accept();
}

void CodeTreeView::keyPressEvent(QKeyEvent* event) {
  QTreeWidgetItem* node = currentItem();
  const bool group = node && !node->parent() && node->childCount() > 0;
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Right:
      if (group && !node->isExpanded()) {
        TreeViewCodeExpanding(node);
        event->accept();
        return;
      }
      break;
    case Qt::Key_Minus:
    case Qt::Key_Left:
      if (group && node->isExpanded()) {
        TreeViewCodeCollapsing(node);
        event->accept();
        return;
      }
      break;
    case Qt::Key_Delete:
      if (SelectedNode()) emit DeleteKeyPressed();
      event->accept();
      return;
    case Qt::Key_Asterisk:
      event->accept();  // no expand-all behind the program's back
      return;
    default:
      break;
  }
  QTreeWidget::keyPressEvent(event);
}

void CodeTreeView::contextMenuEvent(QContextMenuEvent* event) {
  emit ContextMenuRequested(event->globalPos());
  event->accept();
}

// Drags from this program's own views are taken (a bookmark dragged from the
// list moves the tree's selected node, as if the node had been dragged);
// drops from other programs are not.
void CodeTreeView::dragEnterEvent(QDragEnterEvent* event) {
  TakeOwnDrag(event);
}

void CodeTreeView::dragMoveEvent(QDragMoveEvent* event) {
  QTreeWidget::dragMoveEvent(event);  // scrolls near the edges
  TakeOwnDrag(event);
}

void CodeTreeView::dropEvent(QDropEvent* event) {
  if (!TakeOwnDrag(event)) return;
  TreeViewCodeDragDrop(event->position().toPoint());
}

void CodeTreeView::KeepSelectionAmongSiblings() {
  QTreeWidgetItem* anchor = currentItem();
  if (!anchor) return;
  const QList<QTreeWidgetItem*> selected = selectedItems();
  bool changed = false;
  const QSignalBlocker blocker(this);
  for (QTreeWidgetItem* item : selected) {
    if (item->parent() != anchor->parent()) {
      item->setSelected(false);
      changed = true;
    }
  }
  if (changed) viewport()->update();
}

}  // namespace sorvi
