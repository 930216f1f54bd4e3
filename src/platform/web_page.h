#pragma once
// Internal to WebBrowser: the engine page, whose overridable calls become
// the browser's notifications. Nothing outside src/platform/web_* uses it.
#include <QWebEnginePage>

namespace sorvi {

class WebBrowser;

class WebPage : public QWebEnginePage {
  Q_OBJECT

 public:
  WebPage(QWebEngineProfile* profile, WebBrowser* browser);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) override;
  QWebEnginePage* createWindow(WebWindowType type) override;
  void javaScriptAlert(const QUrl& origin, const QString& message) override;
  bool javaScriptConfirm(const QUrl& origin, const QString& message) override;
  bool javaScriptPrompt(const QUrl& origin, const QString& message, const QString& default_value,
                        QString* result) override;

 private:
  bool IsLeavePageQuestion(const QString& message) const;

  WebBrowser* browser_;
};

}  // namespace sorvi
