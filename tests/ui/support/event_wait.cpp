#include "support/event_wait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace sorvi::testing {

void Spin(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

bool WaitUntil(const std::function<bool()>& done, int timeout_ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeout_ms) return false;
    Spin(10);
  }
  return true;
}

}  // namespace sorvi::testing
