#include "platform/list_edit_cycle.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QWidget>
#include <exception>

#include "core/text/list_file_text.h"
#include "platform/external_editor.h"

namespace sorvi {

ListEditCycle::ListEditCycle(QWidget* window, QString file, QString question, ListEditCycleOwner& owner,
                             QObject* parent)
    : QObject(parent),
      window_(window),
      file_(std::move(file)),
      question_(std::move(question)),
      owner_(owner),
      editor_(new ExternalEditor(window, this)) {
  connect(editor_, &ExternalEditor::Finished, this, &ListEditCycle::AfterEditor);
}

QString ListEditCycle::QuestionText(const QString& question) {
  return question + "\n\n(このファイルの文字コードは Shift-JIS です。エディタでも Shift-JIS で開いて保存してください)";
}

bool ListEditCycle::IsRunning() const { return editor_->IsRunning(); }

void ListEditCycle::Run(const QString& editor_setting) {
  if (editor_->IsRunning()) return;
  if (owner_.IsModified()) {
    const int answer = owner_.AskBeforeEditor(QuestionText(question_));
    if (answer == QMessageBox::Cancel) {
      emit Done();
      return;
    }
    if (answer == QMessageBox::Yes && !owner_.SaveAndReport()) {
      emit Done();
      return;
    }
  }
  if (!editor_->Start(editor_setting, file_)) {
    owner_.ShowEditorError(editor_->ErrorText());
    AfterEditor();
    return;
  }
  window_->setEnabled(false);
}

void ListEditCycle::AfterEditor() {
  window_->setEnabled(true);
  window_->raise();
  window_->activateWindow();
  try {
    owner_.ReloadAfterEditor();
  } catch (const std::exception& e) {
    // Never let it unwind through the event loop that delivered Finished.
    owner_.ShowEditorError(QString::fromUtf8(e.what()));
  }
  QFile file(file_);
  if (file.open(QIODevice::ReadOnly)) {
    const QByteArray bytes = file.readAll();
    if (!CheckListFileText(std::string_view(bytes.constData(), size_t(bytes.size()))).shift_jis) {
      owner_.ShowEditorError(QString("%1 は Shift-JIS (シフトJIS) のテキストではありません。\n"
                                     "文字化けした行があれば、エディタで Shift-JIS を指定して保存し直してください。\n"
                                     "このまま保存するとファイルは読み込んだ通りのバイト列で書かれます。")
                                 .arg(QDir::toNativeSeparators(file_)));
    }
  }
  emit Done();
}

}  // namespace sorvi
