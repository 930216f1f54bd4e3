// Many tabs cheaply: tabs of one site share one renderer process while
// another site gets its own, the program's process model keeps the user's
// engine flags, and a tab in the background is hidden from its page yet
// still reloads on the timer's rhythm, also when its page rests between
// reloads.
#include <QAction>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTest>
#include <QTimer>
#include <QVariant>
#include <vector>

#include "app/main_window.h"
#include "platform/scene_graph_backend.h"
#include "platform/web_browser.h"
#include "platform/web_engine_flags.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/page_script.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"
#include "support/window_options.h"
#include "tabs/address_box.h"
#include "tabs/hidden_tab_keeper.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_sleeper.h"

using namespace sorvi;
using sorvi::testing::ChangeOptions;
using sorvi::testing::Find;
using sorvi::testing::WaitUntil;

namespace {

// The page's own idea of whether it is shown ("visible" or "hidden").
QString Visibility(WebBrowser* browser) { return sorvi::testing::Js(browser, "document.visibilityState").toString(); }

}  // namespace

class BackgroundTabsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void tabsOfOneSiteShareOneRenderer();
  void processModelKeepsTheUsersFlags();
  void backgroundTabIsHiddenAndReloadsOnTime();
  void softwareOpenGlDrawsWithoutIt();
};

void BackgroundTabsTest::tabsOfOneSiteShareOneRenderer() {
  testing::WindowFixture f({"a", "b", "c"});
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(f.OpenAndWait("/b.html", "Page b"));
  QVERIFY(f.OpenAndWait("/c.html", "Page c"));
  const qint64 renderer = f.Browser(0)->RenderProcessId();
  QVERIFY(renderer > 0);
  QCOMPARE(f.Browser(1)->RenderProcessId(), renderer);
  QCOMPARE(f.Browser(2)->RenderProcessId(), renderer);

  // "localhost" is another site than "127.0.0.1": its page gets a renderer
  // of its own, the tabs of the first site keep theirs.
  f.form->Subsystems().address->Show(QString("http://localhost:%1/a.html").arg(f.server.Port()));
  f.form->OpenTypedAddress(Qt::NoModifier);
  QVERIFY(f.WaitLoaded(3, "Page a"));
  QVERIFY(f.Browser(3)->RenderProcessId() > 0);
  QVERIFY(f.Browser(3)->RenderProcessId() != renderer);
  QCOMPARE(f.Browser(0)->RenderProcessId(), renderer);

  // Closing the other site's tab leaves the shared renderer working.
  f.tabs->CloseActiveTab();
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QCOMPARE(f.Browser(3)->RenderProcessId(), renderer);
}

void BackgroundTabsTest::processModelKeepsTheUsersFlags() {
  // This program was started with the test's flags and the process model
  // added to them.
  const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
  QVERIFY(flags.startsWith("--disable-gpu "));
  QVERIFY(flags.endsWith(" --process-per-site --site-per-process"));
  QCOMPARE(web_engine::WithProcessModel(flags), flags);  // added once only

  QCOMPARE(web_engine::WithProcessModel(""), QByteArray("--process-per-site --site-per-process"));
  QCOMPARE(web_engine::WithProcessModel(" --disable-gpu --lang=ja "),
           QByteArray("--disable-gpu --lang=ja --process-per-site --site-per-process"));
  // A process model the user chose stays.
  QCOMPARE(web_engine::WithProcessModel("--single-process"), QByteArray("--single-process"));
  QCOMPARE(web_engine::WithProcessModel("--disable-gpu --renderer-process-limit=2"),
           QByteArray("--disable-gpu --renderer-process-limit=2"));
  QCOMPARE(web_engine::WithProcessModel("--process-per-tab"), QByteArray("--process-per-tab"));
  QCOMPARE(web_engine::WithProcessModel("--disable-site-isolation-trials"),
           QByteArray("--disable-site-isolation-trials"));
}

void BackgroundTabsTest::backgroundTabIsHiddenAndReloadsOnTime() {
  testing::WindowFixture f({"a", "b"});
  // A page that counts in a variable and shows itself green.
  f.server.Serve("/count.html", testing::Page("Count",
                                              "<div style=\"height:100vh;background:#00ff00\"></div>"
                                              "<script>var count = 0; setInterval(() => ++count, 100);</script>"));
  // Hidden tabs let their views go after a moment instead of a minute.
  constexpr int kReleaseMs = 1500;
  Find<HiddenTabKeeper>(f.form.get(), "HiddenTabKeeper")->SetReleaseAfter(kReleaseMs);
  QVERIFY(f.OpenAndWait("/count.html", "Count"));
  WebBrowser* counting = f.Browser(0);
  const QString shown_size = QString("%1x%2").arg(counting->width()).arg(counting->height());
  const QString page_size = "innerWidth + 'x' + innerHeight";
  QCOMPARE(f.Js(counting, page_size).toString(), shown_size);
  f.Js(counting, "window.mark = 'same document'");

  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  // The tab reloads every tick; the tick is shortened from 15 s.
  constexpr int kTickMs = 1000;
  auto* timer = Find<QTimer>(f.form.get(), "Timer");
  timer->setInterval(kTickMs);
  Find<QAction>(f.form.get(), "PopupMenuTabReload15")->trigger();
  QVERIFY(timer->isActive());
  QCOMPARE(Visibility(f.Browser(1)), QString("visible"));

  QVERIFY(f.OpenAndWait("/b.html", "Page b"));
  WebBrowser* background = f.Browser(1);
  QCOMPARE(Visibility(background), QString("hidden"));
  QCOMPARE(Visibility(f.Browser(2)), QString("visible"));

  // Each tick's reload reaches the server, however long the tab has been
  // in the background, with its view or without.
  QElapsedTimer clock;
  std::vector<qint64> arrivals;
  connect(&f.server, &testing::LocalHttpServer::RequestReceived, this, [&](const QByteArray& path) {
    if (path == "/a.html") arrivals.push_back(clock.elapsed());
  });
  clock.start();
  const int b_requests = f.server.Count("/b.html");
  auto reloads_on_time = [&] {
    arrivals.clear();
    if (!WaitUntil([&] { return arrivals.size() >= 6; }, 6 * kTickMs + 10000)) return QString("too few reloads");
    for (size_t i = 1; i < arrivals.size(); ++i) {
      const qint64 gap = arrivals[i] - arrivals[i - 1];
      if (gap <= kTickMs / 2 || gap >= 2 * kTickMs) return QString("gap %1 ms").arg(gap);
    }
    return QString();
  };
  QCOMPARE(reloads_on_time(), QString());
  QCOMPARE(f.server.Count("/b.html"), b_requests);  // the shown tab has no reload
  // Reloaded, still not shown; the shown tab kept its view.
  QCOMPARE(Visibility(background), QString("hidden"));
  QCOMPARE(f.Caption(1), QString("Page a"));
  QVERIFY(f.Browser(2)->HasView());
  for (WebBrowser* hidden : {counting, background}) {
    QVERIFY(!hidden->HasView());
    // Laid out at the size it was shown, not at none.
    QCOMPARE(f.Js(hidden, page_size).toString(), shown_size);
  }
  const int counted = f.Js(counting, "count").toInt();

  // Brought forward, each shows the page it ran, at the tab's size.
  f.ClickTab(1);
  QVERIFY(WaitUntil([&] { return f.Active() == 1 && Visibility(background) == "visible"; }));
  QCOMPARE(f.Caption(1), QString("Page a"));
  timer->stop();
  f.ClickTab(0);
  QVERIFY(WaitUntil([&] { return f.Active() == 0 && Visibility(counting) == "visible"; }));
  QCOMPARE(f.Js(counting, "window.mark").toString(), QString("same document"));
  // Hidden, its timer ran about once a second: the next tick may still be due.
  QVERIFY(WaitUntil([&] { return f.Js(counting, "count").toInt() > counted; }));
  QCOMPARE(f.Js(counting, page_size).toString(), shown_size);
  QVERIFY(WaitUntil([&] {
    const QImage shot = counting->grab().toImage();
    return !shot.isNull() && shot.pixelColor(shot.width() / 2, shot.height() / 2) == QColor(0, 255, 0);
  }));

  // Resting, the reloading tab's page is let go between its reloads, made
  // active for each and let go again after it: the server sees every one.
  f.tabs->Sleeper().SetSleepAfter(300);
  ChangeOptions(*f.form, [](AppOptions& o) { o.SleepTabs.on = true; });
  timer->start();
  QVERIFY(WaitUntil([&] { return background->Rest() == PageRest::kDiscarded; }));
  QCOMPARE(reloads_on_time(), QString());
  QVERIFY(WaitUntil([&] { return background->Rest() == PageRest::kDiscarded; }));
  QCOMPARE(counting->Rest(), PageRest::kActive);  // shown
  // Sent elsewhere while let go (a flip, a bookmark into its tab), it ends
  // one load, there (the engine starts the old page again first).
  timer->stop();
  QVERIFY(WaitUntil([&] { return background->Rest() == PageRest::kDiscarded; }));
  f.server.Serve("/c.html", testing::Page("Page c", ""));
  QStringList loaded;
  connect(background, &WebBrowser::DownloadComplete, this, [&](WebBrowser* b) { loaded << b->LocationURL(); });
  background->Navigate(QString(f.Url("/c.html")));
  QVERIFY(f.WaitLoaded(1, "Page c"));
  QVERIFY(!WaitUntil([&] { return loaded.size() > 1; }, 500));
  QCOMPARE(loaded, QStringList{QString(f.Url("/c.html"))});
}

void BackgroundTabsTest::softwareOpenGlDrawsWithoutIt() {
  QVERIFY(web_engine::IsSoftwareRasterizer("llvmpipe (LLVM 15.0.6, 256 bits)"));
  QVERIFY(web_engine::IsSoftwareRasterizer("Mesa X11 SWRAST"));
  QVERIFY(web_engine::IsSoftwareRasterizer("Google SwiftShader"));
  QVERIFY(!web_engine::IsSoftwareRasterizer("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
  QVERIFY(!web_engine::IsSoftwareRasterizer("NVIDIA GeForce GTX 1650/PCIe/SSE2"));

  // The virtual X server has no graphics driver: once a tab has been made
  // the views draw without OpenGL, and pages still show.
  testing::WindowFixture f({});
  f.server.Serve("/green.html", testing::Page("Green", "<div style=\"height:100vh;background:#00ff00\"></div>"));
  QVERIFY(f.OpenAndWait("/green.html", "Green"));
  QCOMPARE(QQuickWindow::sceneGraphBackend(), QString("software"));
  int quick_windows = 0;
  for (QWindow* window : QGuiApplication::allWindows()) {
    auto* quick = qobject_cast<QQuickWindow*>(window);
    if (!quick || !quick->rendererInterface()) continue;
    ++quick_windows;
    QCOMPARE(quick->rendererInterface()->graphicsApi(), QSGRendererInterface::Software);
  }
  QVERIFY(quick_windows > 0);
  WebBrowser* browser = f.Browser(0);
  QVERIFY(WaitUntil([&] {
    const QImage shot = browser->grab().toImage();
    return !shot.isNull() && shot.pixelColor(shot.width() / 2, shot.height() / 2) == QColor(0, 255, 0);
  }));
}

SORVI_WEB_TEST_MAIN(BackgroundTabsTest)
#include "background_tabs_test.moc"
