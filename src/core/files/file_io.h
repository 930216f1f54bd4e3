#pragma once
// Whole-file reading and crash-safe replacing of data files.
#include <optional>
#include <string>

namespace sorvi {

// Suffix of the copy a list is written to before it replaces the list; the
// start-up recovery takes such a copy over when the list itself is missing.
inline constexpr const char* kReplaceSuffix = ".___";

bool FileExists(const std::string& path);

// The file's bytes, or nothing when it is missing or cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Writes `bytes` to path + ".___", flushes it to disk and renames it over
// `path`. On failure the old file is left as it was, the copy is removed,
// and `error` (when given) holds the system's reason.
bool ReplaceFileContents(const std::string& path, const std::string& bytes,
                         std::string* error = nullptr);

// Start-up recovery of a list file: when the list exists a leftover copy is
// deleted; when it is missing a copy is moved to its name. Failures are
// ignored, as there is nothing better to do at that moment.
void RecoverListFile(const std::string& path);

}  // namespace sorvi
