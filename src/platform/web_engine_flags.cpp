#include "platform/web_engine_flags.h"

#include <QList>
#include <QtGlobal>

namespace sorvi::web_engine {

namespace {

constexpr char kFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";

// Users keep dozens of chart tabs of two or three sites open; a renderer
// per tab costs about 20 MiB each. With one renderer per site the tabs of a
// site share it. Alone that would put every site into one renderer (the
// engine shares one for all sites it does not isolate), so sites are
// isolated too: a page of one site never shares a process with another
// site's, and one site's crash or busy script leaves the others alone. The
// sandbox is untouched.
constexpr char kProcessModel[] = "--process-per-site --site-per-process";

bool ChoosesProcessModel(const QByteArray& flag) {
  const QByteArray name = flag.split('=').first();
  return name == "--single-process" || name == "--process-per-tab" || name == "--process-per-site" ||
         name == "--renderer-process-limit" || name == "--site-per-process" ||
         name == "--disable-site-isolation-trials";
}

}  // namespace

QByteArray WithProcessModel(const QByteArray& user_flags) {
  const QList<QByteArray> flags = user_flags.simplified().split(' ');
  for (const QByteArray& flag : flags) {
    if (ChoosesProcessModel(flag)) return user_flags;
  }
  const QByteArray trimmed = user_flags.trimmed();
  return trimmed.isEmpty() ? QByteArray(kProcessModel) : trimmed + ' ' + kProcessModel;
}

void AddProcessModelFlags() { qputenv(kFlagsVariable, WithProcessModel(qgetenv(kFlagsVariable))); }

}  // namespace sorvi::web_engine
