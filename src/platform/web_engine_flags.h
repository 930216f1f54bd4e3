#pragma once
// The engine's command-line flags the program adds to the user's own
// (QTWEBENGINE_CHROMIUM_FLAGS), set before the application object exists.
#include <QByteArray>

namespace sorvi::web_engine {

// `user_flags` with the program's process model added: tabs of one site
// share one renderer process, different sites never do. Flags that already
// choose a process model or site isolation are the user's choice and stay
// alone.
QByteArray WithProcessModel(const QByteArray& user_flags);

// Puts WithProcessModel of the present flags into the environment.
void AddProcessModelFlags();

}  // namespace sorvi::web_engine
