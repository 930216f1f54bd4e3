#pragma once
// The report-style list of a key macro registry window: one row per entry,
// whole-row single selection, rows reordered by dragging them onto another
// row. Each cell keeps the entry's Shift-JIS bytes beside the text it shows,
// so bytes that never went through an edit are saved exactly as read.
#include <QTreeWidget>
#include <string>

namespace sorvi {

class RegistryListView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit RegistryListView(QWidget* parent = nullptr);

  static void SetCell(QTreeWidgetItem* item, int column, const std::string& bytes);
  static std::string Cell(const QTreeWidgetItem* item, int column);
  // A cell edited by the user: shown as typed, stored converted.
  static void SetCellText(QTreeWidgetItem* item, int column, const QString& text);

  // Appends a row of empty cells, selects it and scrolls it into view.
  QTreeWidgetItem* AppendRow();
  // Index of the selected row, -1 when none.
  int SelectedRow() const;
  void SelectRow(int row);

  // The first `rows` rows are fixed: no drag moves them or lands on them.
  void SetFixedRows(int rows) { fixed_rows_ = rows; }
  // The drop of the selected row `from` onto row `to`: moving up it lands
  // just before the target, moving down just after it, so it ends at `to`.
  // Returns whether it moved.
  bool MoveRow(int from, int to);

 signals:
  void RowMoved(int from, int to);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void EndDrag();

  int fixed_rows_ = 0;
  int drag_row_ = -1;  // the pressed, selected row: a drag may start from it
  QPoint press_pos_;
  bool dragging_ = false;
};

}  // namespace sorvi
