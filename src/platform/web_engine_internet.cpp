#include "platform/web_engine_internet.h"

#include <QDir>
#include <QFile>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QVariant>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

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
    "Local Storage", "Session Storage", "IndexedDB", "Service Worker",
    "databases",     "File System",     "blob_storage", "shared_proto_db",
};

void RemoveSiteStorage(const QString& dir) {
  if (dir.isEmpty()) return;
  for (const char* name : kSiteStorage) QDir(dir + QLatin1Char('/') + QLatin1String(name)).removeRecursively();
  QFile::remove(dir + QLatin1Char('/') + kPendingMarker);
}

// The engine takes its proxy afresh only when it sets up a network context;
// a running one notices a change at its next request and applies it only
// to the requests after that one. Changing the profile's cache size makes
// it set up a new context at once; the size is then put back (a second new
// context, made before any request could use the first).
void RenewNetworkContext(QWebEngineProfile* profile) {
  const int size = profile->httpCacheMaximumSize();
  profile->setHttpCacheMaximumSize(size + 1);
  profile->setHttpCacheMaximumSize(size);
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
      QNetworkProxy::setApplicationProxy(
          QNetworkProxy(QNetworkProxy::HttpProxy, QString::fromStdString(settings.proxy_host),
                        static_cast<quint16>(settings.proxy_port)));
      break;
  }
  if (!WebEngine::IsStarted()) return;
  ApplyLanguages(web_engine::Profile(), QString::fromStdString(settings.languages));
  if (proxy_changed) RenewNetworkContext(web_engine::Profile());
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
