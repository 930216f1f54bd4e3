#pragma once
// SIGTERM, SIGINT and SIGHUP (a session ending, `kill`, Ctrl+C in a
// terminal) close the window instead of the process just dying. Nobody is
// there to answer: the boxes and menus open at that moment are dismissed
// (as with Esc) and the window is closed in a way that asks nothing.
#include <functional>

class QWidget;

namespace sorvi {

// Call after QApplication exists, once per main window. At a signal the
// open boxes are dismissed until none is left; only then, with their event
// loops ended, `close_unattended` runs. A box the close itself shows (a
// failed save) is dismissed the same way, and the close is tried again
// for as long as the window stays open.
void CloseOnTerminateSignals(QWidget* window, std::function<void()> close_unattended);

}  // namespace sorvi
