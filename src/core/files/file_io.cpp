#include "core/files/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sorvi {

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::nullopt;
  std::string bytes;
  char buffer[1 << 16];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
  return bytes;
}

namespace {

bool Fail(std::string* error, int err) {
  if (error) *error = std::strerror(err);
  return false;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, const std::string& bytes,
                         std::string* error) {
  const std::string temp = path + kReplaceSuffix;
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return Fail(error, errno);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      return Fail(error, err);
    }
    done += static_cast<size_t>(n);
  }
  // The copy must be on disk before it replaces the old file, or a crash
  // right after the rename could leave an empty list behind.
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return Fail(error, err);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return Fail(error, err);
  }
  return true;
}

void RecoverListFile(const std::string& path) {
  const std::string copy = path + kReplaceSuffix;
  if (FileExists(path)) {
    if (FileExists(copy)) ::unlink(copy.c_str());
  } else if (FileExists(copy)) {
    ::rename(copy.c_str(), path.c_str());
  }
}

}  // namespace sorvi
