#pragma once
// One tab: the page widget in the tab control and the record it carries.
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <string>

namespace sorvi {

class WebBrowser;

// Texts are Shift-JIS bytes where they come from the lists or meet the
// core rules; LoadKeyMacroAddress is the address box text as shown.
struct BrowserTab {
  WebBrowser* Browser = nullptr;
  // The widget that takes the page's keys, cached by key forwarding; reset
  // whenever Browser is replaced.
  QPointer<QWidget> ActiveObject;
  bool LockDown = false;
  int LockState = 0;
  int LockOffsetX = 0;
  int LockOffsetY = 0;
  QPointer<QWidget> LockTarget;
  std::string FrameName;
  bool CanGoBack = false;
  bool CanGoForward = false;
  bool FixedCaption = false;
  int ReturnIndex = -1;
  std::string LoadKeyMacro;
  QString LoadKeyMacroAddress;
  int ReloadInterval = 0;
  int ReloadCount = 0;
  int Family = 0;
};

// The page widget of a tab. It owns its record; the browser is a child,
// directly or inside a scroll box.
class TabSheet : public QWidget {
  Q_OBJECT
 public:
  explicit TabSheet(QWidget* parent = nullptr) : QWidget(parent), record_(std::make_unique<BrowserTab>()) {}

  BrowserTab* Tag() const { return record_.get(); }
  // Destroys the record ahead of the widget (the browser goes first).
  void DropRecord() { record_.reset(); }

 private:
  std::unique_ptr<BrowserTab> record_;
};

}  // namespace sorvi
