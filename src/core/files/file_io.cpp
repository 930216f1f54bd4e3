#include "core/files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstring>

namespace sorvi {

namespace {

// As the system resolves paths; a longer chain is a loop.
constexpr int kMaxLinkHops = 40;

bool Fail(int* error, int err) {
  if (error) *error = err;
  return false;
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return path.substr(0, slash + 1);
}

// The link's text, or nothing when `path` is no symbolic link.
std::optional<std::string> LinkText(const std::string& path) {
  struct stat st = {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return std::nullopt;
  std::string text(st.st_size > 0 ? static_cast<size_t>(st.st_size) + 1 : PATH_MAX, '\0');
  const ssize_t n = ::readlink(path.c_str(), text.data(), text.size());
  if (n < 0) return std::nullopt;
  text.resize(static_cast<size_t>(n));
  return text;
}

bool IsLink(const std::string& path) {
  struct stat st = {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Makes a finished rename survive a crash too; a directory that cannot be
// opened or synced leaves the data written all the same.
void SyncDirectoryOf(const std::string& path) {
  const std::string dir = DirectoryOf(path);
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A file without a name in `dir`, or -1 where the file system makes none.
int OpenUnnamed(const std::string& dir, mode_t mode) {
  return ::open(dir.empty() ? "." : dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
}

// Gives the unnamed file `fd` the name `path`; never replaces what is there.
bool NameUnnamed(int fd, const std::string& path) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  if (errno != ENOENT) return false;
  // No /proc: the direct way, which needs a privilege.
  return ::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0;
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st = {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

FileReadResult ReadFile(const std::string& path) {
  FileReadResult result;
  // Non-blocking, so that a pipe of that name cannot hang the program.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    const int err = errno;
    result.status = (err == ENOENT || err == ENOTDIR) ? ReadStatus::kMissing : ReadStatus::kUnreadable;
    if (result.status == ReadStatus::kUnreadable) result.error = err;
    return result;
  }
  struct stat st = {};
  int err = 0;
  if (::fstat(fd, &st) != 0) {
    err = errno;
  } else if (S_ISDIR(st.st_mode)) {
    err = EISDIR;
  } else if (!S_ISREG(st.st_mode)) {
    err = EINVAL;  // a device or pipe holds no list
  }
  if (err != 0) {
    ::close(fd);
    result.status = ReadStatus::kUnreadable;
    result.error = err;
    return result;
  }
  if (st.st_size > 0) result.bytes.reserve(static_cast<size_t>(st.st_size));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      result.bytes.append(buffer, static_cast<size_t>(n));
      continue;
    }
    if (n == 0) break;
    if (errno == EINTR) continue;
    err = errno;
    ::close(fd);
    result.status = ReadStatus::kUnreadable;
    result.bytes.clear();
    result.error = err;
    return result;
  }
  ::close(fd);
  result.status = ReadStatus::kRead;
  return result;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  FileReadResult read = ReadFile(path);
  if (read.status != ReadStatus::kRead) return std::nullopt;
  return std::move(read.bytes);
}

std::string FinalLinkTarget(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::optional<std::string> text = LinkText(current);
    if (!text) return current;
    current = (!text->empty() && (*text)[0] == '/') ? std::move(*text) : DirectoryOf(current) + *text;
  }
  return current;
}

namespace {

// Writes the copy of ReplaceFileContents, whole and on disk, under the name
// `temp`. Unnamed first where the file system allows it: the file gets its
// name only once whole. Returns 0 or the system's error; on failure no copy
// of this call is left.
int WriteCopy(const std::string& target, const std::string& temp, const std::string& bytes, const struct stat* old,
              mode_t new_file_mode, bool unnamed) {
  const mode_t mode = old ? 0600 : new_file_mode;
  const int fd = unnamed ? OpenUnnamed(DirectoryOf(target), mode)
                         : ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  if (fd < 0) return errno;
  const auto abandon = [&](int err) {
    ::close(fd);
    if (!unnamed) ::unlink(temp.c_str());
    return err;
  };
  if (!WriteAll(fd, bytes)) return abandon(errno);
  if (old) {
    // Owner first: changing it may clear set-id bits that the mode restores.
    // Only root may give a file away, so a refusal is expected and harmless.
    [[maybe_unused]] const int owner_kept = ::fchown(fd, old->st_uid, old->st_gid);
    if (::fchmod(fd, old->st_mode & 07777) != 0) return abandon(errno);
  }
  // The copy must be on disk before it replaces the old file, or a crash
  // right after the rename could leave an empty list behind.
  if (::fsync(fd) != 0) return abandon(errno);
  if (unnamed && !NameUnnamed(fd, temp)) return abandon(errno);
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return err;
  }
  return 0;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, const std::string& bytes, int* error, unsigned new_file_mode) {
  // Replacing the link itself would cut the user's file off from its name.
  const std::string target = FinalLinkTarget(path);
  if (IsLink(target)) return Fail(error, ELOOP);
  struct stat old = {};
  const bool keep_mode = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);

  const std::string temp = target + kReplaceSuffix;
  // A stale copy goes; creating afresh never writes through a link left
  // under the copy's name.
  if (::unlink(temp.c_str()) != 0 && errno != ENOENT) return Fail(error, errno);
  // The start-up recovery takes a copy over when the file is missing, so a
  // named copy must never be half of one. Where no unnamed file can be made
  // (or named), the copy is written under its name directly.
  const struct stat* kept = keep_mode ? &old : nullptr;
  int err = WriteCopy(target, temp, bytes, kept, new_file_mode, true);
  if (err != 0) err = WriteCopy(target, temp, bytes, kept, new_file_mode, false);
  if (err != 0) return Fail(error, err);
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    err = errno;
    ::unlink(temp.c_str());
    return Fail(error, err);
  }
  SyncDirectoryOf(target);
  return true;
}

void RecoverListFile(const std::string& path) {
  const std::string target = FinalLinkTarget(path);
  const std::string copy = target + kReplaceSuffix;
  if (!FileExists(copy)) return;
  struct stat st = {};
  if (::stat(target.c_str(), &st) == 0) {
    // Only a real list makes the copy redundant; beside anything else it
    // may be the only data left.
    if (S_ISREG(st.st_mode)) ::unlink(copy.c_str());
  } else if (errno == ENOENT) {
    ::rename(copy.c_str(), target.c_str());
  }
}

}  // namespace sorvi
