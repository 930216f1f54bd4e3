#pragma once
// What the benchmarks share: the median of their runs, and the time a child
// process of the benchmark takes to report that it is ready.
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace bench {

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Milliseconds from starting `program` to its first line of output; -1 when
// none comes within `timeout_ms`.
inline double TimeToFirstOutput(const QString& program, const QStringList& arguments, int timeout_ms) {
  QProcess child;
  QElapsedTimer timer;
  timer.start();
  child.start(program, arguments);
  if (!child.waitForReadyRead(timeout_ms)) {
    std::fprintf(stderr, "%s gave no answer\n", qPrintable(arguments.join(' ')));
    child.kill();
    child.waitForFinished();
    return -1;
  }
  const double ms = timer.nsecsElapsed() / 1e6;
  child.waitForFinished(10000);
  return ms;
}

}  // namespace bench
