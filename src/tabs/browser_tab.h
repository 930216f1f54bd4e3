#pragma once
// One tab: the page widget in the tab control. It owns its browser (filling
// the tab, or in a scroll box keeping the size a pop-up asked for) and the
// tab's own state, and reports what its page does through signals.
#include <QByteArray>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

#include "core/codes/stock_watch.h"
#include "core/tabs/lock_state.h"
#include "core/tabs/reload_ticks.h"

class QScrollArea;

namespace sorvi {

class WebBrowser;

// What a tab remembers of the lock while another tab is shown.
struct TabLockMemory {
  bool down = false;  // the lock button's state
  int state = kLockIconNone;
  QPointer<QWidget> target;
};

class BrowserTab : public QWidget {
  Q_OBJECT
 public:
  // `fill` false keeps the browser's present size in a scroll box. A null
  // browser makes a tab whose page waits (see SetWaitingPage).
  BrowserTab(WebBrowser* browser, bool fill, QWidget* parent = nullptr);
  // The browser goes first, while the tab it sits in still exists.
  ~BrowserTab() override;

  WebBrowser* Browser() const { return browser_; }
  // A pop-up takes the tab over: it sits where the old browser sat, at the
  // old one's size in a scroll box. Returns the old browser, disconnected
  // from this tab, for the caller to retire.
  WebBrowser* TakeOver(WebBrowser* popup);
  // Gives the browser up, unwired and hidden in `keeper`, so that it
  // outlives the tab (a download of its page goes on). The tab is empty
  // afterwards and only fit for closing.
  WebBrowser* ReleaseBrowser(QWidget* keeper);
  // ---- a page not loaded (a tab brought back from the last run, or one
  // asleep) ----
  // The tab holds no browser until it is shown or its reload falls due; it
  // keeps the address (code page 932 bytes), dialog suppression and, when
  // it slept, the page's history for then.
  void SetWaitingPage(std::string address, bool silent);
  bool PageWaiting() const { return !browser_ && !waiting_address_.empty(); }
  const std::string& WaitingAddress() const { return waiting_address_; }
  bool WaitingSilent() const { return waiting_silent_; }
  // Lets the browser go (page, view and all) and waits with `address` and
  // the page's history. Everything else the tab keeps stays.
  void Sleep(std::string address);
  // Puts `browser` in the tab (filling it). Returns the address to load;
  // `history` gets what the page's history was when it slept (empty for
  // none). A browser with a navigation of its own under way (a pop-up aimed
  // at the tab's name) takes no address and no history.
  std::string Wake(WebBrowser* browser, QByteArray* history = nullptr);
  // Woken and loading its page again (until that load finishes).
  bool Reloading() const { return reloading_; }

  // Makes a sized browser fill the tab.
  void FillClient();
  bool InScrollBox() const { return scroll_box_ != nullptr; }

  // ---- caption ----
  // A fixed caption (Shift-JIS) stays whatever the page's title; empty lets
  // the title show, "Loading..." until the first one arrives.
  void SetFixedCaption(const std::string& caption);
  // What SetFixedCaption shows for `caption`.
  static QString FixedCaptionText(const std::string& caption);
  bool HasFixedCaption() const { return fixed_caption_; }
  // The caption shown stays until the page's title replaces it.
  void LetTitleReplaceCaption() { fixed_caption_ = false; }

  // ---- the key macro to play after a load ----
  // Waits for a load that ends at exactly `address` (as the address box
  // shows it).
  void SetLoadKeyMacro(std::string macro, QString address);
  // Hands the macro over when `location` is the awaited address; empty
  // otherwise.
  std::string TakeLoadKeyMacro(const QString& location);
  bool AwaitsLoadKeyMacro() const { return !load_key_macro_.empty(); }

  // ---- bookkeeping of the strip and the navigation policy ----
  int ReturnIndex() const { return return_index_; }
  void SetReturnIndex(int index) { return_index_ = index; }
  int Family() const { return family_; }
  void SetFamily(int family) { family_ = family; }
  // The window name of the page, which links and pop-ups may aim at.
  const std::string& FrameName() const { return frame_name_; }
  void SetFrameName(std::string name) { frame_name_ = std::move(name); }

  // ---- automatic reload ----
  ReloadState Reload() const { return reload_; }
  void SetReload(ReloadState state) { reload_ = state; }
  // The stocks whose appearance on the page is told after each load; a
  // new watch starts by recording what the page shows.
  const StockWatch& Watch() const { return watch_; }
  void SetWatch(StockWatch watch);
  AppearanceRecord& Appearances() { return appearances_; }

  // ---- history and the lock ----
  bool CanGoBack() const { return can_go_back_; }
  bool CanGoForward() const { return can_go_forward_; }
  const TabLockMemory& LockMemory() const { return lock_; }
  void SetLockMemory(const TabLockMemory& memory) { lock_ = memory; }
  // Where in the lock target the user clicked.
  QPoint LockOffset() const { return lock_offset_; }
  void SetLockOffset(QPoint offset) { lock_offset_ = offset; }

  // ---- zoom ----
  // The tab's zoom (1.0 is 100 %), kept also when a pop-up takes the tab over.
  double ZoomFactor() const { return zoom_; }
  void SetZoomFactor(double factor);

 signals:
  void CaptionChanged(sorvi::BrowserTab* tab, const QString& caption);
  void StatusTextChanged(sorvi::BrowserTab* tab, const QString& text);
  // Of `progress_max` while loading; 0 or less when done.
  void ProgressChanged(sorvi::BrowserTab* tab, int progress, int progress_max);
  void HistoryChanged(sorvi::BrowserTab* tab);
  void BusyChanged(sorvi::BrowserTab* tab, bool busy);
  void LoadStarted(sorvi::BrowserTab* tab);
  void LoadFinished(sorvi::BrowserTab* tab);
  // The page asked to close its window (window.close()).
  void CloseRequested(sorvi::BrowserTab* tab);
  // A left press inside the page.
  void PagePressed(sorvi::BrowserTab* tab);
  // A download of this tab's page (see WebBrowser's signals of these names).
  void DownloadAsked(sorvi::BrowserTab* tab, bool accepted);
  void DownloadProgress(sorvi::BrowserTab* tab, const QString& path, qint64 received, qint64 total);
  void DownloadFinished(sorvi::BrowserTab* tab, const QString& path, bool ok, const QString& message);
  // The page asks to be shown full screen, or no longer.
  void FullScreenRequested(sorvi::BrowserTab* tab, bool on);

 private:
  void Wire(WebBrowser* browser);
  void Unwire(WebBrowser* browser);
  void OnTitle(const QString& title);
  void OnCommandState(int command, bool enable);
  void OnLoadFinished();
  void ReadFrameName();

  WebBrowser* browser_ = nullptr;
  QScrollArea* scroll_box_ = nullptr;
  bool fixed_caption_ = false;
  std::string load_key_macro_;
  QString load_key_macro_address_;
  int return_index_ = -1;
  int family_ = 0;
  std::string frame_name_;
  ReloadState reload_;
  StockWatch watch_;
  AppearanceRecord appearances_;
  bool can_go_back_ = false;
  bool can_go_forward_ = false;
  TabLockMemory lock_;
  QPoint lock_offset_;
  double zoom_ = 1.0;
  std::string waiting_address_;
  bool waiting_silent_ = false;
  QByteArray waiting_history_;
  bool reloading_ = false;
};

}  // namespace sorvi
