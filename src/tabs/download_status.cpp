#include "tabs/download_status.h"

#include <QFileInfo>
#include <algorithm>

namespace sorvi {

namespace {

QString SizeText(qint64 bytes) {
  if (bytes < 1024) return QString("%1 バイト").arg(bytes);
  if (bytes < 1024 * 1024) return QString("%1 KB").arg((bytes + 1023) / 1024);
  return QString("%1 MB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

}  // namespace

int DownloadPercent(qint64 received, qint64 total) {
  if (total <= 0) return -1;
  return int(std::clamp<qint64>(received * 100 / total, 0, 100));
}

QString DownloadProgressText(const QString& path, qint64 received, qint64 total) {
  const QString name = QFileInfo(path).fileName();
  const int percent = DownloadPercent(received, total);
  if (percent < 0) return QString("ダウンロード中: %1  %2").arg(name, SizeText(received));
  return QString("ダウンロード中: %1  %2 / %3 (%4%)").arg(name, SizeText(received), SizeText(total)).arg(percent);
}

}  // namespace sorvi
