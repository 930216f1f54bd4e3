#include "platform/shown_text.h"

#include "core/text/sjis.h"
#include "platform/cp932.h"

namespace sorvi {

QString ShownText(std::string_view sjis) {
  if (sjis.size() <= kShownTextBytes) return SjisToQString(sjis);
  return SjisToQString(SjisPrefix(sjis, kShownTextBytes)) + QChar(0x2026);
}

}  // namespace sorvi
