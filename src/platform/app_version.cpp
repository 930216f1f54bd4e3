#include "platform/app_version.h"

namespace sorvi {

QString AppVersion() { return QStringLiteral(SORVI_VERSION); }

QString AppHomepage() { return QStringLiteral(SORVI_HOMEPAGE); }

}  // namespace sorvi
