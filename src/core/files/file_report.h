#pragma once
// What became of loading or saving one data file: which file, which step
// failed and why, and what of it was left as it was. The window turns it
// into words; nothing here is meant to be shown as it is.
#include <cstddef>
#include <string>

namespace sorvi {

enum class DataFile { kCodeList, kBookmarkList, kSettings };

enum class FileStep {
  kDone,
  // The file is there but could not be read; it is never written over.
  kReadFailed,
  // A save was refused because the file could not be read earlier; the
  // file is left as it was.
  kOverwriteRefused,
  // Writing failed; the old file is left as it was.
  kWriteFailed,
  // Writing the list's changes beside its file failed.
  kCopyFailed,
};

struct FileReport {
  DataFile file = DataFile::kCodeList;
  FileStep step = FileStep::kDone;
  std::string path;  // file name bytes
  int error = 0;     // the system's errno, 0 when none applies
  // A load that went through but left part of the text out; the file keeps
  // it until the next save.
  size_t unread_bytes = 0;  // after a NUL byte
  size_t orphan_lines = 0;  // stocks above the first group, gathered anew
  size_t unkept_lines = 0;  // lines that are no bookmark

  bool Failed() const { return step != FileStep::kDone; }
  // A load that went through with something to say.
  bool HasNotes() const { return unread_bytes > 0 || orphan_lines > 0 || unkept_lines > 0; }
};

}  // namespace sorvi
