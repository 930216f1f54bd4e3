#include "core/settings/settings_rewrite.h"

#include <filesystem>
#include <optional>
#include <random>
#include <system_error>

#include "core/files/file_io.h"

namespace sorvi {

namespace {

namespace fs = std::filesystem;

// A directory of our own under the system's temporary directory; removed
// with everything in it when done.
class StagingDir {
 public:
  StagingDir() {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec) return;
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
      const fs::path candidate = base / ("sorvi-settings-" + std::to_string(random()));
      if (fs::create_directory(candidate, ec) && !ec) {
        path_ = candidate;
        return;
      }
    }
  }
  ~StagingDir() {
    if (path_.empty()) return;
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  StagingDir(const StagingDir&) = delete;
  StagingDir& operator=(const StagingDir&) = delete;

  bool Ok() const { return !path_.empty(); }
  std::string File() const { return (path_ / "Sorvi.ini").string(); }

 private:
  fs::path path_;
};

}  // namespace

void RewriteSettings(const std::string& ini_path,
                     const std::function<void(SettingsFile& file)>& write) {
  std::string original;
  if (FileExists(ini_path)) {
    std::optional<std::string> bytes = ReadWholeFile(ini_path);
    if (!bytes) throw SettingsWriteError(ini_path);
    original = std::move(*bytes);
  }
  StagingDir staging;
  if (!staging.Ok() || !ReplaceFileContents(staging.File(), original)) {
    throw SettingsWriteError(ini_path);
  }
  SettingsFile copy(staging.File());
  try {
    write(copy);
  } catch (const SettingsWriteError&) {
    // The copy was refused, not the file: report the file.
    throw SettingsWriteError(ini_path);
  }
  const std::optional<std::string> result = ReadWholeFile(staging.File());
  if (!result || !ReplaceFileContents(ini_path, *result)) throw SettingsWriteError(ini_path);
}

}  // namespace sorvi
