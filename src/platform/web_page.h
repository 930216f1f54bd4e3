#pragma once
// Internal to WebBrowser: the engine page, whose overridable calls and
// requests become the browser's notifications and questions. Nothing
// outside src/platform/web_* uses it.
#include <QWebEnginePage>
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#endif

class QAuthenticator;
class QWebEngineCertificateError;
class QWebEngineFullScreenRequest;

namespace sorvi {

class WebBrowser;

class WebPage : public QWebEnginePage {
  Q_OBJECT

 public:
  WebPage(QWebEngineProfile* profile, WebBrowser* browser);

  WebBrowser* Browser() const { return browser_; }

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int line,
                                const QString& source) override;
  void javaScriptAlert(const QUrl& origin, const QString& message) override;
  bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
  bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& default_value,
                        QString* result) override;

 private:
  bool IsLeavePageQuestion(const QString& message) const;
  void TranslateActions();

  void OnAuthenticationRequired(const QUrl& url, QAuthenticator* authenticator);
  void OnProxyAuthenticationRequired(const QUrl& url, QAuthenticator* authenticator, const QString& proxy_host);
  void OnCertificateError(const QWebEngineCertificateError& error);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  void OnPermissionRequested(QWebEnginePermission permission);
#else
  void OnFeaturePermissionRequested(const QUrl& origin, Feature feature);
#endif
  void OnFullScreenRequested(QWebEngineFullScreenRequest request);
  QWidget* DialogParent() const;
  static QString PageDialogTitle(const QUrl& origin);

  WebBrowser* browser_;
};

}  // namespace sorvi
