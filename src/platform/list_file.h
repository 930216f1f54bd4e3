#pragma once
// One list file as both lists keep it: its path, whether it could be read
// (a file that could not is never written over), the modified mark, and the
// save that writes beside the file, flushes and renames it over.
#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "core/files/file_io.h"
#include "core/files/file_report.h"

class QWidget;

namespace sorvi {

class ListFile : public QObject {
  Q_OBJECT
 public:
  // `bytes` gives the list as the file holds it, read at each save; `window`
  // parents the box that reports a failed save.
  ListFile(DataFile kind, QString path, std::function<std::string()> bytes, QWidget* window, QObject* parent);

  const QString& Path() const { return path_; }
  FileReport Report(FileStep step, int error = 0) const;

  // Reads the file. One that exists but cannot be read is remembered, so
  // that no save replaces it with what is shown instead.
  FileReadResult Read();
  bool LoadFailed() const { return load_failed_; }

  bool IsModified() const { return modified_; }
  void SetModified(bool modified);

  // Writes the list; a failure keeps it marked modified and the file as it was.
  FileReport Save();
  // Save, with a failure shown to the user; returns whether it saved.
  bool SaveAndReport();

 signals:
  void ModifiedChanged(bool modified);

 private:
  DataFile kind_;
  QString path_;
  std::function<std::string()> bytes_;
  QWidget* window_;
  bool modified_ = false;
  bool load_failed_ = false;
};

}  // namespace sorvi
