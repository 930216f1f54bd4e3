#pragma once
// Runs the user's text editor on a list file and tells when editing is
// over. The editor is started directly (no shell), the file's path its one
// argument. Many editors hand the file to an instance that is already
// running and return at once; such a return, with the file unchanged, is
// not the end of editing: the user is asked to press OK when done.
//
// Asynchronous on purpose: waiting in a nested event loop would run every
// other handler of the program (tab loads, timers, the idle work) in the
// middle of a menu handler; the caller disables the window and carries on
// in its slot for Finished instead.
#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QProcess;
class QWidget;

namespace sorvi {

class ExternalEditor : public QObject {
  Q_OBJECT
 public:
  // `window` places the question box (its centre − (100, 50)).
  explicit ExternalEditor(QWidget* window, QObject* parent = nullptr);
  // A running editor is left running: it may hold the user's unsaved work.
  ~ExternalEditor() override;

  // An editor that returns sooner than this, the file unchanged, has handed
  // the file over to another instance.
  void SetHandOverTime(int ms) { hand_over_ms_ = ms; }

  // The command for the editor setting (`AppOptions.Editor`): "Notepad"
  // and empty mean the desktop's default text editor.
  static QStringList Command(const QString& editor_setting, const QString& file);

  // Starts the editor on `file`. False when it could not be started, with
  // ErrorText() saying why; Finished then never comes.
  bool Start(const QString& editor_setting, const QString& file);
  bool IsRunning() const { return running_; }
  QString ErrorText() const { return error_; }

  // The question shown after a hand-over, or null.
  QMessageBox* WaitBox() const { return wait_box_; }

  static const char* const kWaitText;  // "編集が終わったら OK を押してください"

 signals:
  // Editing is over; `changed` when the file was written meanwhile (its
  // bytes or its time differ from before the start).
  void Finished(bool changed);

 private:
  struct Stamp {
    bool exists = false;
    QDateTime modified;
    QByteArray bytes;
    bool operator==(const Stamp&) const = default;
  };
  static Stamp Read(const QString& file);
  void OnExited();
  void AskUntilDone();
  void Finish();

  QWidget* window_;
  QProcess* process_ = nullptr;
  QPointer<QMessageBox> wait_box_;
  QString file_;
  QString error_;
  Stamp before_;
  QElapsedTimer clock_;
  int hand_over_ms_ = 2000;
  bool running_ = false;
};

}  // namespace sorvi
