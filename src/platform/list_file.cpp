#include "platform/list_file.h"

#include <QFile>

namespace sorvi {

ListFile::ListFile(DataFile kind, QString path) : kind_(kind), path_(std::move(path)) {}

FileReport ListFile::Report(FileStep step, int error) const {
  return {kind_, step, QFile::encodeName(path_).toStdString(), error};
}

FileReadResult ListFile::Read() {
  FileReadResult file = ReadFile(QFile::encodeName(path_).toStdString());
  if (file.status != ReadStatus::kMissing) load_failed_ = file.status == ReadStatus::kUnreadable;
  return file;
}

FileReport ListFile::Save(const std::string& bytes) const {
  // What could not be read is never replaced by what is shown.
  if (load_failed_) return Report(FileStep::kOverwriteRefused);
  int error = 0;
  if (!ReplaceFileContents(QFile::encodeName(path_).toStdString(), bytes, &error)) {
    return Report(FileStep::kWriteFailed, error);
  }
  return Report(FileStep::kDone);
}

}  // namespace sorvi
