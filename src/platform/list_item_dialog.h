#pragma once
// What the two lists' item dialogs (a stock or group, a bookmark) share: a
// tool window that stays on top, captioned "編集" or "追加", with OK and
// CANCEL, one Closed however it closes, and the list's view disabled while
// it is open. Each dialog's fields and what OK hands back are its own.
#include <QDialog>

class QHBoxLayout;
class QPushButton;

namespace sorvi {

class ListItemDialog : public QDialog {
  Q_OBJECT
 public:
  enum class Mode { Edit, Add };

  // Shows the dialog with its frame at `at` (kept inside the work area) and
  // `view` disabled, so the selection cannot change under it; once it
  // closes, `view` is enabled and focused again.
  void ShowOver(QWidget* view, QPoint at);
  void BringToFront();

 signals:
  // Every way of closing, after the dialog's own signal when OK was
  // pressed. The window is released right after.
  void Closed();

 protected:
  // The caption tells the mode.
  ListItemDialog(Mode mode, QWidget* parent);
  // OK: hands back what the fields say; the dialog then closes.
  virtual void ButtonOkClick() = 0;
  // A row with OK and CANCEL at its right.
  QHBoxLayout* ButtonRow();

  void closeEvent(QCloseEvent* event) override;
  void reject() override;

  QPushButton* ok_button_;
  QPushButton* cancel_button_;

 private:
  bool closed_ = false;
};

}  // namespace sorvi
