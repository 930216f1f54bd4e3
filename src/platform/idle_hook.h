#pragma once
// Calls back each time the event queue has become empty, the moment the
// event loop is about to wait. Deferred work (closing a tab a page asked to
// close, destroying retired web views, playing a handed-over key macro) runs
// here, never inside a web view's own notification.
#include <QObject>
#include <functional>

namespace sorvi {

class IdleHook : public QObject {
  Q_OBJECT
 public:
  explicit IdleHook(std::function<void()> on_idle, QObject* parent = nullptr);

 private:
  void AboutToBlock();

  std::function<void()> on_idle_;
  bool running_ = false;
};

}  // namespace sorvi
