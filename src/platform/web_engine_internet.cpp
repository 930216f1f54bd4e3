#include "platform/web_engine_internet.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QTcpServer>
#include <QTimer>
#include <QVariant>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include "platform/japanese_locale.h"
#include "platform/web_browser.h"
#include "platform/web_engine_profile.h"

namespace sorvi {
namespace {

InternetSettings g_settings;

// Left in the storage directory when site data could not be removed under a
// running engine.
const QString kPendingMarker = QStringLiteral("ClearSiteData.pending");

// The parts of a profile's storage directory that hold what sites stored;
// cookies and the cache are cleared through the engine itself.
const char* const kSiteStorage[] = {
    "Local Storage", "Session Storage", "IndexedDB",    "Service Worker",
    "databases",     "File System",     "blob_storage", "shared_proto_db",
};

void RemoveSiteStorage(const QString& dir) {
  if (dir.isEmpty()) return;
  for (const char* name : kSiteStorage) QDir(dir + QLatin1Char('/') + QLatin1String(name)).removeRecursively();
  QFile::remove(dir + QLatin1Char('/') + kPendingMarker);
}

// The running engine looks at the proxy again only when one of its
// requests asks it to, and then applies a change to the requests after
// that one: the first page after a change would go the old way. So a
// request of its own goes first, to a local port nobody listens on (local
// addresses never go through a proxy). The engine takes the change on the
// way to that request's failure, before any request made after it.
void MakeEngineReadTheProxy(QWebEngineProfile* profile) {
  QTcpServer closed;
  closed.listen(QHostAddress::LocalHost, 0);
  const QUrl nowhere(QStringLiteral("http://127.0.0.1:%1/").arg(closed.serverPort()));
  closed.close();
  QWebEnginePage page(profile);
  page.settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
  QEventLoop loop;
  QObject::connect(&page, &QWebEnginePage::loadFinished, &loop, &QEventLoop::quit);
  QTimer::singleShot(2000, &loop, &QEventLoop::quit);
  page.load(nowhere);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

bool SameProxy(const InternetSettings& a, const InternetSettings& b) {
  if (a.proxy != b.proxy) return false;
  return a.proxy != ProxyMode::kManual || (a.proxy_host == b.proxy_host && a.proxy_port == b.proxy_port);
}

void MarkPendingRemoval(const QString& dir) {
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  QFile marker(dir + QLatin1Char('/') + kPendingMarker);
  if (marker.open(QIODevice::WriteOnly)) marker.write("1\n");
}

}  // namespace

void UseInternetSettings(const InternetSettings& settings) {
  const bool proxy_changed = !SameProxy(settings, g_settings);
  g_settings = settings;
  switch (settings.proxy) {
    case ProxyMode::kSystem:
      QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::DefaultProxy));
      QNetworkProxyFactory::setUseSystemConfiguration(true);
      break;
    case ProxyMode::kNone:
      QNetworkProxyFactory::setUseSystemConfiguration(false);
      QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::NoProxy));
      break;
    case ProxyMode::kManual:
      QNetworkProxyFactory::setUseSystemConfiguration(false);
      QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy,
                                                       QString::fromStdString(settings.proxy_host),
                                                       static_cast<quint16>(settings.proxy_port)));
      break;
  }
  if (!WebEngine::IsStarted()) return;
  ApplyLanguages(web_engine::Profile(), QString::fromStdString(settings.languages));
  if (proxy_changed) MakeEngineReadTheProxy(web_engine::Profile());
}

const InternetSettings& CurrentInternetSettings() { return g_settings; }

void ApplyToNewProfile(QWebEngineProfile* profile) {
  const QString dir = profile->persistentStoragePath();
  if (!dir.isEmpty() && QFile::exists(dir + QLatin1Char('/') + kPendingMarker)) RemoveSiteStorage(dir);
  ApplyLanguages(profile, QString::fromStdString(g_settings.languages));
}

void ApplyLanguages(QWebEngineProfile* profile, const QString& languages) {
  if (!profile) return;
  // No languages of the user's own: Japanese first, as the program asks by
  // default (the engine's getter loses the weights, so it can't be read back).
  profile->setHttpAcceptLanguage(languages.isEmpty() ? QString::fromLatin1(kAcceptLanguage) : languages);
}

bool ClearBrowsingData(QWebEngineProfile* profile) {
  if (!profile) return true;
  profile->cookieStore()->deleteAllCookies();
  profile->clearHttpCache();
  profile->clearAllVisitedLinks();
  if (profile->isOffTheRecord()) return true;  // nothing of it is on disk
  MarkPendingRemoval(profile->persistentStoragePath());
  return false;
}

bool ClearProgramBrowsingData() {
  if (WebEngine::IsStarted()) {
    ClearBrowsingData(web_engine::Profile());
    return false;
  }
  // Cookies and the cache are files too while no engine holds them.
  const QString dir = WebEngine::StoragePath();
  RemoveSiteStorage(dir);
  for (const char* name : {"Cookies", "Cookies-journal", "Visited Links", "Cache"}) {
    const QString path = dir + QLatin1Char('/') + QLatin1String(name);
    if (!QFile::remove(path)) QDir(path).removeRecursively();
  }
  return true;
}

}  // namespace sorvi
