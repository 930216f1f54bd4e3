#include "platform/list_document.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "core/files/data_files.h"
#include "core/settings/app_options.h"
#include "core/text/list_file_text.h"
#include "platform/confirm_box.h"
#include "platform/cp932.h"
#include "platform/menu_items.h"
#include "platform/report_text.h"

namespace sorvi {

ListDocument::ListDocument(ListDocumentOwner& owner, DataFile kind, const QString& path, QString name,
                           LoadMark load_mark, const AppOptions& options, QWidget* window, QObject* parent)
    : QObject(parent),
      owner_(owner),
      file_(kind, path),
      name_(std::move(name)),
      load_mark_(load_mark),
      options_(options),
      window_(window),
      cycle_(new ListEditCycle(window, path, name_ + "を保存しますか？", *this, this)),
      copy_timer_(new QTimer(this)) {
  copy_timer_->setSingleShot(true);
  copy_timer_->setInterval(kCopyDelay);
  // Only noted here: the timer may fire inside a box's loop, and the copy
  // is written at the window's next idle moment.
  connect(copy_timer_, &QTimer::timeout, this, [this] { copy_due_ = true; });
}

ListMenuItems ListDocument::AddMenuItems(QMenu* menu, const char* prefix) {
  const auto item = [&](const char* what, const QString& caption) {
    return AddMenuItem(menu, (QByteArray(prefix) + what).constData(), caption);
  };
  ListMenuItems items;
  items.edit = item("Edit", "編集");
  items.copy = item("Copy", "複製");
  items.del = item("Del", "削除");
  items.add = item("Add", "追加");
  items.editor = item("Editor", "エディタ");
  items.save = item("Save", "保存");
  items.save->setEnabled(modified_);
  connect(items.editor, &QAction::triggered, this, &ListDocument::OpenEditor);
  connect(items.save, &QAction::triggered, this, [this] { SaveAndReport(); });
  connect(this, &ListDocument::ModifiedChanged, items.save, &QAction::setEnabled);
  return items;
}

FileReport ListDocument::LoadBytes(const std::string& bytes) {
  FileReport report = file_.Report(FileStep::kDone);
  // What an editor may have left (a UTF-8 byte-order mark) must not glue
  // itself to the first line.
  const ListFileText text = CheckListFileText(bytes);
  owner_.LoadListBytes(text.bytes, &report);
  report.unread_bytes = text.unread_bytes;
  return report;
}

FileReport ListDocument::Load() {
  const FileReadResult file = file_.Read();
  if (file.status == ReadStatus::kMissing) return file_.Report(FileStep::kDone);
  if (file.status == ReadStatus::kUnreadable) {
    FileReport unused;
    owner_.LoadListBytes({}, &unused);
    return file_.Report(FileStep::kReadFailed, file.error);
  }
  const FileReport report = LoadBytes(file.bytes);
  if (load_mark_ == LoadMark::kCleared) {
    SetModified(false);
  } else if (modified_) {
    CopyLater();  // the copy no longer holds what is shown
  }
  return report;
}

FileReport ListDocument::LoadUnsavedCopy(const std::string& bytes) {
  const FileReport report = LoadBytes(bytes);
  SetModified(true);
  copy_kept_ = true;
  copy_timer_->stop();  // the copy holds just this
  return report;
}

FileReport ListDocument::Save() {
  const FileReport report = file_.Save(owner_.ListFileBytes());
  if (!report.Failed()) SetModified(false);
  return report;
}

bool ListDocument::SaveAndReport() {
  const FileReport report = Save();
  ShowReport(window_, report);
  return !report.Failed();
}

void ListDocument::SetModified(bool modified) {
  if (modified) CopyLater();
  if (modified == modified_) return;
  modified_ = modified;
  // Saved or reloaded: the copy has nothing left to offer.
  if (!modified) DropCopy();
  emit ModifiedChanged(modified);
}

void ListDocument::OpenEditor() { cycle_->Run(SjisToQString(options_.Editor)); }

int ListDocument::AskBeforeEditor(const QString& text) {
  const int answer = AskYesNoCancel(window_, "確認", text, QuestionPlace(window_));
  // The changes are given up for what the editor makes of the file.
  if (answer == QMessageBox::No) DropCopy();
  return answer;
}

void ListDocument::ReloadAfterEditor() { ShowReport(window_, Load()); }

void ListDocument::ShowEditorError(const QString& message) { ShowErrorBox(window_, message); }

std::string ListDocument::CopyPath() const {
  return QFile::encodeName(file_.Path()).toStdString() + kUnsavedCopySuffix;
}

void ListDocument::OfferUnsavedCopy() {
  const std::string path = CopyPath();
  // A copy whose writing was cut short sits under the replace name.
  RecoverListFile(path);
  const FileReadResult copy = ReadFile(path);
  if (copy.status != ReadStatus::kRead) return;
  const QString text = QString(
                           "前回の終了時に保存されなかった%1が残っています。\n%2\n\n読み込みますか？\n\n"
                           "はい: 読み込みます (保存するまで未保存の変更として扱います)。\n"
                           "いいえ: このファイルを削除し、%3 の内容を使います。")
                           .arg(name_, QFile::decodeName(QByteArray::fromStdString(path)), file_.Path());
  // Closing the box loads it: nothing is deleted without a word.
  if (AskYesNo(window_, "確認", text, QuestionPlace(window_), QMessageBox::Yes) == QMessageBox::Yes) {
    PostReportNotes(window_, LoadUnsavedCopy(copy.bytes));
  } else {
    std::remove(path.c_str());
  }
}

bool ListDocument::CloseQuery(bool unattended) {
  // While its editor runs the file is the editor's: what this window holds
  // never goes over what the user saves there.
  if (UnderEditor() || !modified_) return true;
  if (!options_.AutoSave) {
    if (unattended) {
      KeepCopy();
      return true;
    }
    const int answer = AskYesNoCancel(window_, "確認", name_ + "を保存しますか？", QuestionPlace(window_));
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::No) {
      DropCopy();
      return true;
    }
  }
  if (SaveAndReport()) return true;
  if (unattended) {
    KeepCopy();
    return true;
  }
  // The error has been shown; the user may still leave without this list
  // rather than be kept in a window that can never close.
  if (AskYesNo(window_, "確認", name_ + "は保存されていません。\n保存せずに終了しますか？", QuestionPlace(window_)) !=
      QMessageBox::Yes) {
    return false;
  }
  DropCopy();
  return true;
}

void ListDocument::CopyLater() {
  if (!copy_due_ && !copy_timer_->isActive()) copy_timer_->start();
}

void ListDocument::SetCopyDelay(std::chrono::milliseconds delay) { copy_timer_->setInterval(delay); }

void ListDocument::WriteCopyIfDue() {
  if (!copy_due_) return;
  copy_due_ = false;
  // Under the editor the changes wait for its end: the reload drops them
  // or starts the delay again.
  if (!modified_ || UnderEditor()) return;
  // A copy that cannot be written is tried again after the next edit; the
  // close still saves or asks, and says what fails then.
  WriteCopy();
}

FileReport ListDocument::WriteCopy() {
  int error = 0;
  if (!ReplaceFileContents(CopyPath(), owner_.ListFileBytes(), &error)) {
    FileReport report = file_.Report(FileStep::kCopyFailed, error);
    report.path = CopyPath();
    return report;
  }
  copy_kept_ = true;
  return file_.Report(FileStep::kDone);
}

void ListDocument::KeepCopy() {
  const FileReport report = WriteCopy();
  if (report.Failed()) ShowErrorBox(window_, ReportText(report));
}

void ListDocument::DropCopy() {
  copy_timer_->stop();
  copy_due_ = false;
  if (!copy_kept_) return;
  copy_kept_ = false;
  std::remove(CopyPath().c_str());
}

}  // namespace sorvi
