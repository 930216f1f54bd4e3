#pragma once
// The "エディタ" command of a list: offer to save unsaved changes (saying
// the file is Shift-JIS, which most editors here do not assume), run the
// external editor with the window disabled, then reload the list and tell
// the user once when the editor left the file in another encoding.
#include <QObject>
#include <QString>

class QWidget;

namespace sorvi {

class ExternalEditor;

// What the cycle asks of the list it edits.
class ListEditCycleOwner {
 public:
  virtual bool IsModified() const = 0;
  // Yes / No / Cancel as QMessageBox::StandardButton values.
  virtual int AskBeforeEditor(const QString& text) = 0;
  // False when saving failed (already reported): the cycle stops, so the
  // unsaved changes are not thrown away by the reload.
  virtual bool SaveAndReport() = 0;
  virtual void ReloadAfterEditor() = 0;
  virtual void ShowEditorError(const QString& message) = 0;

 protected:
  ~ListEditCycleOwner() = default;
};

class ListEditCycle : public QObject {
  Q_OBJECT
 public:
  // `question` is the list's own ("銘柄一覧を保存しますか？"); `window` is
  // disabled while the editor runs.
  ListEditCycle(QWidget* window, QString file, QString question, ListEditCycleOwner& owner, QObject* parent = nullptr);

  // Starts the cycle for the editor setting; returns at once. Ignored while
  // a cycle is running.
  void Run(const QString& editor_setting);
  bool IsRunning() const;
  ExternalEditor* Editor() const { return editor_; }

  // What the question says beside the list's own question.
  static QString QuestionText(const QString& question);

 signals:
  // The list has been reloaded (or the cycle stopped at the question).
  void Done();

 private:
  void AfterEditor();

  QWidget* window_;
  QString file_;
  QString question_;
  ListEditCycleOwner& owner_;
  ExternalEditor* editor_;
};

}  // namespace sorvi
