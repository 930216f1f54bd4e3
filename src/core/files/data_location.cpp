#include "core/files/data_location.h"

namespace sorvi {

DataLocation ChooseDataLocation(const std::string& program_dir, const std::string& templates_dir,
                                const std::string& user_dir, const DirectoryProbe& probe) {
  const bool installed = !templates_dir.empty();
  const bool data_beside = probe.has_data(program_dir);
  if (probe.writable(program_dir) && (data_beside || !installed)) {
    return {DataPlace::kBesideProgram, program_dir, {}};
  }
  if (!user_dir.empty() && probe.make(user_dir) && probe.writable(user_dir)) {
    // A copy that is not installed carries its own help page and samples.
    return {DataPlace::kUserDir, user_dir, data_beside || !installed ? program_dir : templates_dir};
  }
  // Nothing can be saved; show the newest data there is rather than none.
  if (!user_dir.empty() && probe.has_data(user_dir)) return {DataPlace::kReadOnly, user_dir, {}};
  if (data_beside || !installed) return {DataPlace::kReadOnly, program_dir, {}};
  return {DataPlace::kReadOnly, templates_dir, {}};
}

}  // namespace sorvi
