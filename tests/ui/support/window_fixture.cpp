#include "support/window_fixture.h"
#include "support/find_widget.h"

#include <QComboBox>
#include <QFile>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "app/main_window.h"
#include "platform/web_browser.h"
#include "support/event_wait.h"
#include "support/page_script.h"
#include "tabs/address_box.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_stack.h"

namespace sorvi::testing {

QByteArray Page(const QByteArray& title, const QByteArray& body) {
  return "<html><head><title>" + title + "</title></head><body style=\"margin:0\">" + body + "</body></html>";
}

WindowFixture::WindowFixture(std::initializer_list<const char*> pages,
                             const std::function<void(const ScratchDir&)>& prepare) {
  for (const char* name : pages) server.Serve(QByteArray("/") + name + ".html", Page(QByteArray("Page ") + name));
  if (prepare) prepare(dir);
  Restart();
}

WindowFixture::~WindowFixture() = default;

void WindowFixture::Restart() {
  if (form) {
    form.reset();
    Spin(100);
  }
  form = std::make_unique<TFormMain>(dir.Path());
  form->show();
  if (!QTest::qWaitForWindowExposed(form.get())) qWarning("window not exposed");
  tabs = form->Subsystems().tabs;
}

void WindowFixture::ServeFile(const QByteArray& path, const char* file) {
  QFile page(QStringLiteral(SORVI_TEST_PAGES_DIR "/") + QLatin1String(file));
  if (!page.open(QIODevice::ReadOnly)) qFatal("no test page %s", file);
  server.Serve(path, page.readAll());
}

QVariant WindowFixture::Js(WebBrowser* browser, const QString& script) const { return testing::Js(browser, script); }

QString WindowFixture::Url(const QByteArray& path) const { return QString::fromLatin1(server.Origin() + path); }
int WindowFixture::Count() const { return tabs->Count(); }
int WindowFixture::Active() const { return tabs->ActiveIndex(); }
QString WindowFixture::Caption(int index) const { return tabs->Caption(index); }
QTabBar* WindowFixture::Bar() const { return Find<TabStack>(form.get(), "PageControl")->tabBar(); }
WebBrowser* WindowFixture::Browser(int index) const { return tabs->TabAt(index)->Browser(); }

OpenRequest WindowFixture::Request(const QByteArray& path) const {
  OpenRequest request;
  request.address = (server.Origin() + path).toStdString();
  return request;
}

void WindowFixture::Open(const QByteArray& path, bool shift) {
  form->Subsystems().address->Show(Url(path));
  form->OpenTypedAddress(shift ? Qt::ShiftModifier : Qt::NoModifier);
}

bool WindowFixture::Loaded(int index, const QString& caption) const {
  BrowserTab* tab = tabs->TabAt(index);
  // A tab asleep has no browser: not loaded.
  const WebBrowser* browser = tab ? tab->Browser() : nullptr;
  return browser && Caption(index) == caption && !browser->Busy() && !browser->LocationURL().isEmpty();
}

bool WindowFixture::WaitLoaded(int index, const QString& caption) {
  return WaitUntil([&] { return Loaded(index, caption); });
}

bool WindowFixture::OpenAndWait(const QByteArray& path, const QString& caption, bool shift) {
  Open(path, shift);
  return WaitLoaded(Active(), caption);
}

void WindowFixture::ClickTab(int index) {
  QTest::mouseClick(Bar(), Qt::LeftButton, {}, Bar()->tabRect(index).center());
}

}  // namespace sorvi::testing
