#pragma once
// Many settings writes as one change to the file.
//
// The window's close writes dozens of values across several sections, and
// every write of SettingsFile reaches the disk at once: a crash or refusal
// in the middle would leave the file half old, half new (the address
// history erased and not yet written back). So the writes go to a private
// copy of the file and the result replaces the real file in one step.
#include <functional>
#include <string>

#include "core/settings/settings_file.h"

namespace sorvi {

// Copies the file at `ini_path`, lets `write` erase and rewrite on the copy
// and puts the copy in place. Throws SettingsWriteError naming `ini_path`
// when anything is refused; the file is then exactly as it was. A file that
// exists but cannot be read is refused too: rewriting it would drop every
// other section.
void RewriteSettings(const std::string& ini_path,
                     const std::function<void(SettingsFile& file)>& write);

}  // namespace sorvi
