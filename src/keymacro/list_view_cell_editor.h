#pragma once
// In-place editing of one cell of a registry list. A double-click on a row
// arms it; a press on a data cell of the armed, selected row opens an edit
// box over that cell (the second press of the double-click does so at once).
// Enter commits and closes, Escape closes without committing, Up and Down
// commit and go on editing the same cell of the neighbouring row, and losing
// the focus commits and closes. Closing disarms the list.
#include <QList>
#include <QObject>

class QLineEdit;
class QKeyEvent;
class QTreeWidgetItem;

namespace sorvi {

class RegistryListView;

class ListViewCellEditor : public QObject {
  Q_OBJECT
 public:
  // `data_columns`: the editable columns, left to right; a hidden column
  // (width 0) is never hit.
  ListViewCellEditor(RegistryListView* list, QList<int> data_columns);

  // The first `rows` rows are fixed: the editor never opens on them.
  void SetFixedRows(int rows) { fixed_rows_ = rows; }

  bool IsOpen() const;
  QLineEdit* EditBox() const { return edit_; }
  // The armed row, -1 when disarmed.
  int ArmedRow() const { return armed_row_; }
  // The row and column being edited (-1 when closed).
  int Row() const;
  int Column() const { return IsOpen() ? column_ : -1; }

  // Opens over the cell at `pos` (viewport coordinates) when the rules
  // allow; returns whether it opened.
  bool OpenAt(const QPoint& pos);

  // Commits and closes; returns whether the cell text changed. Nothing when
  // closed.
  bool CommitAndClose();

 signals:
  // A commit changed a cell: the window enables "保存".
  void Changed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Handles a key of the edit box; returns whether the cell text changed.
  // Sets `consumed` when the key was taken here.
  bool CellEditorKeyDown(QKeyEvent* event, bool* consumed);
  bool Commit();
  void Close();
  void PlaceOver(QTreeWidgetItem* item);
  bool RowEditable(int row) const;

  RegistryListView* list_;
  QObject* viewport_;
  QList<int> data_columns_;
  QLineEdit* edit_;
  int fixed_rows_ = 0;
  QTreeWidgetItem* item_ = nullptr;
  int column_ = -1;
  int armed_row_ = -1;
  bool closing_ = false;
};

}  // namespace sorvi
