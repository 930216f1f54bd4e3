#pragma once
// Whole-file reading and crash-safe replacing of data files.
#include <optional>
#include <string>

namespace sorvi {

// Suffix of the copy a file is written to before it replaces the file; the
// start-up recovery takes such a copy over when the list itself is missing.
inline constexpr const char* kReplaceSuffix = ".___";

// True for a regular file (after following links).
bool FileExists(const std::string& path);

// What reading a data file found. A file that is there but cannot be read
// (no permission, a directory or device of that name, an I/O error) is not
// the same as no file: writing over it would destroy data nobody has seen.
enum class ReadStatus { kRead, kMissing, kUnreadable };

struct FileReadResult {
  ReadStatus status = ReadStatus::kMissing;
  std::string bytes;  // the contents when kRead
  int error = 0;      // the system's errno when kUnreadable
};

// Missing means nothing at the path (a link to nothing counts as missing).
FileReadResult ReadFile(const std::string& path);

// The file's bytes, or nothing when it is missing or cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// The file a path finally names: symbolic links are followed, relative link
// texts taken from the link's own directory, even when the last one points
// at nothing yet. A path that is no link comes back as it is.
std::string FinalLinkTarget(const std::string& path);

// Writes `bytes` beside the final target of `path` (links followed) under the
// target's name + ".___", flushes it to disk and renames it over the target,
// so links stay links. The copy gets that name only once it is whole and on
// disk (where the file system can make a file without a name; elsewhere it
// is written under the name). The new file takes the old one's permission bits and,
// where allowed, its owner and group. On failure the old file is left as it
// was, a copy this call made is removed, and `error` (when given) holds the
// system's errno. A file made anew gets
// `new_file_mode` less the umask.
bool ReplaceFileContents(const std::string& path, const std::string& bytes, int* error = nullptr,
                         unsigned new_file_mode = 0666);

// Start-up recovery of a list file (at its final link target): when the list
// exists a leftover copy is deleted; when it is missing a copy is moved to
// its name. Failures are ignored, as there is nothing better to do then.
void RecoverListFile(const std::string& path);

}  // namespace sorvi
