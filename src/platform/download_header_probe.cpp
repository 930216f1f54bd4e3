#include "platform/download_header_probe.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

#include "platform/certificate_exceptions.h"

namespace sorvi {
namespace {

constexpr char kDisposition[] = "Content-Disposition";

bool IsRedirect(QNetworkReply* reply) {
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  return status >= 300 && status < 400;
}

}  // namespace

DownloadHeaderProbe::DownloadHeaderProbe(QWebEngineProfile* profile)
    : QObject(profile), profile_(profile), network_(new QNetworkAccessManager(this)) {
  auto* jar = new QNetworkCookieJar(network_);
  network_->setCookieJar(jar);
  QWebEngineCookieStore* store = profile->cookieStore();
  connect(store, &QWebEngineCookieStore::cookieAdded, jar, [jar](const QNetworkCookie& c) { jar->insertCookie(c); });
  connect(store, &QWebEngineCookieStore::cookieRemoved, jar, [jar](const QNetworkCookie& c) { jar->deleteCookie(c); });
  store->loadAllCookies();  // those kept from earlier runs
}

std::optional<QByteArray> DownloadHeaderProbe::ContentDisposition(const QUrl& url, const QUrl& referrer,
                                                                  std::chrono::milliseconds timeout) {
  const auto is_web = [](const QUrl& u) { return u.scheme() == "http" || u.scheme() == "https"; };
  if (!is_web(url)) return std::nullopt;
  QNetworkRequest request(url);
  request.setHeader(QNetworkRequest::UserAgentHeader, profile_->httpUserAgent());
  request.setRawHeader("Accept-Language", profile_->httpAcceptLanguage().toLatin1());
  if (is_web(referrer))
    request.setRawHeader("Referer", referrer.toEncoded(QUrl::RemoveFragment | QUrl::RemoveUserInfo));

  QEventLoop loop;
  QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
  std::optional<QByteArray> found;
  QPointer<QNetworkReply> head = network_->head(request);
  QPointer<QNetworkReply> get;
  const auto allow_known_host = [url](QNetworkReply* reply) {
    connect(reply, &QNetworkReply::sslErrors, reply, [reply, url] {
      if (certificate_exceptions::IsAllowed(url.host())) reply->ignoreSslErrors();
    });
  };
  allow_known_host(head);
  connect(head, &QNetworkReply::finished, &loop, [&] {
    if (head->hasRawHeader(kDisposition)) {
      found = head->rawHeader(kDisposition);
      loop.quit();
      return;
    }
    // Some servers answer HEAD differently or not at all.
    get = network_->get(request);
    allow_known_host(get);
    const auto take_headers = [&] {
      if (IsRedirect(get) && !get->isFinished()) return;  // followed
      if (get->hasRawHeader(kDisposition)) found = get->rawHeader(kDisposition);
      loop.quit();
    };
    connect(get, &QNetworkReply::metaDataChanged, &loop, take_headers);
    connect(get, &QNetworkReply::finished, &loop, take_headers);
  });
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  for (QNetworkReply* reply : {head.data(), get.data()}) {
    if (!reply) continue;
    reply->disconnect(&loop);
    reply->abort();
    reply->deleteLater();
  }
  return found;
}

}  // namespace sorvi
