#pragma once
// Says so each time the program's own event loop has emptied its queue and
// is about to wait. Deferred work (closing a tab a page asked to close,
// destroying retired web views, playing a handed-over key macro) runs here,
// never inside a web view's own notification.
//
// Event loops nested inside an event handler (a modal dialog, a menu, a
// JavaScript alert) run every handler too; work that destroys a view or
// types keys must not run there. So the notice waits until no modal
// dialog or popup is open and the loop about to wait is the outermost one:
// what was due then runs at the first idle moment after.
#include <QObject>

namespace sorvi {

class IdleHook : public QObject {
  Q_OBJECT
 public:
  // Loop level of the program's own loop (QApplication::exec). Tests that
  // drive events with a local QEventLoop run at the same level; with
  // QTest::qWait (level 0) the loop never waits and no idle moment comes.
  static constexpr int kMainLoopLevel = 1;

  explicit IdleHook(QObject* parent = nullptr);

  // Whether an idle moment now would be announced.
  static bool AtTopLevel();

 signals:
  // An idle moment: deferred work runs now. Not announced again while its
  // receivers run.
  void Idle();

 private:
  void AboutToBlock();

  bool running_ = false;
};

}  // namespace sorvi
