#pragma once
// A main window in a scratch directory with a local web server, and the
// moves tab tests make on it: open an address, wait for a tab's page, click
// a tab.
#include <QByteArray>
#include <QString>
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

struct TabsFixture {
  ScratchDir dir;
  LocalHttpServer server;
  std::unique_ptr<TFormMain> form;
  TabController* tabs = nullptr;

  // Serves "/<name>.html" titled "Page <name>" for each name, then opens
  // the window.
  explicit TabsFixture(std::initializer_list<const char*> pages);
  ~TabsFixture();

  QString Url(const QByteArray& path) const;
  int Count() const;
  int Active() const;
  QString Caption(int index) const;
  QTabBar* Bar() const;
  WebBrowser* Browser(int index) const;

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
