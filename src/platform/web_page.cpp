#include "platform/web_page.h"

#include <QAction>
#include <QApplication>
#include <QAuthenticator>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QWebEngineCertificateError>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineScriptCollection>

#include "platform/certificate_exceptions.h"
#include "platform/page_reports.h"
#include "platform/web_browser.h"
#include "platform/web_questions.h"

namespace sorvi {

WebPage::WebPage(QWebEngineProfile* profile, WebBrowser* browser) : QWebEnginePage(profile), browser_(browser) {
  TranslateActions();
  connect(this, &QWebEnginePage::authenticationRequired, this, &WebPage::OnAuthenticationRequired);
  connect(this, &QWebEnginePage::proxyAuthenticationRequired, this, &WebPage::OnProxyAuthenticationRequired);
  connect(this, &QWebEnginePage::certificateError, this, &WebPage::OnCertificateError);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  connect(this, &QWebEnginePage::permissionRequested, this, &WebPage::OnPermissionRequested);
#else
  connect(this, &QWebEnginePage::featurePermissionRequested, this, &WebPage::OnFeaturePermissionRequested);
#endif
  connect(this, &QWebEnginePage::fullScreenRequested, this, &WebPage::OnFullScreenRequested);
  // Without createWindow of its own the page asks through this signal,
  // which carries the address and size before anything is loaded.
  connect(this, &QWebEnginePage::newWindowRequested, this,
          [this](QWebEngineNewWindowRequest& request) { browser_->HandleNewWindowRequest(request); });
  scripts().insert(page_reports::Script());
}

bool WebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) {
  // A server redirect is part of the navigation already announced.
  if (type == NavigationTypeRedirect) return true;
  return browser_->HandleNavigationRequest(url, is_main_frame);
}

void WebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                       const QString& source) {
  if (const auto report = page_reports::Parse(message)) {
    browser_->HandleReport(*report);
    return;
  }
  QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
}

// The page's own boxes belong to the window, never to the view, which may
// go while one is open; they are made on the heap for the same reason.
void WebPage::javaScriptAlert(const QUrl& origin, const QString& message) {
  if (browser_->Silent() || browser_->IsQuitting()) return;
  QPointer<QMessageBox> box =
      new QMessageBox(QMessageBox::Information, PageDialogTitle(origin), message, QMessageBox::Ok, DialogParent());
  box->exec();
  delete box;
}

bool WebPage::javaScriptConfirm(const QUrl& origin, const QString& message) {
  // The engine asks about leaving a page with an unload handler through this
  // call too; a silent or retired browser must still be able to leave.
  if (browser_->IsQuitting()) return true;
  const bool leaving = IsLeavePageQuestion(message);
  if (browser_->Silent()) return leaving;
  const QString text =
      leaving ? QStringLiteral("このページから移動しますか？\n入力した内容は保存されない可能性があります。") : message;
  QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Question, PageDialogTitle(origin), text,
                                              QMessageBox::Ok | QMessageBox::Cancel, DialogParent());
  const bool ok = box->exec() == QMessageBox::Ok;
  delete box;
  return ok;
}

bool WebPage::javaScriptPrompt(const QUrl& origin, const QString& message, const QString& default_value,
                               QString* result) {
  if (browser_->Silent() || browser_->IsQuitting()) return false;
  QPointer<QInputDialog> dialog = new QInputDialog(DialogParent());
  dialog->setWindowTitle(PageDialogTitle(origin));
  dialog->setLabelText(message);
  dialog->setTextValue(default_value);
  const bool ok = dialog->exec() == QDialog::Accepted && dialog;
  if (ok && result) *result = dialog->textValue();
  delete dialog;
  return ok;
}

QString WebPage::PageDialogTitle(const QUrl& origin) {
  return origin.host().isEmpty() ? QApplication::applicationDisplayName()
                                 : QStringLiteral("%1 の内容").arg(origin.host());
}

bool WebPage::IsLeavePageQuestion(const QString& message) const {
  // The text the engine passes for an unload handler's question.
  return message ==
         QCoreApplication::translate(
             "QWebEnginePage", "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

void WebPage::TranslateActions() {
  // The page's context menu is made of these actions; Qt ships no Japanese
  // texts for them.
  static const struct {
    WebAction action;
    const char* text;
  } kTexts[] = {
      {Back, "戻る"},
      {Forward, "進む"},
      {Stop, "中止"},
      {Reload, "再読み込み"},
      {Cut, "切り取り"},
      {Copy, "コピー"},
      {Paste, "貼り付け"},
      {Undo, "元に戻す"},
      {Redo, "やり直し"},
      {SelectAll, "すべて選択"},
      {PasteAndMatchStyle, "書式なしで貼り付け"},
      {Unselect, "選択を解除"},
      {OpenLinkInThisWindow, "リンクをこのタブで開く"},
      {OpenLinkInNewWindow, "リンクを新しいウィンドウで開く"},
      {OpenLinkInNewTab, "リンクを新しいタブで開く"},
      {OpenLinkInNewBackgroundTab, "リンクを裏のタブで開く"},
      {CopyLinkToClipboard, "リンクのアドレスをコピー"},
      {DownloadLinkToDisk, "リンク先を保存"},
      {CopyImageToClipboard, "画像をコピー"},
      {CopyImageUrlToClipboard, "画像のアドレスをコピー"},
      {DownloadImageToDisk, "画像を保存"},
      {CopyMediaUrlToClipboard, "メディアのアドレスをコピー"},
      {ToggleMediaControls, "コントロールを表示"},
      {ToggleMediaLoop, "ループ再生"},
      {ToggleMediaPlayPause, "再生/一時停止"},
      {ToggleMediaMute, "ミュート"},
      {DownloadMediaToDisk, "メディアを保存"},
      {InspectElement, "要素を検証"},
      {ExitFullScreen, "全画面表示を終了"},
      {SavePage, "名前を付けて保存"},
      {ViewSource, "ページのソースを表示"},
  };
  for (const auto& entry : kTexts) action(entry.action)->setText(QString::fromUtf8(entry.text));
}

QWidget* WebPage::DialogParent() const {
  // The top-level window, not the view, which may go while a dialog is open.
  QWidget* window = browser_->window();
  return window == browser_ ? nullptr : window;
}

// ---- log-in --------------------------------------------------------------

void WebPage::OnAuthenticationRequired(const QUrl& url, QAuthenticator* authenticator) {
  LoginQuestion question;
  question.parent = DialogParent();
  question.host = url.port() > 0 ? QStringLiteral("%1:%2").arg(url.host()).arg(url.port()) : url.host();
  question.realm = authenticator->realm();
  LoginAnswer answer;
  if (browser_->Silent() || !web_questions::AskLogin(question, &answer)) {
    *authenticator = QAuthenticator();  // null: the server's own page is shown
    return;
  }
  authenticator->setUser(answer.user);
  authenticator->setPassword(answer.password);
}

void WebPage::OnProxyAuthenticationRequired(const QUrl&, QAuthenticator* authenticator, const QString& proxy_host) {
  LoginQuestion question;
  question.parent = DialogParent();
  question.host = proxy_host;
  question.realm = authenticator->realm();
  question.proxy = true;
  LoginAnswer answer;
  if (!web_questions::AskLogin(question, &answer)) {
    *authenticator = QAuthenticator();
    return;
  }
  authenticator->setUser(answer.user);
  authenticator->setPassword(answer.password);
}

// ---- certificates --------------------------------------------------------

void WebPage::OnCertificateError(const QWebEngineCertificateError& error) {
  certificate_exceptions::Decide(error, DialogParent());
}

// ---- permissions and full screen -----------------------------------------

// A chart viewer has no use for notifications, position, camera,
// microphone, screen capture or pointer lock: refused without asking.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
void WebPage::OnPermissionRequested(QWebEnginePermission permission) { permission.deny(); }
#else
void WebPage::OnFeaturePermissionRequested(const QUrl& origin, Feature feature) {
  setFeaturePermission(origin, feature, PermissionDeniedByUser);
}
#endif

void WebPage::OnFullScreenRequested(QWebEngineFullScreenRequest request) {
  request.accept();
  browser_->HandleFullScreenRequest(request.toggleOn());
}

}  // namespace sorvi
