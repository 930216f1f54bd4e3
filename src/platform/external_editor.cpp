#include "platform/external_editor.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QWidget>

#include "platform/default_text_editor.h"

namespace sorvi {

const char* const ExternalEditor::kWaitText = "編集が終わったら OK を押してください";

ExternalEditor::ExternalEditor(QWidget* window, QObject* parent) : QObject(parent), window_(window) {}

ExternalEditor::~ExternalEditor() {
  if (process_ && process_->state() != QProcess::NotRunning) {
    // Deleting a QProcess kills the program; let the editor live on.
    process_->disconnect(this);
    process_->setParent(nullptr);
  }
  if (wait_box_) wait_box_->deleteLater();
}

QStringList ExternalEditor::Command(const QString& editor_setting, const QString& file) {
  if (IsDefaultEditorSetting(editor_setting)) return DefaultTextEditorCommand(file);
  return {editor_setting.trimmed(), file};
}

ExternalEditor::Stamp ExternalEditor::Read(const QString& file) {
  Stamp stamp;
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return stamp;
  stamp.exists = true;
  stamp.modified = QFileInfo(file).fileTime(QFileDevice::FileModificationTime);
  stamp.bytes = f.readAll();
  return stamp;
}

bool ExternalEditor::Start(const QString& editor_setting, const QString& file) {
  if (running_) {
    error_ = "エディタは既に起動しています。";
    return false;
  }
  const QStringList command = Command(editor_setting, file);
  if (command.isEmpty()) {
    error_ = "テキストエディタが見つかりません。オプションでエディタを指定してください。";
    return false;
  }
  file_ = file;
  before_ = Read(file);
  auto* process = new QProcess(this);
  // Nobody reads the editor's output; a full pipe would stall it.
  process->setStandardInputFile(QProcess::nullDevice());
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  process->start(command.first(), command.mid(1));
  if (!process->waitForStarted(10000)) {
    error_ = QString("エディタを起動できません。\n%1\n(%2)").arg(command.first(), process->errorString());
    process->kill();
    process->waitForFinished(1000);
    delete process;
    return false;
  }
  process_ = process;
  running_ = true;
  error_.clear();
  clock_.start();
  connect(process_, &QProcess::finished, this, &ExternalEditor::OnExited);
  return true;
}

void ExternalEditor::OnExited() {
  process_->deleteLater();
  process_ = nullptr;
  const bool quick = clock_.elapsed() < hand_over_ms_;
  if (quick && Read(file_) == before_) {
    AskUntilDone();
    return;
  }
  Finish();
}

void ExternalEditor::AskUntilDone() {
  // Shown without a nested loop; any way of closing it means done.
  auto* box = new QMessageBox(QMessageBox::Information, "そるび", QString::fromUtf8(kWaitText), QMessageBox::NoButton);
  box->setObjectName("ExternalEditorWait");
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::ApplicationModal);
  box->setWindowFlag(Qt::WindowStaysOnTopHint);
  QPushButton* ok = box->addButton("OK", QMessageBox::AcceptRole);
  box->setDefaultButton(ok);
  box->setEscapeButton(ok);
  connect(box, &QMessageBox::finished, this, &ExternalEditor::Finish);
  wait_box_ = box;
  box->show();
  if (window_) {
    const QRect frame = window_->frameGeometry();
    box->move(frame.left() + frame.width() / 2 - 100, frame.top() + frame.height() / 2 - 50);
  }
  box->raise();
  box->activateWindow();
}

void ExternalEditor::Finish() {
  if (!running_) return;
  running_ = false;
  wait_box_ = nullptr;
  emit Finished(Read(file_) != before_);
}

}  // namespace sorvi
