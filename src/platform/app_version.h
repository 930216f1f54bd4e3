#pragma once
// The program's version and web page, as the build states them.
#include <QString>

namespace sorvi {

// "1.0.0"
QString AppVersion();
// The address of the program's web page.
QString AppHomepage();

}  // namespace sorvi
