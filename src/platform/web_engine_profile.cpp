#include "platform/web_engine_profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <algorithm>
#include <vector>

#include "platform/download_header_probe.h"
#include "platform/japanese_locale.h"
#include "platform/page_marks.h"
#include "platform/scene_graph_backend.h"
#include "platform/web_browser.h"
#include "platform/web_download.h"
#include "platform/web_engine_flags.h"
#include "platform/web_engine_internet.h"

namespace sorvi {
namespace {

QWebEngineProfile* g_profile = nullptr;
QString g_storage_path;  // empty: the default
std::vector<WebBrowser*>& LiveBrowsers() {
  static std::vector<WebBrowser*> browsers;
  return browsers;
}

void ShutdownAtExit() { WebEngine::Shutdown(); }

QWebEngineProfile* MakeProfile() {
  const QString dir = WebEngine::StoragePath();
  QDir().mkpath(dir);
  auto* profile = new QWebEngineProfile(QStringLiteral("Sorvi"));
  profile->setPersistentStoragePath(dir);
  profile->setCachePath(dir + QStringLiteral("/Cache"));
  profile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  // Every permission is refused as it is asked for (WebPage); newer engines
  // would otherwise keep the refusals in a file of the data directory.
  profile->setPersistentPermissionsPolicy(QWebEngineProfile::PersistentPermissionsPolicy::AskEveryTime);
#endif
  QWebEngineSettings* settings = profile->settings();
  // Pages of Japanese sites that declare no charset are in code page 932.
  settings->setDefaultTextEncoding(QStringLiteral("Shift_JIS"));
  settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
  // A chart's full-screen button; the browser reports it to its owner.
  settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
  // Filings and results are PDFs: shown in their tab by the engine's own
  // viewer (a plug-in to the engine) instead of asked to be saved.
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, true);
  settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, true);
  // The user's Internet settings (languages, site data left to remove).
  ApplyToNewProfile(profile);
  page_marks::Install(profile);
  auto* probe = new DownloadHeaderProbe(profile);
  QObject::connect(profile, &QWebEngineProfile::downloadRequested, probe,
                   [probe](QWebEngineDownloadRequest* download) { web_download::HandleRequest(download, probe); });

  // The profile must go after its pages and before the engine itself. The
  // engine registers its own clean-up when it starts (just now, with the
  // first profile); routines added later run earlier.
  static bool hooked = false;
  if (!hooked) {
    hooked = true;
    qAddPostRoutine(ShutdownAtExit);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &ShutdownAtExit);
  }
  return profile;
}

}  // namespace

void PrepareWebEngineBeforeQApplication() {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  web_engine::AddProcessModelFlags();
}

void WebEngine::SetStoragePath(const QString& dir) { g_storage_path = dir; }

QString WebEngine::StoragePath() {
  if (!g_storage_path.isEmpty()) return g_storage_path;
  const QString from_environment = qEnvironmentVariable("SORVI_WEBDATA");
  if (!from_environment.isEmpty()) return from_environment;
  return QCoreApplication::applicationDirPath() + QStringLiteral("/WebData");
}

bool WebEngine::IsStarted() { return g_profile != nullptr; }

void WebEngine::Shutdown() {
  if (!g_profile) return;
  // Copy: releasing does not unregister, but be safe against changes.
  const std::vector<WebBrowser*> browsers = LiveBrowsers();
  for (WebBrowser* browser : browsers) browser->ReleasePage();
  delete g_profile;
  g_profile = nullptr;
}

namespace web_engine {

QWebEngineProfile* Profile() {
  if (!g_profile) {
    // The first browser is being made: its view comes next.
    ChooseSceneGraphBackend();
    g_profile = MakeProfile();
  }
  return g_profile;
}

const std::vector<WebBrowser*>& Browsers() { return LiveBrowsers(); }

void RegisterBrowser(WebBrowser* browser) { LiveBrowsers().push_back(browser); }

void UnregisterBrowser(WebBrowser* browser) {
  auto& browsers = LiveBrowsers();
  browsers.erase(std::remove(browsers.begin(), browsers.end(), browser), browsers.end());
}

}  // namespace web_engine
}  // namespace sorvi
