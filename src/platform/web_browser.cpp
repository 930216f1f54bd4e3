#include "platform/web_browser.h"

#include <QAction>
#include <QApplication>
#include <QChildEvent>
#include <QDataStream>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineFindTextResult>
#include <QWebEngineHistory>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>
#include <utility>

#include "platform/page_menu.h"
#include "platform/page_reports.h"
#include "platform/web_address.h"
#include "platform/web_engine_profile.h"
#include "platform/web_page.h"

namespace sorvi {
namespace {

quint64 g_next_id = 1;
PageMenuExtension* g_page_menu_extension = nullptr;

const QUrl& BlankUrl() {
  static const QUrl url(QStringLiteral("about:blank"));
  return url;
}

// An address as the window request matcher compares it; one the engine
// cannot parse matches no request.
std::string AddressKey(const QUrl& url) {
  if (!url.isEmpty() && !url.isValid()) return "invalid:";
  return url.toString(QUrl::FullyEncoded).toStdString();
}

}  // namespace

void SetPageMenuExtension(PageMenuExtension* extension) { g_page_menu_extension = extension; }
PageMenuExtension* CurrentPageMenuExtension() { return g_page_menu_extension; }

WebBrowser::WebBrowser(WebBrowserOwner* owner, QWidget* parent) : QWidget(parent), id_(g_next_id++), owner_(owner) {
  web_engine::RegisterBrowser(this);
  page_ = new WebPage(web_engine::Profile(), this);
  // A view from the start, shown or not: a page that loads before it is
  // first shown is laid out at the view's size.
  AttachView();

  connect(page_, &QWebEnginePage::loadStarted, this, &WebBrowser::OnLoadStarted);
  connect(page_, &QWebEnginePage::loadProgress, this, &WebBrowser::OnLoadProgress);
  connect(page_, &QWebEnginePage::loadFinished, this, &WebBrowser::OnLoadFinished);
  connect(page_, &QWebEnginePage::titleChanged, this, [this](const QString& title) { emit TitleChange(this, title); });
  connect(page_, &QWebEnginePage::linkHovered, this, [this](const QString& url) { emit StatusTextChange(this, url); });
  connect(page_, &QWebEnginePage::windowCloseRequested, this, [this] { emit WindowClosing(this); });
  // History has no signals of its own; the page's actions follow it.
  connect(page_->action(QWebEnginePage::Back), &QAction::enabledChanged, this,
          [this](bool enabled) { emit CommandStateChange(this, kCommandBack, enabled); });
  connect(page_->action(QWebEnginePage::Forward), &QAction::enabledChanged, this,
          [this](bool enabled) { emit CommandStateChange(this, kCommandForward, enabled); });
}

WebBrowser::~WebBrowser() {
  web_engine::UnregisterBrowser(this);
  ReleasePage();
}

WebBrowser* WebBrowser::Create(WebBrowserOwner* owner, QWidget* parent) { return new WebBrowser(owner, parent); }

void WebBrowser::AttachView() {
  // A discarded page gets its view when it is made active (SetRest): the
  // engine cannot give it a new one, and shown it would load at once,
  // inside whatever showed it.
  if (view_ || !page_ || Rest() == PageRest::kDiscarded) return;
  view_ = new QWebEngineView(this);
  // Before the page: every widget the engine makes comes as a child of the
  // view, and the filter sees it arrive.
  view_->installEventFilter(this);
  view_->setGeometry(rect());
  view_->setPage(page_);
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(view_, &QWidget::customContextMenuRequested, this, &WebBrowser::ShowPageMenu);
  setFocusProxy(view_);
  if (isVisible()) view_->show();
}

bool WebBrowser::ReleaseView() {
  if (!view_ || !page_ || isVisible() || full_screen_ || printing_ > 0) return false;
  QWebEngineView* view = std::exchange(view_, nullptr);
  setFocusProxy(nullptr);
  delete view;
  return true;
}

bool WebBrowser::SetRest(PageRest rest) {
  if (!page_) return false;
  const PageRest now = Rest();
  if (rest == now) return true;
  if (rest == PageRest::kActive) {
    page_->setLifecycleState(QWebEnginePage::LifecycleState::Active);
    if (isVisible()) AttachView();  // shown while discarded, it waited for this
    return true;
  }
  // Not while shown (the engine refuses), nor with a load asked for and
  // not started yet (it would be cut off), nor while a script's answer is
  // awaited (a page that stops would never give it).
  if (isVisible() || page_->isVisible() || loading_ || load_asked_ || scripts_pending_ > 0) return false;
  if (rest == PageRest::kFrozen) {
    if (now == PageRest::kDiscarded) return false;
    page_->setLifecycleState(QWebEnginePage::LifecycleState::Frozen);
    return true;
  }
  if (view_ && !ReleaseView()) return false;
  page_->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
  return true;
}

PageRest WebBrowser::Rest() const {
  if (!page_) return PageRest::kActive;
  switch (page_->lifecycleState()) {
    case QWebEnginePage::LifecycleState::Frozen: return PageRest::kFrozen;
    case QWebEnginePage::LifecycleState::Discarded: return PageRest::kDiscarded;
    default: return PageRest::kActive;
  }
}

void WebBrowser::ShowPageMenu(QPoint pos) {
  if (!view_ || !page_) return;
  QMenu* menu = view_->createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose, true);
  if (const QWebEngineContextMenuRequest* request = view_->lastContextMenuRequest(); request && g_page_menu_extension) {
    PageMenuContext context;
    context.link_text = request->linkText();
    context.link_url = request->linkUrl();
    context.selected_text = request->selectedText();
    context.editable = request->isContentEditable();
    g_page_menu_extension->AddToPageMenu(menu, this, context);
  }
  menu->popup(view_->mapToGlobal(pos));
}

void WebBrowser::ReleasePage() {
  if (!page_) return;
  QObject::disconnect(page_, nullptr, this, nullptr);
  // The view stays, hidden for good: asked for its page while shown or
  // hidden it would make one in the engine's default profile. Deleting it
  // here is not safe either once the application is being torn down (its
  // render widget outlives the scene graph then); it goes with this widget.
  if (view_) view_->hide();
  delete page_;
  page_ = nullptr;
  loading_ = false;
  load_asked_ = false;
  scripts_pending_ = 0;
}

// ---- operations ----------------------------------------------------------

void WebBrowser::Navigate(const QByteArray& address) { Load(web_address::FromSjis(address)); }

void WebBrowser::Navigate(const QString& text) { Load(web_address::FromText(text)); }

void WebBrowser::Navigate2(const QString& url) { Load(web_address::FromText(url)); }

void WebBrowser::Load(const QUrl& url) {
  if (!page_ || url.isEmpty() || !url.isValid()) return;
  // The about:blank pop-up being announced already shows what the script
  // put into it; loading the address again would wipe that.
  if (announcing_blank_ && (url == BlankUrl() || url == page_->url())) return;
  quitting_ = false;
  load_asked_ = true;
  if (in_navigation_request_ > 0) {
    // Re-issued from inside the announcement of this page's navigation:
    // start it once the engine has had the answer.
    QTimer::singleShot(0, this, [this, url] {
      if (page_) page_->load(url);
    });
    return;
  }
  page_->load(url);
}

void WebBrowser::GoBack() {
  if (!page_) return;
  load_asked_ = page_->history()->canGoBack();
  page_->triggerAction(QWebEnginePage::Back);
}

void WebBrowser::GoForward() {
  if (!page_) return;
  load_asked_ = page_->history()->canGoForward();
  page_->triggerAction(QWebEnginePage::Forward);
}

void WebBrowser::Stop() {
  if (page_) page_->triggerAction(QWebEnginePage::Stop);
}

void WebBrowser::Refresh() {
  if (!page_) return;
  load_asked_ = true;
  page_->triggerAction(QWebEnginePage::Reload);
}

void WebBrowser::Quit() {
  if (!page_) return;
  page_->triggerAction(QWebEnginePage::Stop);
  Load(BlankUrl());
  quitting_ = true;  // after Load, which clears it for ordinary loads
}

void WebBrowser::Print() {
  if (!page_) return;
  // The dialog belongs to the window, never to this browser: a page may
  // close its tab while the dialog is open.
  const QPointer<WebBrowser> self(this);
  QWidget* top = window();
  auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
  QPointer<QPrintDialog> dialog = new QPrintDialog(printer.get(), top == this ? nullptr : top);
  const bool accepted = dialog->exec() == QDialog::Accepted;
  if (!dialog) return;  // its window went while it was open
  delete dialog;
  if (!accepted || !self || !page_) return;
  AttachView();
  // The printer must live until the engine has finished with it: the
  // connection holds it and goes with `job`.
  auto* job = new QObject(this);
  ++printing_;
  connect(view_, &QWebEngineView::printFinished, job, [this, job, printer](bool) {
    --printing_;
    job->deleteLater();
  });
  view_->print(printer.get());
}

void WebBrowser::PrintToPdf(const QString& path, std::function<void(bool ok)> done) {
  if (!page_) {
    if (done) done(false);
    return;
  }
  auto* request = new QObject(this);
  connect(page_, &QWebEnginePage::pdfPrintingFinished, request, [request, path, done](const QString& file, bool ok) {
    if (file != path) return;
    request->deleteLater();
    if (done) done(ok);
  });
  page_->printToPdf(path);
}

void WebBrowser::FindText(const QString& text, bool backward, std::function<void(int active, int count)> done) {
  if (!page_) {
    if (done) done(0, 0);
    return;
  }
  QWebEnginePage::FindFlags flags;
  if (backward) flags |= QWebEnginePage::FindBackward;
  QPointer<WebBrowser> self(this);
  page_->findText(text, flags, [self, done](const QWebEngineFindTextResult& result) {
    if (self && done) done(result.activeMatch(), result.numberOfMatches());
  });
}

void WebBrowser::SetZoomFactor(double factor) {
  if (page_) page_->setZoomFactor(qBound(0.25, factor, 5.0));
}

double WebBrowser::ZoomFactor() const { return page_ ? page_->zoomFactor() : 1.0; }

void WebBrowser::ExitFullScreen() {
  if (page_ && full_screen_) page_->triggerAction(QWebEnginePage::ExitFullScreen);
}

void WebBrowser::HandleFullScreenRequest(bool on) {
  if (full_screen_ == on) return;
  full_screen_ = on;
  emit FullScreenRequested(this, on);
}

// ---- properties ----------------------------------------------------------

QString WebBrowser::LocationURL() const { return page_ ? web_address::Display(page_->url()) : QString(); }

QString WebBrowser::CommittedURL() const {
  if (!page_) return QString();
  // A pop-up opened by script may give its pending address as the page's
  // address before anything is committed (always on newer engines, under
  // load on older ones), and keep it when the navigation turns into a
  // download; the history holds only what was committed.
  const QWebEngineHistoryItem current = page_->history()->currentItem();
  return current.isValid() ? web_address::Display(current.url()) : QString();
}

qint64 WebBrowser::RenderProcessId() const { return page_ ? page_->renderProcessPid() : 0; }

void WebBrowser::SetFillsParent(bool fill) {
  fills_parent_ = fill;
  WatchParent();
  FillParentNow();
}

void WebBrowser::WatchParent() {
  QWidget* parent = fills_parent_ ? parentWidget() : nullptr;
  if (parent == watched_parent_) return;
  if (watched_parent_) watched_parent_->removeEventFilter(this);
  watched_parent_ = parent;
  if (watched_parent_) watched_parent_->installEventFilter(this);
}

void WebBrowser::FillParentNow() {
  if (fills_parent_ && parentWidget()) setGeometry(parentWidget()->contentsRect());
}

// ---- focus, keys and clicks ----------------------------------------------

QWidget* WebBrowser::InputWidget() const {
  if (!page_ || !view_) return nullptr;
  return view_->focusProxy() ? view_->focusProxy() : view_;
}

QWidget* WebBrowser::FocusedInputWidget() const {
  QWidget* focused = QApplication::focusWidget();
  return ContainsWidget(focused) ? focused : nullptr;
}

bool WebBrowser::ContainsWidget(const QWidget* widget) const {
  return widget && view_ && (widget == view_ || view_->isAncestorOf(widget));
}

void WebBrowser::FocusPage() {
  if (page_ && view_) view_->setFocus(Qt::OtherFocusReason);
}

void WebBrowser::ClickAt(QPoint pos) {
  QWidget* target = InputWidget();
  if (!target) return;
  const QPointF local(pos);
  const QPointF global(target->mapToGlobal(pos));
  QCoreApplication::postEvent(
      target, new QMouseEvent(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
  QCoreApplication::postEvent(
      target, new QMouseEvent(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

void WebBrowser::SendClick(QWidget* widget, QPoint pos) {
  QPointer<QWidget> target(widget);
  if (!ContainsWidget(target)) return;
  const bool outer = std::exchange(sending_click_, true);
  const QPointF local(pos);
  QMouseEvent press(QEvent::MouseButtonPress, local, target->mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(target, &press);
  if (target) {
    QMouseEvent release(QEvent::MouseButtonRelease, local, target->mapToGlobal(local), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
  }
  sending_click_ = outer;
}

void WebBrowser::RunJavaScript(const QString& script, std::function<void(const QVariant&)> done) {
  // A discarded page has no document until it loads again.
  if (!page_ || Rest() == PageRest::kDiscarded) return;
  QPointer<WebBrowser> self(this);
  ++scripts_pending_;
  page_->runJavaScript(script, [self, done](const QVariant& result) {
    if (!self) return;
    if (self->scripts_pending_ > 0) --self->scripts_pending_;
    if (done) done(result);
  });
}

void WebBrowser::RunJavaScriptApart(const QString& script, std::function<void(const QVariant&)> done) {
  // A discarded page has no document until it loads again.
  if (!page_ || Rest() == PageRest::kDiscarded) return;
  QPointer<WebBrowser> self(this);
  ++scripts_pending_;
  page_->runJavaScript(script, QWebEngineScript::ApplicationWorld, [self, done](const QVariant& result) {
    if (!self) return;
    if (self->scripts_pending_ > 0) --self->scripts_pending_;
    if (done) done(result);
  });
}

void WebBrowser::DisconnectAll() {
  owner_ = nullptr;
  disconnect(this, &WebBrowser::WindowClosing, nullptr, nullptr);
  disconnect(this, &WebBrowser::DownloadBegin, nullptr, nullptr);
  disconnect(this, &WebBrowser::DownloadComplete, nullptr, nullptr);
  disconnect(this, &WebBrowser::ProgressChange, nullptr, nullptr);
  disconnect(this, &WebBrowser::StatusTextChange, nullptr, nullptr);
  disconnect(this, &WebBrowser::TitleChange, nullptr, nullptr);
  disconnect(this, &WebBrowser::CommandStateChange, nullptr, nullptr);
  disconnect(this, &WebBrowser::PageMousePressed, nullptr, nullptr);
  disconnect(this, &WebBrowser::DownloadAsked, nullptr, nullptr);
  disconnect(this, &WebBrowser::DownloadProgress, nullptr, nullptr);
  disconnect(this, &WebBrowser::DownloadFinished, nullptr, nullptr);
  disconnect(this, &WebBrowser::FullScreenRequested, nullptr, nullptr);
}

// ---- addresses -----------------------------------------------------------

QUrl WebBrowser::UrlFromSjisAddress(const QByteArray& sjis) { return web_address::FromSjis(sjis); }

QUrl WebBrowser::UrlFromAddressText(const QString& text) { return web_address::FromText(text); }

QString WebBrowser::DisplayAddress(const QUrl& url) { return web_address::Display(url); }

// ---- events --------------------------------------------------------------

bool WebBrowser::event(QEvent* e) {
  if (e->type() == QEvent::ParentChange) {
    WatchParent();
    FillParentNow();
  }
  return QWidget::event(e);
}

void WebBrowser::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (view_) view_->setGeometry(rect());
}

void WebBrowser::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  AttachView();
}

bool WebBrowser::eventFilter(QObject* watched, QEvent* e) {
  if (watched == watched_parent_) {
    if (e->type() == QEvent::Resize) FillParentNow();
    return false;
  }
  if (watched == view_) {
    // The widget that renders the page is made by the engine, and made anew
    // when the page moves to another renderer.
    if (e->type() == QEvent::ChildAdded) {
      QObject* child = static_cast<QChildEvent*>(e)->child();
      if (child->isWidgetType()) child->installEventFilter(this);
    }
  }
  if (full_screen_ && e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape && view_ &&
      view_->isAncestorOf(qobject_cast<QWidget*>(watched))) {
    ExitFullScreen();
    return true;
  }
  if (e->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton &&
      !sending_click_ && view_ && watched != view_ && view_->isAncestorOf(qobject_cast<QWidget*>(watched))) {
    // Only the engine's widgets: a press they leave alone reaches the view
    // too and must not count twice.
    emit PageMousePressed(this);
  }
  return false;
}

// ---- calls from the page -------------------------------------------------

bool WebBrowser::HandleNavigationRequest(const QUrl& url, bool is_main_frame) {
  if (is_main_frame) navigation_announced_ = true;
  if (!owner_) return true;
  ++in_navigation_request_;
  const bool go_on =
      owner_->BeforeNavigate2(this, web_address::Display(url), is_main_frame, is_main_frame ? window_name_ : QString());
  --in_navigation_request_;
  return go_on;
}

void WebBrowser::HandleNewWindowRequest(QWebEngineNewWindowRequest& request) {
  const QUrl url = request.requestedUrl();
  EngineWindowRequest asked;
  asked.address = AddressKey(url);
  asked.background = request.destination() == QWebEngineNewWindowRequest::InNewBackgroundTab;
  asked.dialog = request.destination() == QWebEngineNewWindowRequest::InNewDialog;
  const QRect geometry = request.requestedGeometry();
  asked.width = geometry.width();
  asked.height = geometry.height();
  // The script's report came just before the request.
  const RequestedWindow window = window_requests_.Match(asked);

  NewWindowRequest info;
  // The engine asks for a window without an address as "about:blank#blocked".
  const bool blank = url.isEmpty() || url.adjusted(QUrl::RemoveFragment) == BlankUrl();
  info.url = blank ? BlankUrl().toString() : web_address::Display(url);
  info.background = asked.background;
  info.targetName = QString::fromStdString(window.target_name);
  info.width = window.width;
  info.height = window.height;

  WebBrowser* created = owner_ ? owner_->NewWindow2(this, info) : nullptr;
  if (!created || created == this || !created->page_) return;  // not opened: dropped
  created->opened_by_page_ = true;
  if (window.scripted) created->opener_ = this;
  created->window_name_ = info.targetName;
  request.openIn(created->page_);
}

void WebBrowser::HandleReport(const page_reports::Report& report) {
  using Kind = page_reports::Report::Kind;
  switch (report.kind) {
    case Kind::Open:
    case Kind::Target:
      window_requests_.Remember({report.kind == Kind::Open ? WindowReport::Kind::Open : WindowReport::Kind::Target,
                                 AddressKey(QUrl(report.url)), report.name.toStdString(),
                                 report.features.toStdString()});
      break;
    case Kind::Name: window_name_ = report.name; break;
    case Kind::Close: emit WindowClosing(this); break;
    case Kind::Edited: edited_ = true; break;
  }
}

void WebBrowser::OnLoadStarted() {
  loading_ = true;
  load_asked_ = false;
  edited_ = false;
  if (opened_by_page_ && !navigation_announced_) {
    // A script opened this page on about:blank (or on nothing); the engine
    // loads that without asking, but the owner places pop-ups by their
    // first announced navigation.
    navigation_announced_ = true;
    const QUrl url = page_->url().isEmpty() ? BlankUrl() : page_->url();
    announcing_blank_ = true;
    if (owner_) owner_->BeforeNavigate2(this, web_address::Display(url), true, QString());  // too late to stop it
    announcing_blank_ = false;
  }
  emit DownloadBegin(this);
  emit CommandStateChange(this, kCommandAll, true);
}

bool WebBrowser::RecentlyAudible() const { return page_ && page_->recentlyAudible(); }

QByteArray WebBrowser::SaveHistory() const {
  QByteArray saved;
  if (!page_) return saved;
  QDataStream stream(&saved, QIODevice::WriteOnly);
  stream << *page_->history();
  return saved;
}

bool WebBrowser::RestoreHistory(const QByteArray& saved) {
  if (!page_ || saved.isEmpty()) return false;
  QDataStream stream(saved);
  stream >> *page_->history();
  return stream.status() == QDataStream::Ok && page_->history()->count() > 0;
}

void WebBrowser::OnLoadProgress(int progress) {
  // The engine may report the end once more after the load has finished.
  if (loading_) emit ProgressChange(this, progress, 100);
}

void WebBrowser::OnLoadFinished(bool ok) {
  loading_ = false;
  load_asked_ = false;
  last_load_ok_ = ok;
  // Before the notifications: script their receivers run reads the page
  // as nameless already.
  if (!register_as_browser_) ForgetWindowName();
  emit ProgressChange(this, -1, 100);
  emit DownloadComplete(this);
  emit CommandStateChange(this, kCommandAll, false);
}

void WebBrowser::SetRegisterAsBrowser(bool on) {
  register_as_browser_ = on;
  if (!on) ForgetWindowName();
}

void WebBrowser::ForgetWindowName() {
  // A page that has loaded nothing yet may still be waiting to take in the
  // window a page opens: running script would start it as a blank page.
  if (!page_ || page_->url().isEmpty()) return;
  RunJavaScript(QStringLiteral("window.name = '';"));
}

}  // namespace sorvi
