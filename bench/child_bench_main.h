#pragma once
// The main of a benchmark that measures in fresh child processes: the parent
// runs `run_parent(itself, rounds)`, which starts `itself --child MODE DIR`
// for each measurement; a child runs `run_child(MODE, DIR)`. The "bare"
// child is a plain web view with the engine's defaults, the others are set
// up as the program is.
#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <algorithm>
#include <cstdlib>

#include "platform/web_browser.h"

namespace bench {

// Sets up `child` to run a measurement: its errors go to ours, and the
// engine's start-up report stays out of them unless logging was asked for.
inline void PrepareChild(QProcess& child) {
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  if (!environment.contains("QT_LOGGING_RULES")) environment.insert("QT_LOGGING_RULES", "qt.webenginecontext=false");
  child.setProcessEnvironment(environment);
}

template <typename Child, typename Parent>
int ChildBenchMain(int argc, char* argv[], Child run_child, Parent run_parent) {
  if (argc >= 4 && QByteArray(argv[1]) == "--child") {
    if (QByteArray(argv[2]) == "bare") {
      QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    } else {
      sorvi::PrepareWebEngineBeforeQApplication();
    }
    QApplication app(argc, argv);
    return run_child(QString::fromLatin1(argv[2]), QString::fromLocal8Bit(argv[3]));
  }
  const int rounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 3;
  QCoreApplication app(argc, argv);
  return run_parent(QCoreApplication::applicationFilePath(), rounds);
}

}  // namespace bench
