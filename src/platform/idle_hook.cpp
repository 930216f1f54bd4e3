#include "platform/idle_hook.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QThread>

namespace sorvi {

IdleHook::IdleHook(QObject* parent) : QObject(parent) {
  auto* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread());
  if (dispatcher) connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &IdleHook::AboutToBlock);
}

bool IdleHook::AtTopLevel() {
  if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) return false;
  return QThread::currentThread()->loopLevel() <= kMainLoopLevel;
}

void IdleHook::AboutToBlock() {
  // Work done here may spin a nested event loop (a key macro's waits); the
  // nested loop must not run the idle work a second time.
  if (running_ || !AtTopLevel()) return;
  running_ = true;
  emit Idle();
  running_ = false;
}

}  // namespace sorvi
