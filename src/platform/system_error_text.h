#pragma once
// The system's reason for a failed file operation, in the words the user
// reads (Japanese).
#include <string>

namespace sorvi {

// Text for an errno value, e.g. ENOSPC gives "ディスクがいっぱいです".
std::string SystemErrorText(int err);

}  // namespace sorvi
