#pragma once
// Memory and CPU time of this process and all its descendants (the
// program and the engine's helper processes), read from /proc.
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QString>
#include <vector>

namespace bench {

struct TreeSample {
  double rss_mib = 0;
  double pss_mib = 0;
  double cpu_seconds = 0;      // user + system time so far of the processes alive now
  double own_cpu_seconds = 0;  // of this process alone
  double own_pss_mib = 0;
  // Pages of the tree's processes alone (private): unlike PSS, not moved by
  // other programs mapping the same libraries.
  double uss_mib = 0;
  int processes = 0;
};

// The fields of /proc/<pid>/stat after the command name, which may itself
// hold spaces and parentheses: [0] state, [1] parent, [11] utime, [12] stime.
inline QList<QByteArray> StatFields(int pid) {
  QFile stat(QString("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly)) return {};
  const QByteArray text = stat.readAll();
  const qsizetype close = text.lastIndexOf(')');
  if (close < 0) return {};
  return text.mid(close + 2).split(' ');
}

inline std::vector<int> ProcessTree() {
  QMap<int, QList<int>> children;
  for (const QString& entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    bool numeric = false;
    const int pid = entry.toInt(&numeric);
    if (!numeric) continue;
    const QList<QByteArray> fields = StatFields(pid);
    if (fields.size() > 1) children[fields[1].toInt()].append(pid);
  }
  std::vector<int> tree;
  std::vector<int> pending{int(getpid())};
  while (!pending.empty()) {
    const int pid = pending.back();
    pending.pop_back();
    tree.push_back(pid);
    for (int child : children.value(pid)) pending.push_back(child);
  }
  return tree;
}

inline TreeSample SampleTree() {
  static const double ticks_per_second = double(sysconf(_SC_CLK_TCK));
  TreeSample sample;
  for (int pid : ProcessTree()) {
    QFile rollup(QString("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly)) continue;
    ++sample.processes;
    for (const QByteArray& line : rollup.readAll().split('\n')) {
      const QList<QByteArray> parts = line.simplified().split(' ');
      if (parts.size() < 2) continue;
      if (parts[0] == "Rss:") sample.rss_mib += parts[1].toDouble() / 1024.0;
      if (parts[0] == "Private_Clean:" || parts[0] == "Private_Dirty:") sample.uss_mib += parts[1].toDouble() / 1024.0;
      if (parts[0] != "Pss:") continue;
      sample.pss_mib += parts[1].toDouble() / 1024.0;
      if (pid == int(getpid())) sample.own_pss_mib = parts[1].toDouble() / 1024.0;
    }
    const QList<QByteArray> fields = StatFields(pid);
    if (fields.size() <= 12) continue;
    const double cpu = (fields[11].toDouble() + fields[12].toDouble()) / ticks_per_second;
    sample.cpu_seconds += cpu;
    if (pid == int(getpid())) sample.own_cpu_seconds = cpu;
  }
  return sample;
}

}  // namespace bench
