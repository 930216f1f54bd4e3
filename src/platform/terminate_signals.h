#pragma once
// SIGTERM, SIGINT and SIGHUP (a session ending, `kill`, Ctrl+C in a
// terminal) close the window as the user would: the lists are saved or
// asked about and the settings written, instead of the process just dying.
class QWidget;

namespace sorvi {

// Call once, after QApplication exists. The close waits until no modal box
// or menu is open, so nothing is torn down under a nested event loop.
void CloseOnTerminateSignals(QWidget* window);

}  // namespace sorvi
