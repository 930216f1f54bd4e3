#pragma once
// Internal to WebBrowser: asks a server once more for the headers of a
// download, so that its file name can be read from the bytes the server
// sent (the engine hands over only its own reading of them). The request
// goes out as the page's would: the profile's cookies, user agent and
// languages, the page as referrer, the program's proxy.
#include <QObject>
#include <QUrl>
#include <chrono>
#include <optional>

class QByteArray;
class QNetworkAccessManager;
class QWebEngineProfile;

namespace sorvi {

class DownloadHeaderProbe : public QObject {
 public:
  // A child of `profile`; follows its cookies from now on.
  explicit DownloadHeaderProbe(QWebEngineProfile* profile);

  // The raw value of the Content-Disposition header the server sends for
  // `url`: asked with HEAD, then, if that brings none, with a GET that is
  // dropped as soon as its headers are in. nullopt when no such header came
  // within `timeout` (or `url` is not http/https). Waits in an event loop
  // that takes no user input.
  std::optional<QByteArray> ContentDisposition(const QUrl& url, const QUrl& referrer,
                                               std::chrono::milliseconds timeout);

 private:
  QWebEngineProfile* profile_;
  QNetworkAccessManager* network_;
};

}  // namespace sorvi
