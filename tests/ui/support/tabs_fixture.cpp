#include "support/find_widget.h"
#include "support/tabs_fixture.h"

#include <QComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "app/main_window.h"
#include "platform/web_browser.h"
#include "support/event_wait.h"
#include "tabs/address_box.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"

namespace sorvi::testing {

QByteArray Page(const QByteArray& title, const QByteArray& body) {
  return "<html><head><title>" + title + "</title></head><body style=\"margin:0\">" + body + "</body></html>";
}

TabsFixture::TabsFixture(std::initializer_list<const char*> pages) {
  for (const char* name : pages) server.Serve(QByteArray("/") + name + ".html", Page(QByteArray("Page ") + name));
  form = std::make_unique<TFormMain>(dir.Path());
  form->show();
  if (!QTest::qWaitForWindowExposed(form.get())) qWarning("window not exposed");
  tabs = form->Tabs();
}

TabsFixture::~TabsFixture() {
  form.reset();
  // The engine writes the last of its profile shortly after letting go of
  // it; let that happen before the scratch directory goes.
  Spin(100);
}

QString TabsFixture::Url(const QByteArray& path) const { return QString::fromLatin1(server.Origin() + path); }
int TabsFixture::Count() const { return tabs->Count(); }
int TabsFixture::Active() const { return tabs->ActiveIndex(); }
QString TabsFixture::Caption(int index) const { return tabs->Caption(index); }
QTabBar* TabsFixture::Bar() const { return Find<QTabWidget>(form.get(), "PageControl")->tabBar(); }
WebBrowser* TabsFixture::Browser(int index) const { return tabs->TabAt(index)->Browser(); }

OpenRequest TabsFixture::Request(const QByteArray& path) const {
  OpenRequest request;
  request.address = (server.Origin() + path).toStdString();
  return request;
}

void TabsFixture::Open(const QByteArray& path, bool shift) {
  form->Address()->Show(Url(path));
  form->ToolButtonNavigateClick(shift ? Qt::ShiftModifier : Qt::NoModifier);
}

bool TabsFixture::Loaded(int index, const QString& caption) const {
  BrowserTab* tab = tabs->TabAt(index);
  return tab && Caption(index) == caption && !tab->Browser()->Busy() && !tab->Browser()->LocationURL().isEmpty();
}

bool TabsFixture::WaitLoaded(int index, const QString& caption) {
  return WaitUntil([&] { return Loaded(index, caption); });
}

bool TabsFixture::OpenAndWait(const QByteArray& path, const QString& caption, bool shift) {
  Open(path, shift);
  return WaitLoaded(Active(), caption);
}

void TabsFixture::ClickTab(int index) {
  QTest::mouseClick(Bar(), Qt::LeftButton, {}, Bar()->tabRect(index).center());
}

}  // namespace sorvi::testing
