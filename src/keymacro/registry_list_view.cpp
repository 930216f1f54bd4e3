#include "keymacro/registry_list_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>

#include "platform/cp932.h"

namespace sorvi {

namespace {
constexpr int kBytesRole = Qt::UserRole + 1;
}  // namespace

RegistryListView::RegistryListView(QWidget* parent) : QTreeWidget(parent) {
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAllColumnsShowFocus(true);
  setTextElideMode(Qt::ElideRight);
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
  // Grid lines between the cells.
  setStyleSheet("QTreeView::item { border-right: 1px solid #d8d8d8; border-bottom: 1px solid #d8d8d8; }");
}

void RegistryListView::SetCell(QTreeWidgetItem* item, int column, const std::string& bytes) {
  item->setText(column, SjisToQString(bytes));
  item->setData(column, kBytesRole, QByteArray::fromStdString(bytes));
}

std::string RegistryListView::Cell(const QTreeWidgetItem* item, int column) {
  return item->data(column, kBytesRole).toByteArray().toStdString();
}

void RegistryListView::SetCellText(QTreeWidgetItem* item, int column, const QString& text) {
  item->setText(column, text);
  item->setData(column, kBytesRole, QByteArray::fromStdString(QStringToSjis(text)));
}

QTreeWidgetItem* RegistryListView::AppendRow() {
  auto* item = new QTreeWidgetItem(this);
  for (int c = 0; c < columnCount(); ++c) SetCell(item, c, "");
  SelectRow(topLevelItemCount() - 1);
  return item;
}

int RegistryListView::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.first());
}

void RegistryListView::SelectRow(int row) {
  QTreeWidgetItem* item = topLevelItem(row);
  if (!item) return;
  setCurrentItem(item);
  item->setSelected(true);
  scrollToItem(item);
}

bool RegistryListView::MoveRow(int from, int to) {
  const int count = topLevelItemCount();
  if (from < 0 || to < 0 || from >= count || to >= count || from == to) return false;
  if (from < fixed_rows_ || to < fixed_rows_) return false;
  const bool was_current = currentItem() == topLevelItem(from);
  QTreeWidgetItem* item = takeTopLevelItem(from);
  insertTopLevelItem(to, item);
  if (was_current) setCurrentItem(item);
  item->setSelected(true);
  scrollToItem(item);
  emit RowMoved(from, to);
  return true;
}

void RegistryListView::mousePressEvent(QMouseEvent* event) {
  QTreeWidget::mousePressEvent(event);
  EndDrag();
  if (event->button() != Qt::LeftButton) return;
  QTreeWidgetItem* item = itemAt(event->position().toPoint());
  if (item && item->isSelected()) {
    drag_row_ = indexOfTopLevelItem(item);
    press_pos_ = event->position().toPoint();
  }
}

void RegistryListView::mouseMoveEvent(QMouseEvent* event) {
  if (drag_row_ < 0 || !(event->buttons() & Qt::LeftButton)) {
    QTreeWidget::mouseMoveEvent(event);
    return;
  }
  // While a row is held the selection stays on it.
  if (!dragging_ && (event->position().toPoint() - press_pos_).manhattanLength() >= QApplication::startDragDistance()) {
    dragging_ = true;
    viewport()->setCursor(Qt::DragMoveCursor);
  }
}

void RegistryListView::mouseReleaseEvent(QMouseEvent* event) {
  if (dragging_ && event->button() == Qt::LeftButton) {
    const int from = drag_row_;
    EndDrag();
    // Dropping anywhere but on a row does nothing.
    if (QTreeWidgetItem* target = itemAt(event->position().toPoint())) {
      MoveRow(from, indexOfTopLevelItem(target));
    }
    return;
  }
  EndDrag();
  QTreeWidget::mouseReleaseEvent(event);
}

void RegistryListView::EndDrag() {
  if (dragging_) viewport()->unsetCursor();
  dragging_ = false;
  drag_row_ = -1;
}

}  // namespace sorvi
