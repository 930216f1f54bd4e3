#include "platform/terminate_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

namespace sorvi {
namespace {

// A signal handler may only write to a pipe; the event loop reads it.
int g_pipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  const ssize_t ignored = ::write(g_pipe[1], &byte, 1);
  (void)ignored;
}

void CloseWhenFree(QPointer<QWidget> window) {
  if (!window) return;
  if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
    QTimer::singleShot(250, window, [window] { CloseWhenFree(window); });
    return;
  }
  window->close();
}

}  // namespace

void CloseOnTerminateSignals(QWidget* window) {
  if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, window);
  QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
    char buffer[16];
    while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
    }
    // Out of the notifier's own call, so the close may run event loops.
    QTimer::singleShot(0, window, [window] { CloseWhenFree(window); });
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal_number : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal_number, &action, nullptr);
}

}  // namespace sorvi
