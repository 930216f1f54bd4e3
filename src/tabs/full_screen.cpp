#include "tabs/full_screen.h"

#include <QWidget>

#include "platform/web_browser.h"

namespace sorvi {

FullScreenHost::FullScreenHost(QWidget* window, QObject* parent) : QObject(parent), window_(window) {}

FullScreenHost::~FullScreenHost() { Leave(); }

void FullScreenHost::Enter(WebBrowser* browser) {
  if (!browser) return;
  if (browser_ == browser) return;
  Leave();
  active_ = true;
  browser_ = browser;
  home_ = browser->parentWidget();
  home_geometry_ = browser->geometry();
  home_fills_ = browser->FillsParent();
  home_visible_ = browser->isVisibleTo(home_ ? home_.data() : browser);
  window_state_ = window_->windowState();
  // The tab may go while the page is full screen (its browser with it).
  connect(browser, &QObject::destroyed, this, [this] { Leave(); });

  browser->setParent(window_);
  browser->SetFillsParent(true);
  browser->raise();
  browser->show();
  window_->setWindowState((window_state_ & ~Qt::WindowMinimized) | Qt::WindowFullScreen);
  browser->FocusPage();
}

void FullScreenHost::Leave() {
  if (!active_) return;
  active_ = false;
  WebBrowser* browser = browser_;
  browser_ = nullptr;
  if (browser) {
    disconnect(browser, &QObject::destroyed, this, nullptr);
    if (home_) {
      browser->setParent(home_);
      browser->SetFillsParent(home_fills_);
      if (!home_fills_) browser->setGeometry(home_geometry_);
      browser->setVisible(home_visible_);
    } else {
      // Its tab has gone meanwhile: whoever retired it deletes it.
      browser->hide();
    }
  }
  RestoreWindow();
  if (browser && home_ && home_visible_ && browser->isVisible()) browser->FocusPage();
}

void FullScreenHost::RestoreWindow() {
  if (window_->windowState() & Qt::WindowFullScreen) window_->setWindowState(window_state_ & ~Qt::WindowFullScreen);
}

}  // namespace sorvi
