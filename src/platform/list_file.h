#pragma once
// One list file as both lists keep it: its path, whether it could be read
// (a file that could not is never written over), and the save that writes
// beside the file, flushes and renames it over.
#include <QString>
#include <string>

#include "core/files/file_io.h"
#include "core/files/file_report.h"

namespace sorvi {

class ListFile {
 public:
  ListFile(DataFile kind, QString path);

  const QString& Path() const { return path_; }
  FileReport Report(FileStep step, int error = 0) const;

  // Reads the file. One that exists but cannot be read is remembered, so
  // that no save replaces it with what is shown instead.
  FileReadResult Read();
  bool LoadFailed() const { return load_failed_; }

  // Writes `bytes` as the list; a failure leaves the file as it was.
  FileReport Save(const std::string& bytes) const;

 private:
  DataFile kind_;
  QString path_;
  bool load_failed_ = false;
};

}  // namespace sorvi
