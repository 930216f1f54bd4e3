#include "keymacro/list_view_cell_editor.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "keymacro/registry_list_view.h"

namespace sorvi {

ListViewCellEditor::ListViewCellEditor(RegistryListView* list, QList<int> data_columns)
    : QObject(list),
      list_(list),
      viewport_(list->viewport()),
      data_columns_(std::move(data_columns)),
      edit_(new QLineEdit(list->viewport())) {
  edit_->setFrame(false);
  edit_->hide();
  edit_->installEventFilter(this);
  viewport_->installEventFilter(this);
  // A row that goes away while it is edited takes the edit with it.
  connect(list_->model(), &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] {
    if (!IsOpen()) return;
    closing_ = true;
    edit_->hide();
    closing_ = false;
    item_ = nullptr;
    armed_row_ = -1;
  });
}

bool ListViewCellEditor::IsOpen() const { return item_ != nullptr && edit_->isVisible(); }

int ListViewCellEditor::Row() const { return IsOpen() ? list_->indexOfTopLevelItem(item_) : -1; }

bool ListViewCellEditor::RowEditable(int row) const { return row >= fixed_rows_; }

bool ListViewCellEditor::OpenAt(const QPoint& pos) {
  const int row = list_->SelectedRow();
  if (row < 0 || row != armed_row_ || !RowEditable(row)) return false;
  QTreeWidgetItem* item = list_->topLevelItem(row);
  const QRect rect = list_->visualItemRect(item);
  if (pos.y() < rect.top() || pos.y() > rect.bottom()) return false;
  QHeaderView* header = list_->header();
  for (int column : data_columns_) {
    const int left = header->sectionViewportPosition(column);
    const int width = header->sectionSize(column);
    if (header->isSectionHidden(column) || width <= 0) continue;
    if (pos.x() < left || pos.x() >= left + width) continue;
    if (IsOpen()) CommitAndClose();
    item_ = item;
    column_ = column;
    PlaceOver(item);
    edit_->show();
    edit_->setFocus(Qt::MouseFocusReason);
    return true;
  }
  return false;
}

void ListViewCellEditor::PlaceOver(QTreeWidgetItem* item) {
  const QRect row = list_->visualItemRect(item);
  const int left = list_->header()->sectionViewportPosition(column_);
  const int width = list_->header()->sectionSize(column_) + 1;
  edit_->setGeometry(left, row.top(), width, row.height());
  edit_->setText(item->text(column_));
  edit_->selectAll();
}

bool ListViewCellEditor::Commit() {
  if (!item_ || edit_->text() == item_->text(column_)) return false;
  RegistryListView::SetCellText(item_, column_, edit_->text());
  emit Changed();
  return true;
}

void ListViewCellEditor::Close() {
  closing_ = true;
  edit_->hide();
  edit_->clear();
  closing_ = false;
  item_ = nullptr;
  column_ = -1;
  armed_row_ = -1;
  list_->setFocus(Qt::OtherFocusReason);
}

bool ListViewCellEditor::CommitAndClose() {
  if (!IsOpen()) return false;
  const bool changed = Commit();
  Close();
  return changed;
}

bool ListViewCellEditor::CellEditorKeyDown(QKeyEvent* event, bool* consumed) {
  *consumed = false;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: *consumed = true; return CommitAndClose();
    case Qt::Key_Escape:
      *consumed = true;
      Close();
      return false;
    case Qt::Key_Up:
    case Qt::Key_Down: {
      *consumed = true;
      const int row = list_->indexOfTopLevelItem(item_);
      const int next = row + (event->key() == Qt::Key_Up ? -1 : 1);
      if (next < 0 || next >= list_->topLevelItemCount() || !RowEditable(next)) return false;
      const bool changed = Commit();
      list_->SelectRow(next);
      item_ = list_->topLevelItem(next);
      PlaceOver(item_);
      return changed;
    }
    default: return false;
  }
}

bool ListViewCellEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_) {
    if (event->type() == QEvent::KeyPress) {
      bool consumed = false;
      CellEditorKeyDown(static_cast<QKeyEvent*>(event), &consumed);
      return consumed;
    }
    if (event->type() == QEvent::FocusOut && !closing_ && IsOpen()) CommitAndClose();
    return false;
  }
  // The viewport still gets events while the list is being destroyed
  // around it, when the list can no longer be asked for it.
  if (watched == viewport_) {
    if (event->type() == QEvent::MouseButtonDblClick) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      armed_row_ = list_->SelectedRow();
      return OpenAt(mouse->position().toPoint());
    }
    if (event->type() == QEvent::MouseButtonPress && armed_row_ >= 0 && !IsOpen()) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) return OpenAt(mouse->position().toPoint());
    }
  }
  return false;
}

}  // namespace sorvi
