#pragma once
// Browsers whose tab has closed while a download of theirs goes on (a pop-up
// that turned out to be a file): kept, hidden, until the download ends, so
// that its progress and outcome still reach the status bar.
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <vector>

class QWidget;

namespace sorvi {

class WebBrowser;

class DownloadKeeper : public QObject {
  Q_OBJECT
 public:
  // Kept browsers wait hidden in `window`.
  explicit DownloadKeeper(QWidget* window, QObject* parent = nullptr);
  // Deletes the browsers still kept.
  ~DownloadKeeper() override;

  // Takes `browser` over; it is deleted after its downloads have ended:
  // those under way (by where they go) and any that starts meanwhile.
  void Keep(WebBrowser* browser, const QSet<QString>& running);
  int Count() const;

 signals:
  void DownloadProgress(const QString& path, qint64 received, qint64 total);
  void DownloadFinished(const QString& path, bool ok, const QString& message);

 private:
  QWidget* window_;
  std::vector<QPointer<WebBrowser>> kept_;
};

}  // namespace sorvi
