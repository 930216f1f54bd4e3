#include "tabs/page_tools.h"

#include <QTimer>
#include <algorithm>
#include <utility>

#include "core/tabs/zoom_steps.h"
#include "platform/web_browser.h"
#include "tabs/active_tab_host.h"
#include "tabs/browser_tab.h"
#include "tabs/download_keeper.h"
#include "tabs/download_status.h"
#include "tabs/find_bar.h"
#include "tabs/full_screen.h"
#include "tabs/tab_shortcuts.h"
#include "tabs/tab_stack.h"

namespace sorvi {

namespace {

QString ZoomText(double factor) {
  const int percent = ZoomPercent(factor);
  return percent == 100 ? QString() : QString("%1%").arg(percent);
}

// A page that never showed anything: nothing committed, no history (the
// navigation became a download instead of a page). The engine may still
// call it loading when it asks about the download.
bool ShowsNoPage(const BrowserTab& tab) {
  const WebBrowser* browser = tab.Browser();
  if (!browser || tab.CanGoBack() || tab.CanGoForward()) return false;
  const QString location = browser->CommittedURL();
  return location.isEmpty() || location == QLatin1String("about:blank");
}

// How long a tab left empty by a download may go on "loading" before it is
// closed anyway.
constexpr int kDownloadTabBusyLimitMs = 2000;

}  // namespace

PageTools::PageTools(TabStack* page_control, QWidget* window, ActiveTabHost& host, QObject* parent)
    : QObject(parent), page_control_(page_control), window_(window), host_(host) {
  find_bar_ = new FindBar(page_control_, *this);
  full_screen_ = new FullScreenHost(window_, this);
  downloads_ = new DownloadKeeper(window_, this);
  // Only wakes the event loop, so that an idle moment comes at the limit.
  wake_ = new QTimer(this);
  wake_->setSingleShot(true);
  connect(wake_, &QTimer::timeout, this, [] {});
  // A kept browser's tab is gone: its download shows whichever tab is active.
  connect(downloads_, &DownloadKeeper::DownloadProgress, this,
          [this](const QString& path, qint64 received, qint64 total) {
            emit StatusTextChanged(DownloadProgressText(path, received, total));
            emit ProgressChanged(std::max(DownloadPercent(received, total), 0), 100);
          });
  connect(downloads_, &DownloadKeeper::DownloadFinished, this, [this](const QString&, bool, const QString& message) {
    emit ProgressChanged(0, 0);
    emit StatusTextChanged(message);
  });

  shortcuts_ = new TabShortcuts(window_, *this, this);

  // Every change of the active tab, by the user or by code: the bar
  // searched the page left, the status shows the new page's zoom.
  connect(page_control_, &TabStack::currentChanged, this, [this] {
    find_bar_->Close(false);
    BrowserTab* tab = host_.ActiveTab();
    emit ZoomTextChanged(tab ? ZoomText(tab->ZoomFactor()) : QString());
  });
}

void PageTools::Drop() {
  // The tab control reports the removals that follow; nothing is left to follow.
  disconnect(page_control_, nullptr, this, nullptr);
  delete shortcuts_;
  shortcuts_ = nullptr;
  delete find_bar_;
  find_bar_ = nullptr;
  full_screen_->Leave();
}

WebBrowser* PageTools::ActiveBrowser() const {
  BrowserTab* tab = host_.ActiveTab();
  return tab ? tab->Browser() : nullptr;
}

bool PageTools::HasPage() const { return page_control_->count() > 0; }

bool PageTools::OverPage(const QWidget* widget) const {
  WebBrowser* browser = ActiveBrowser();
  return browser && (widget == browser || browser->isAncestorOf(widget));
}

WebBrowser* PageTools::FindTarget() const { return full_screen_->Active() ? nullptr : ActiveBrowser(); }

QWidget* PageTools::ShownPage() const { return host_.ActiveTab(); }

void PageTools::Watch(BrowserTab* tab) {
  connect(tab, &BrowserTab::DownloadAsked, this, &PageTools::OnDownloadAsked);
  connect(tab, &BrowserTab::DownloadProgress, this, &PageTools::OnDownloadProgress);
  connect(tab, &BrowserTab::DownloadFinished, this, &PageTools::OnDownloadFinished);
  connect(tab, &BrowserTab::FullScreenRequested, this, [this](BrowserTab* t, bool) {
    // Moved after the engine's call has returned.
    QPointer<WebBrowser> browser = t->Browser();
    const auto follow = [this, browser] { FollowFullScreen(browser); };
    QMetaObject::invokeMethod(this, follow, Qt::QueuedConnection);
  });
}

// ---- find and zoom ---------------------------------------------------------

void PageTools::OpenFindBar() {
  if (full_screen_->Active()) return;
  find_bar_->Open();
}

void PageTools::Zoom(ZoomKey key) {
  BrowserTab* tab = host_.ActiveTab();
  if (!tab) return;
  const double now = tab->ZoomFactor();
  tab->SetZoomFactor(key == ZoomKey::In ? ZoomIn(now) : key == ZoomKey::Out ? ZoomOut(now) : kDefaultZoom);
  emit ZoomTextChanged(ZoomText(tab->ZoomFactor()));
}

// ---- full screen -----------------------------------------------------------

WebBrowser* PageTools::FullScreenBrowser() const { return full_screen_->Browser(); }

void PageTools::FollowFullScreen(WebBrowser* browser) {
  if (!browser) return;
  if (browser->IsFullScreen()) {
    find_bar_->Close(false);
    full_screen_->Enter(browser);
  } else if (full_screen_->Browser() == browser) {
    full_screen_->Leave();
  }
}

bool PageTools::LeaveFullScreen() {
  if (!full_screen_->Active()) return false;
  WebBrowser* browser = full_screen_->Browser();
  full_screen_->Leave();
  // The page learns it too; its answer finds nothing left to do.
  if (browser) browser->ExitFullScreen();
  return true;
}

// ---- downloads -------------------------------------------------------------

int PageTools::KeptDownloadBrowsers() const { return downloads_->Count(); }

void PageTools::OnDownloadAsked(BrowserTab* tab) {
  // A page that was nothing but the file leaves its tab empty, whatever the
  // user answered.
  if (!ShowsNoPage(*tab)) return;
  const bool known = std::any_of(download_only_tabs_.begin(), download_only_tabs_.end(),
                                 [tab](const DownloadOnlyTab& entry) { return entry.tab == tab; });
  if (known) return;
  download_only_tabs_.push_back(DownloadOnlyTab{tab, {}, {}, QDeadlineTimer(kDownloadTabBusyLimitMs)});
  wake_->start(kDownloadTabBusyLimitMs + 50);
}

void PageTools::OnDownloadProgress(BrowserTab* tab, const QString& path, qint64 received, qint64 total) {
  for (DownloadOnlyTab& entry : download_only_tabs_) {
    if (entry.tab == tab) entry.running.insert(path);
  }
  if (tab != host_.ActiveTab()) return;
  emit StatusTextChanged(DownloadProgressText(path, received, total));
  emit ProgressChanged(std::max(DownloadPercent(received, total), 0), 100);
}

void PageTools::OnDownloadFinished(BrowserTab* tab, const QString& path, bool, const QString& message) {
  for (DownloadOnlyTab& entry : download_only_tabs_) {
    if (entry.tab != tab) continue;
    entry.running.remove(path);
    entry.finished = message;
  }
  // Said whichever tab is shown: the user waits for it.
  if (tab == host_.ActiveTab() && !tab->Browser()->Busy()) emit ProgressChanged(0, 0);
  emit StatusTextChanged(message);
}

void PageTools::IdleStep() {
  const std::vector<DownloadOnlyTab> pending = std::exchange(download_only_tabs_, {});
  for (const DownloadOnlyTab& entry : pending) {
    BrowserTab* tab = entry.tab;
    // Still nothing shown (a page may have come meanwhile).
    if (!tab || !ShowsNoPage(*tab)) continue;
    // Its navigation has not ended yet: look again at the next idle moment.
    if (tab->Browser()->Busy() && !entry.busy_until.hasExpired()) {
      download_only_tabs_.push_back(entry);
      continue;
    }
    WebBrowser* browser = tab->ReleaseBrowser(window_);
    if (full_screen_->Browser() == browser) full_screen_->Leave();
    // Out of the navigation policy's reach from now on.
    browser->SetOwner(nullptr);
    if (entry.running.isEmpty()) {
      // Idle, but perhaps inside a nested loop one of its calls started.
      browser->DisconnectAll();
      browser->deleteLater();
    } else {
      downloads_->Keep(browser, entry.running);
    }
    host_.Close(tab);
    // The tab shown now has a status of its own; the user still waits to
    // hear how the download went.
    if (!entry.finished.isEmpty()) emit StatusTextChanged(entry.finished);
  }
}

}  // namespace sorvi
