#include "core/files/data_files.h"

#include "core/files/file_io.h"

namespace sorvi {

void RecoverDataFiles(const std::string& dir) {
  // The settings file is saved the same way as the lists: a copy beside it
  // is a save that never reached its rename.
  for (const char* name : {kBookmarkListFileName, kCodeListFileName, kSettingsFileName}) RecoverListFile(dir + name);
}

}  // namespace sorvi
