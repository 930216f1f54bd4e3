#pragma once
// What the status bar says about a download in progress.
#include <QString>

namespace sorvi {

// "ダウンロード中: 株価.csv  40 KB / 200 KB (20%)"; the size and percentage
// are left out while the server has not said how large the file is.
QString DownloadProgressText(const QString& path, qint64 received, qint64 total);

// Percent done, -1 while the total is unknown.
int DownloadPercent(qint64 received, qint64 total);

}  // namespace sorvi
