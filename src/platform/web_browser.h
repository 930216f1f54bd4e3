#pragma once
// The web browser control of a tab: the one place through which the program
// uses the web engine. Nothing of the engine shows in this header.
//
// Notifications are Qt signals delivered on the UI thread, often from inside
// a call made on the browser; what needs an answer goes to the browser's
// owner (web_browser_owner.h). Never delete a browser inside one of its own
// notifications; retire it (DisconnectAll, Stop, Quit) and delete it later.
#include <QByteArray>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariant>
#include <QWidget>
#include <functional>

#include "core/tabs/tab_sleep.h"
#include "core/tabs/window_requests.h"
#include "platform/web_browser_owner.h"
#include "platform/web_questions.h"

class QWebEngineNewWindowRequest;
class QWebEngineView;

namespace sorvi {

class WebPage;
namespace page_reports {
struct Report;
}

// Qt::AA_ShareOpenGLContexts and the engine's process model (tabs of one
// site share a renderer) must be set before QApplication exists. Cheap: the
// engine itself starts with the first browser.
void PrepareWebEngineBeforeQApplication();

// The engine state shared by all browsers: one persistent profile (cookies,
// cache, local storage) kept in a directory: the tabs set the data
// directory's "WebData" before the first browser. Programs that set none
// (tests, benchmarks) get $SORVI_WEBDATA, else "WebData" beside themselves.
class WebEngine {
 public:
  // Takes effect for the profile made after the call (the first browser, or
  // the first one after Shutdown).
  static void SetStoragePath(const QString& dir);
  static QString StoragePath();
  static bool IsStarted();
  // Releases the pages of browsers still alive and destroys the profile,
  // which writes cookies to disk. The tab controller calls this after
  // deleting its tabs; it also runs when the application quits. A browser
  // made later starts the engine again.
  static void Shutdown();
};

class WebBrowser : public QWidget {
  Q_OBJECT

 public:
  // Values of CommandStateChange's `command`.
  enum Command { kCommandAll = -1, kCommandForward = 1, kCommandBack = 2 };

  // `owner` answers the page's navigations and new windows; without one
  // every navigation goes on and every new window is dropped.
  explicit WebBrowser(WebBrowserOwner* owner = nullptr, QWidget* parent = nullptr);
  ~WebBrowser() override;
  static WebBrowser* Create(WebBrowserOwner* owner = nullptr, QWidget* parent = nullptr);

  // The owner must outlive the browser, or be taken away before it goes.
  void SetOwner(WebBrowserOwner* owner) { owner_ = owner; }

  // Unique among the browsers of this run; never reused.
  quint64 Id() const { return id_; }
  // The name of the page's window (which links and scripts aim at): given
  // when a page opened it, or set by its own script; empty for none.
  QString WindowName() const { return window_name_; }

  // ---- operations ----
  // `address` is address-box text in code page 932 (see UrlFromSjisAddress).
  void Navigate(const QByteArray& address);
  // `text` as the address box shows it (see UrlFromAddressText).
  void Navigate(const QString& text);
  // Re-issues a navigation announced by BeforeNavigate2 (its `url`); as a
  // plain load it carries no post data.
  void Navigate2(const QString& url);
  void GoBack();
  void GoForward();
  void Stop();
  void Refresh();
  // Stops and lets go of the page (loads "about:blank" without asking the
  // page whether it may be left).
  void Quit();
  // The platform print dialog, then the page on the chosen printer.
  void Print();
  // Prints the page to a PDF file without a dialog; `done` gets the result.
  void PrintToPdf(const QString& path, std::function<void(bool ok)> done = {});

  // Finds `text` in the page from the current match on, forwards or
  // backwards, wrapping round, and highlights it; `done` gets the number of
  // the now active match (1-based, 0 when none) and the count of matches.
  // Empty text ends the search and removes the highlight.
  void FindText(const QString& text, bool backward, std::function<void(int active, int count)> done = {});
  // The page's zoom: 1.0 is 100 %; kept between 0.25 and 5.0. It stays
  // with this browser across its navigations.
  void SetZoomFactor(double factor);
  double ZoomFactor() const;
  // Leaves the full screen a page asked for (FullScreenRequested); Esc
  // pressed in the page does the same.
  void ExitFullScreen();
  bool IsFullScreen() const { return full_screen_; }
  bool Printing() const { return printing_ > 0; }

  // ---- what a new load of the page would lose ----
  // The user typed into or changed a form field of the page since its
  // last load started.
  bool Edited() const { return edited_; }
  bool RecentlyAudible() const;
  // The page whose script opened this one, while both live (each may hold
  // the other by script); null for pages opened otherwise.
  WebBrowser* Opener() const { return opener_; }
  // The back/forward history (with what the engine keeps of each entry,
  // such as the scroll position) as bytes, and a fresh page's history made
  // from them: the page then loads its current entry.
  QByteArray SaveHistory() const;
  bool RestoreHistory(const QByteArray& saved);

  // ---- properties ----
  // The address shown for the page (UrlFromSjisAddress reversed for code
  // page 932 text); empty before any page.
  QString LocationURL() const;
  // The address of the page last committed, the one the view shows; empty
  // (or "about:blank") while none has been, e.g. when the first navigation
  // of a pop-up became a download.
  QString CommittedURL() const;
  // The id of the engine's renderer process showing the page; 0 while it
  // has none.
  qint64 RenderProcessId() const;
  // True from the start of a page load until it has finished.
  bool Busy() const { return loading_; }
  // The last load ended with the page (not an error page).
  bool LastLoadSucceeded() const { return last_load_ok_; }
  // True: the page's alert, confirm and prompt boxes are not shown (alert
  // returns at once, confirm and prompt answer "cancel"; leaving a page with
  // an unload handler is allowed).
  bool Silent() const { return silent_; }
  void SetSilent(bool silent) { silent_ = silent; }
  // Whether links and scripts aimed at a window name may find this page.
  // The engine always lets them find a page tied to theirs by an opener and
  // cannot be told otherwise, so off means: the page's window name is
  // cleared when switched off and after every load, and a link naming it
  // asks for a new window instead (NewWindow2). A name a script sets after
  // the load holds until the next load.
  bool RegisterAsBrowser() const { return register_as_browser_; }
  void SetRegisterAsBrowser(bool on);
  // Like a child control aligned to its whole client area: while set, the
  // browser keeps the geometry of its parent's contents rectangle (also
  // after the parent changes). Off in a new browser.
  bool FillsParent() const { return fills_parent_; }
  void SetFillsParent(bool fill);

  // ---- focus, keys and clicks ----
  // The widget that takes the page's keys and mouse (the view's focus proxy
  // once the page has rendered, the view before that); null after the page
  // has been released by WebEngine::Shutdown.
  QWidget* InputWidget() const;
  // The widget inside this browser that has the keyboard focus, or null.
  QWidget* FocusedInputWidget() const;
  // Whether the widgets that draw the page exist (see ReleaseView).
  bool HasView() const { return view_ != nullptr; }
  // Lets go of the widgets that draw the page: a window-sized picture or
  // more per view. The page keeps loading and running its scripts at the
  // size it was last shown; a view is made again when the browser is
  // shown. Refused (false) while shown, full screen or printing.
  bool ReleaseView();
  // How the page spends its time out of sight (see PageRest). Refused
  // (false) while it is shown, a load is under way or a script's answer is
  // awaited, and from discarded to frozen. A frozen page is made active whenever it is shown or loads; a
  // discarded one loads anew when it reloads or is made active, and gives
  // up its view: shown, it stays empty until made active.
  bool SetRest(PageRest rest);
  PageRest Rest() const;
  // Whether `widget` is one of this browser's widgets (a lock target taken
  // from FocusedInputWidget may have been replaced since: the engine makes
  // its input widget anew when a page moves to another renderer).
  bool ContainsWidget(const QWidget* widget) const;
  // Gives the keyboard focus to the page.
  void FocusPage();
  // A left click at `pos` in InputWidget's coordinates (posted events).
  void ClickAt(QPoint pos);
  // The program's own left click at `pos` in `widget`'s coordinates (one of
  // this browser's widgets), delivered at once. Not reported as the user's
  // press (PageMousePressed): it must not move the lock.
  void SendClick(QWidget* widget, QPoint pos);

  // Runs script in the page; `done` receives its result on the UI thread
  // (not called once the browser is gone). E.g. "window.name". A discarded
  // page (see SetRest) runs nothing: it has no document until it loads.
  void RunJavaScript(const QString& script, std::function<void(const QVariant&)> done = {});
  // The same in the program's own world of the page, which the page's
  // scripts can neither see nor change (the stock marks live there).
  void RunJavaScriptApart(const QString& script, std::function<void(const QVariant&)> done = {});

  // Unwires every receiver of the notifications below and lets go of the
  // owner, so that a retired browser sends and asks nothing more.
  void DisconnectAll();

  // ---- addresses ----
  // Address-box bytes (code page 932) to the address the engine loads:
  // "/..." and "file:..." become file URLs; without a scheme "http://" is
  // put in front; for http, https and ftp every byte after the host stays
  // as it is except bytes from 0x80 up, both bytes of a double-byte
  // character, controls, space, '"', '<' and '>', which are percent-encoded,
  // so that the server receives exactly the bytes given.
  static QUrl UrlFromSjisAddress(const QByteArray& sjis);
  // Text as the address box shows it: what code page 932 can hold goes the
  // way of UrlFromSjisAddress, anything else is encoded as UTF-8.
  static QUrl UrlFromAddressText(const QString& text);
  // The shown form of an address: percent-encoded code page 932 text
  // decoded (UTF-8 escapes stay encoded), so that
  // UrlFromAddressText(DisplayAddress(u)) gives u again.
  static QString DisplayAddress(const QUrl& url);

  // ---- questions ----
  // Where a download goes, a log-in, a bad certificate: asked in the
  // program's Japanese dialogs unless a hook answers (see web_questions.h).
  static void SetSaveFileHook(web_questions::SaveFileHook hook) { web_questions::SetSaveFileHook(std::move(hook)); }
  static void SetLoginHook(web_questions::LoginHook hook) { web_questions::SetLoginHook(std::move(hook)); }
  static void SetCertificateHook(web_questions::CertificateHook hook) {
    web_questions::SetCertificateHook(std::move(hook));
  }

 signals:
  // A script called window.close() in the page (any page, not only one a
  // script opened). Nothing happens here: the receiver closes.
  void WindowClosing(sorvi::WebBrowser* self);
  // A page load starts / has finished (LocationURL is current then).
  void DownloadBegin(sorvi::WebBrowser* self);
  void DownloadComplete(sorvi::WebBrowser* self);
  // Progress 0..100 of 100 while loading; -1 once the load has finished.
  void ProgressChange(sorvi::WebBrowser* self, int progress, int progressMax);
  // The address of the link under the mouse; empty when it leaves the link.
  void StatusTextChange(sorvi::WebBrowser* self, const QString& text);
  // The page's title; while none is known, a text made of the address.
  void TitleChange(sorvi::WebBrowser* self, const QString& text);
  // kCommandBack / kCommandForward with their new enabled state when history
  // allows or stops allowing the move; kCommandAll at load start and end
  // (read Busy()).
  void CommandStateChange(sorvi::WebBrowser* self, int command, bool enable);
  // A left mouse button went down inside the page (before the page handles
  // it).
  void PageMousePressed(sorvi::WebBrowser* self);

  // The user has been asked where to save a download of this page:
  // `accepted` false when they declined (nothing is saved, nothing follows).
  // Sent before any progress. A page opened only for the file (a link to it
  // with a target) stays without content either way.
  void DownloadAsked(sorvi::WebBrowser* self, bool accepted);
  // A download this browser's page started, after the user has said where
  // to save it (nothing is saved without asking): bytes received so far of
  // `total` (-1 while unknown), `path` where it goes.
  void DownloadProgress(sorvi::WebBrowser* self, const QString& path, qint64 received, qint64 total);
  // The download has ended: `ok` false when it failed or was stopped.
  // `message` says so in Japanese, for the status bar.
  void DownloadFinished(sorvi::WebBrowser* self, const QString& path, bool ok, const QString& message);
  // The page asked to go full screen (a chart's full-screen button) or to
  // leave it; the engine has agreed. The owner shows this browser alone,
  // full screen, while `on`, and puts it back afterwards.
  void FullScreenRequested(sorvi::WebBrowser* self, bool on);

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  friend class WebPage;
  friend class WebEngine;

  void Load(const QUrl& url);
  void ReleasePage();
  void AttachView();
  void ShowPageMenu(QPoint pos);
  void WatchParent();
  void FillParentNow();

  // Calls from the page.
  bool HandleNavigationRequest(const QUrl& url, bool is_main_frame);
  void HandleNewWindowRequest(QWebEngineNewWindowRequest& request);
  void HandleReport(const page_reports::Report& report);
  bool IsQuitting() const { return quitting_; }

  void OnLoadStarted();
  void OnLoadProgress(int progress);
  void OnLoadFinished(bool ok);
  void HandleFullScreenRequest(bool on);
  void ForgetWindowName();

  quint64 id_ = 0;
  WebBrowserOwner* owner_ = nullptr;
  QWebEngineView* view_ = nullptr;
  WebPage* page_ = nullptr;
  QWidget* watched_parent_ = nullptr;
  bool loading_ = false;
  bool load_asked_ = false;  // a load asked for has not started yet
  int scripts_pending_ = 0;  // scripts run whose answer has not come yet
  bool last_load_ok_ = false;
  bool silent_ = false;
  bool register_as_browser_ = true;
  bool fills_parent_ = false;
  bool quitting_ = false;
  bool full_screen_ = false;
  bool sending_click_ = false;
  int printing_ = 0;             // print jobs drawing from the view
  bool opened_by_page_ = false;  // made for a page's new-window request
  bool edited_ = false;
  QPointer<WebBrowser> opener_;
  QString window_name_;
  // The page's last window.open calls and named link or form activations,
  // until a new-window request claims one.
  WindowRequestMatcher window_requests_;
  bool navigation_announced_ = false;
  bool announcing_blank_ = false;  // inside the announcement of an about:blank pop-up
  int in_navigation_request_ = 0;
};

}  // namespace sorvi
