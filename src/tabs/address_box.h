#pragma once
// The address box: shows the active page's address, keeps the history of
// what was opened (as the bytes that were opened), and picks a local file on
// a double-click.
#include <QObject>
#include <QString>
#include <string>
#include <vector>

class QComboBox;
class QWidget;

namespace sorvi {

class AddressBox : public QObject {
  Q_OBJECT
 public:
  AddressBox(QComboBox* box, QWidget* dialog_parent);

  QString Text() const;
  void Show(const QString& text);

  // Shows an address about to be opened and puts it first in the history:
  // `bytes` (Shift-JIS) is what the history keeps, `text` what it shows.
  void Remember(const std::string& bytes, const QString& text);

  // The history, most recent first, as Shift-JIS bytes.
  std::vector<std::string> History() const;
  void LoadHistory(const std::vector<std::string>& entries);

  // The directory the file dialog starts in; follows the user's picks.
  QString FileDialogDir() const { return file_dialog_dir_; }
  void SetFileDialogDir(const QString& dir) { file_dialog_dir_ = dir; }

  // Asks for a local page to open (a double-click in the box).
  void PickLocalFile();

 signals:
  // Enter in the box, or a file picked: open what the box shows.
  void Submitted(Qt::KeyboardModifiers modifiers);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QComboBox* box_;
  QObject* line_edit_ = nullptr;  // the box's line edit, which this filters
  QWidget* dialog_parent_;
  QString file_dialog_dir_;
};

}  // namespace sorvi
