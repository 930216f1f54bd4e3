#include "platform/terminate_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
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

bool ListenForSignals() {
  if (g_pipe[0] >= 0) return true;
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal_number : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal_number, &action, nullptr);
  return true;
}

// Dismisses the open menus and modal boxes as Esc would; returns whether
// any was open. Queued: what a dismissed box's owner does next (it may open
// another box) runs in that box's own loop, not inside this call.
bool DismissOpenBoxes() {
  bool any = false;
  if (QWidget* popup = QApplication::activePopupWidget()) {
    QMetaObject::invokeMethod(popup, &QWidget::close, Qt::QueuedConnection);
    any = true;
  }
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (!top->isVisible() || !top->isModal()) continue;
    any = true;
    if (auto* dialog = qobject_cast<QDialog*>(top)) {
      QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
    } else {
      QMetaObject::invokeMethod(top, &QWidget::close, Qt::QueuedConnection);
    }
  }
  return any;
}

// Runs until the window is closed: boxes first, then the close once no
// nested loop of theirs is left on the stack.
QTimer* StartClosing(QWidget* window, const std::function<void()>& close_unattended) {
  static constexpr int kTickMs = 50;
  auto* ticker = new QTimer(window);
  ticker->setInterval(kTickMs);
  QObject::connect(ticker, &QTimer::timeout, window, [window, ticker, close_unattended] {
    if (!window->isVisible()) {
      ticker->deleteLater();
      return;
    }
    if (DismissOpenBoxes()) return;
    // Queued too: the close may show a box (a failed save), whose loop
    // must not run inside this timer's call.
    QTimer::singleShot(0, window, close_unattended);
  });
  ticker->start();
  return ticker;
}

}  // namespace

void CloseOnTerminateSignals(QWidget* window, std::function<void()> close_unattended) {
  if (!ListenForSignals()) return;
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, window);
  QObject::connect(notifier, &QSocketNotifier::activated, window,
                   [window, close_unattended, closing = QPointer<QTimer>()]() mutable {
                     char buffer[16];
                     while (::read(g_pipe[0], buffer, sizeof buffer) > 0) {
                     }
                     // A second signal finds the close under way.
                     if (!closing) closing = StartClosing(window, close_unattended);
                   });
}

}  // namespace sorvi
