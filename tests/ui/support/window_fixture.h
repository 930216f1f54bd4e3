#pragma once
// The main window of a window test: a scratch data directory, a local web
// server, the window itself, and the moves tests make on it: open an
// address, wait for a tab's page, run a script in a page, click a tab.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

#include "support/local_http_server.h"
#include "support/scratch_dir.h"
#include "tabs/open_request.h"

class QTabBar;

namespace sorvi {
class TFormMain;
class TabController;
class WebBrowser;
}  // namespace sorvi

namespace sorvi::testing {

QByteArray Page(const QByteArray& title, const QByteArray& body = QByteArray());

struct WindowFixture {
  ScratchDir dir;
  LocalHttpServer server;
  std::unique_ptr<TFormMain> form;
  TabController* tabs = nullptr;

  // Serves "/<name>.html" titled "Page <name>" for each name, lets
  // `prepare` lay out the data files, then opens the window.
  explicit WindowFixture(std::initializer_list<const char*> pages = {},
                         const std::function<void(const ScratchDir&)>& prepare = {});
  ~WindowFixture();

  // The program closed and started again on the same directory.
  void Restart();
  // Serves the file tests/ui/pages/<file> at `path`.
  void ServeFile(const QByteArray& path, const char* file);

  QString Url(const QByteArray& path) const;
  int Count() const;
  int Active() const;
  QString Caption(int index) const;
  QTabBar* Bar() const;
  WebBrowser* Browser(int index) const;
  QVariant Js(WebBrowser* browser, const QString& script) const;

  // A request for a page of the server, as a bookmark would make it.
  OpenRequest Request(const QByteArray& path) const;
  // Types the address and runs the navigate button's handler.
  void Open(const QByteArray& path, bool shift = false);
  bool Loaded(int index, const QString& caption) const;
  bool WaitLoaded(int index, const QString& caption);
  bool OpenAndWait(const QByteArray& path, const QString& caption, bool shift = false);
  // A click on a tab's label, as the user switches tabs.
  void ClickTab(int index);
};

}  // namespace sorvi::testing
