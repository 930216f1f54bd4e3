#include "codes/code_tree_view.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/cp932.h"

namespace sorvi {
namespace {
constexpr int kBytesRole = Qt::UserRole + 1;
}

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
}

std::string CodeTreeView::NodeText(const QTreeWidgetItem* item) {
  return item ? item->data(0, kBytesRole).toByteArray().toStdString() : std::string();
}

void CodeTreeView::SetNodeText(QTreeWidgetItem* item, std::string bytes) {
  item->setText(0, SjisToQString(bytes));
  item->setData(0, kBytesRole, QByteArray::fromStdString(bytes));
}

QTreeWidgetItem* CodeTreeView::MakeGroupItem(std::string bytes) {
  auto* item = new QTreeWidgetItem();
  item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  SetNodeText(item, std::move(bytes));
  return item;
}

QTreeWidgetItem* CodeTreeView::MakeStockItem(std::string bytes) {
  auto* item = new QTreeWidgetItem();
  SetNodeText(item, std::move(bytes));
  return item;
}

QTreeWidgetItem* CodeTreeView::AddGroup(std::string bytes) {
  QTreeWidgetItem* item = MakeGroupItem(std::move(bytes));
  addTopLevelItem(item);
  return item;
}

QTreeWidgetItem* CodeTreeView::AddStock(QTreeWidgetItem* group, std::string bytes) {
  QTreeWidgetItem* item = MakeStockItem(std::move(bytes));
  group->addChild(item);
  return item;
}

void CodeTreeView::SetExpandedByProgram(QTreeWidgetItem* item, bool expanded) {
  if (item) item->setExpanded(expanded);
}

bool CodeTreeView::TreeViewCodeExpanding(QTreeWidgetItem* node) {
  if (Tag != 0) return true;
  RequestToggle(node, true);
  return false;
}

bool CodeTreeView::TreeViewCodeCollapsing(QTreeWidgetItem* node) {
  if (Tag != 0) return true;
  RequestToggle(node, false);
  return false;
}

void CodeTreeView::RequestToggle(QTreeWidgetItem* node, bool expand) {
  if (!node) return;
  setCurrentItem(node, 0, QItemSelectionModel::ClearAndSelect);
  Tag = expand ? 1 : -1;
}

void CodeTreeView::TreeViewCodeMouseDown() {
  if (Tag == 0) return;
  if (QTreeWidgetItem* node = currentItem(); node && node->isSelected()) {
    node->setExpanded(Tag == 1);
  }
  Tag = 0;
}

bool CodeTreeView::OnBranchIndicator(const QPoint& pos, QTreeWidgetItem* item) const {
  if (!item || item->parent() || item->childCount() == 0) return false;
  const QRect rect = visualItemRect(item);
  // The indicator occupies the indentation in front of a top-level item.
  return pos.x() >= rect.left() - indentation() && pos.x() < rect.left() && rect.contains(QPoint(rect.left(), pos.y()));
}

void CodeTreeView::mousePressEvent(QMouseEvent* event) {
  const int wish = Tag;
  TreeViewCodeMouseDown();
  QTreeWidgetItem* item = itemAt(event->position().toPoint());
  if (OnBranchIndicator(event->position().toPoint(), item)) {
    // A press on the +/- box that just carried out a wish is used up by it;
    // otherwise it asks for the change, which waits for the next press.
    if (wish == 0) {
      if (item->isExpanded()) TreeViewCodeCollapsing(item); else TreeViewCodeExpanding(item);
    }
    event->accept();
    return;
  }
  QTreeWidget::mousePressEvent(event);
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
