#pragma once
// The main of a benchmark that measures in fresh child processes: the parent
// runs `run_parent(itself, rounds)`, which starts `itself --child MODE DIR`
// for each measurement; a child runs `run_child(MODE, DIR)`. The "bare"
// child is a plain web view with the engine's defaults, the others are set
// up as the program is.
#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <algorithm>
#include <cstdlib>

#include "platform/web_browser.h"

namespace bench {

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
