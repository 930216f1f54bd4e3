#include "platform/web_page.h"

#include <QCoreApplication>

#include "platform/web_browser.h"

namespace sorvi {

WebPage::WebPage(QWebEngineProfile* profile, WebBrowser* browser)
    : QWebEnginePage(profile), browser_(browser) {}

bool WebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) {
  // A server redirect is part of the navigation already announced.
  if (type == NavigationTypeRedirect) return true;
  return browser_->HandleNavigationRequest(url, is_main_frame);
}

QWebEnginePage* WebPage::createWindow(WebWindowType) {
  return browser_->HandleCreateWindow();
}

void WebPage::javaScriptAlert(const QUrl& origin, const QString& message) {
  if (browser_->Silent() || browser_->IsQuitting()) return;
  QWebEnginePage::javaScriptAlert(origin, message);
}

bool WebPage::javaScriptConfirm(const QUrl& origin, const QString& message) {
  // The engine asks about leaving a page with an unload handler through this
  // call too; a silent or retired browser must still be able to leave.
  if (browser_->IsQuitting()) return true;
  if (browser_->Silent()) return IsLeavePageQuestion(message);
  return QWebEnginePage::javaScriptConfirm(origin, message);
}

bool WebPage::javaScriptPrompt(const QUrl& origin, const QString& message, const QString& default_value,
                               QString* result) {
  if (browser_->Silent() || browser_->IsQuitting()) return false;
  return QWebEnginePage::javaScriptPrompt(origin, message, default_value, result);
}

bool WebPage::IsLeavePageQuestion(const QString& message) const {
  // The text the engine passes for an unload handler's question.
  return message == QCoreApplication::translate(
                        "QWebEnginePage",
                        "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

}  // namespace sorvi
