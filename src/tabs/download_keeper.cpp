#include "tabs/download_keeper.h"

#include <algorithm>
#include <memory>

#include "platform/web_browser.h"

namespace sorvi {

DownloadKeeper::DownloadKeeper(QWidget* window, QObject* parent) : QObject(parent), window_(window) {}

DownloadKeeper::~DownloadKeeper() {
  for (QPointer<WebBrowser>& browser : kept_) {
    if (browser) {
      browser->DisconnectAll();
      delete browser.data();
    }
  }
}

int DownloadKeeper::Count() const {
  return int(std::count_if(kept_.begin(), kept_.end(), [](const QPointer<WebBrowser>& b) { return !b.isNull(); }));
}

void DownloadKeeper::Keep(WebBrowser* browser, const QSet<QString>& running_now) {
  kept_.erase(std::remove(kept_.begin(), kept_.end(), nullptr), kept_.end());
  browser->hide();
  browser->SetFillsParent(false);
  browser->setParent(window_);
  kept_.push_back(browser);
  // The browser goes when the last of its downloads has ended.
  auto running = std::make_shared<QSet<QString>>(running_now);
  const auto direct = Qt::DirectConnection;
  connect(
      browser, &WebBrowser::DownloadProgress, this,
      [this, running](WebBrowser*, const QString& path, qint64 received, qint64 total) {
        running->insert(path);
        emit DownloadProgress(path, received, total);
      },
      direct);
  connect(
      browser, &WebBrowser::DownloadFinished, this,
      [this, running](WebBrowser* self, const QString& path, bool ok, const QString& message) {
        emit DownloadFinished(path, ok, message);
        running->remove(path);
        if (!running->isEmpty()) return;
        // Inside the browser's own notification: delete it later.
        self->DisconnectAll();
        self->deleteLater();
      },
      direct);
}

}  // namespace sorvi
