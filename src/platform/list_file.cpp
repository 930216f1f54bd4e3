#include "platform/list_file.h"

#include <QFile>

#include "platform/report_text.h"

namespace sorvi {

ListFile::ListFile(DataFile kind, QString path, std::function<std::string()> bytes, QWidget* window, QObject* parent)
    : QObject(parent), kind_(kind), path_(std::move(path)), bytes_(std::move(bytes)), window_(window) {}

FileReport ListFile::Report(FileStep step, int error) const {
  return {kind_, step, QFile::encodeName(path_).toStdString(), error};
}

FileReadResult ListFile::Read() {
  FileReadResult file = ReadFile(QFile::encodeName(path_).toStdString());
  if (file.status != ReadStatus::kMissing) load_failed_ = file.status == ReadStatus::kUnreadable;
  return file;
}

void ListFile::SetModified(bool modified) {
  if (modified == modified_) return;
  modified_ = modified;
  emit ModifiedChanged(modified);
}

FileReport ListFile::Save() {
  // What could not be read is never replaced by what is shown.
  if (load_failed_) return Report(FileStep::kOverwriteRefused);
  int error = 0;
  if (!ReplaceFileContents(QFile::encodeName(path_).toStdString(), bytes_(), &error)) {
    return Report(FileStep::kWriteFailed, error);
  }
  SetModified(false);
  return Report(FileStep::kDone);
}

bool ListFile::SaveAndReport() {
  const FileReport report = Save();
  ShowReport(window_, report);
  return !report.Failed();
}

}  // namespace sorvi
