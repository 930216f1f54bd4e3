#pragma once
// A page's full screen: its browser leaves its tab for the whole of the main
// window, which goes full screen, and returns to the same place afterwards.
// The browser stays inside the same top-level window all along, so the
// engine keeps rendering into the window it was made for.
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

namespace sorvi {

class WebBrowser;

class FullScreenHost : public QObject {
  Q_OBJECT
 public:
  explicit FullScreenHost(QWidget* window, QObject* parent = nullptr);
  // Puts a browser still shown back where it came from.
  ~FullScreenHost() override;

  // Shows `browser` alone over the window, full screen. Another browser
  // shown so far goes back first.
  void Enter(WebBrowser* browser);
  // Puts the browser back into its place and the window into the state it
  // had. Nothing when no browser is shown.
  void Leave();

  bool Active() const { return active_; }
  WebBrowser* Browser() const { return browser_; }

 private:
  void RestoreWindow();

  QWidget* window_;
  bool active_ = false;
  QPointer<WebBrowser> browser_;
  QPointer<QWidget> home_;  // the browser's parent in its tab
  QRect home_geometry_;
  bool home_fills_ = false;
  bool home_visible_ = false;
  Qt::WindowStates window_state_;
};

}  // namespace sorvi
