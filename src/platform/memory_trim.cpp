#include "platform/memory_trim.h"

#include <QCoreApplication>
#include <QTimer>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace sorvi {

namespace {

constexpr int kDelayMs = 1000;

}  // namespace

void TrimFreedMemorySoon() {
#if defined(__GLIBC__)
  static QTimer* timer = nullptr;
  if (!timer) {
    timer = new QTimer(QCoreApplication::instance());
    timer->setSingleShot(true);
    timer->setInterval(kDelayMs);
    QObject::connect(timer, &QTimer::timeout, [] { malloc_trim(0); });
  }
  timer->start();  // restarted by each close: one trim after a run of them
#endif
}

}  // namespace sorvi
