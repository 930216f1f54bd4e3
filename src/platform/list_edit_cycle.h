#pragma once
// The "エディタ" command of a list: offer to save unsaved changes (saying
// the file is Shift-JIS, which most editors here do not assume), run the
// external editor with the window disabled, then reload the list and tell
// the user once when the editor left the file in another encoding.
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace sorvi {

class ExternalEditor;

class ListEditCycle : public QObject {
  Q_OBJECT
 public:
  struct Hooks {
    std::function<bool()> is_modified;
    // Yes / No / Cancel as QMessageBox::StandardButton values.
    std::function<int(const QString& text)> ask;
    // False when saving failed (already reported): the cycle stops, so the
    // unsaved changes are not thrown away by the reload.
    std::function<bool()> save;
    std::function<void()> reload;
    std::function<void(const QString& message)> show_error;
  };

  // `question` is the list's own ("銘柄一覧を保存しますか？"); `window` is
  // disabled while the editor runs.
  ListEditCycle(QWidget* window, QString file, QString question, Hooks hooks, QObject* parent = nullptr);

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
  Hooks hooks_;
  ExternalEditor* editor_;
};

}  // namespace sorvi
