// What the user does to pages in the window: downloads in the status bar
// (also from a pop-up that got a tab of its own), the find bar, zoom keys
// and full screen. Against a local HTTP server in a real window.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "app/main_window.h"
#include "platform/web_browser.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/page_script.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"
#include "tabs/browser_tab.h"
#include "tabs/find_bar.h"
#include "tabs/page_tools.h"
#include "tabs/tab_controller.h"

using namespace sorvi;
using sorvi::testing::Find;
using sorvi::testing::Js;
using sorvi::testing::LocalHttpServer;
using sorvi::testing::Page;
using sorvi::testing::Spin;
using sorvi::testing::WaitUntil;
using sorvi::testing::WindowFixture;

namespace {

// Records every key the page sees, in the page.
const QByteArray kKeyLog =
    "<script>window.keys = ''; document.addEventListener('keydown', e => { window.keys += e.key + ' '; });</script>";

// The page has rendered: its input widget is the view's focus proxy.
bool Rendered(WebBrowser* browser) {
  return WaitUntil([&] { return browser->InputWidget() && browser->InputWidget()->parentWidget() != browser; });
}

// The window active and the keyboard in the page, as after a click on it.
bool FocusPage(QWidget* window, WebBrowser* browser) {
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window)) return false;
  if (!Rendered(browser)) return false;
  browser->FocusPage();
  return WaitUntil([&] { return browser->FocusedInputWidget() != nullptr; });
}

// The engine's PDF viewer has drawn a page: its dark tool bar along the top,
// white paper below it (the viewer's own background is grey).
bool PdfPageDrawn(QWidget* view) {
  const QImage shot = view->grab().toImage();
  int paper = 0, bar = 0, top = 0, rest = 0;
  for (int y = 0; y < shot.height(); y += 4) {
    for (int x = 0; x < shot.width(); x += 4) {
      const QColor c = shot.pixelColor(x, y);
      (y < 32 ? top : rest)++;
      if (y < 32) bar += c.red() > 30 && c.red() < 70 && qAbs(c.red() - c.blue()) < 16;
      if (y >= 32) paper += c.red() > 250 && c.green() > 250 && c.blue() > 250;
    }
  }
  return bar > top * 4 / 5 && paper > rest / 20;
}

void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QTest::keyClick(widget, key, modifiers);
}

}  // namespace

class PageToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void cleanup() { WebBrowser::SetSaveFileHook({}); }
  void downloadShowsProgressAndOutcomeInStatusBar();
  void popupDownloadClosesItsEmptyTab_data();
  void popupDownloadClosesItsEmptyTab();
  void pdfShowsInItsTabAndOtherFilesAsk_data();
  void pdfShowsInItsTabAndOtherFilesAsk();
  void findBarFindsCountsAndKeepsKeysFromPage();
  void zoomKeysZoomOnlyTheActiveTab();
  void fullScreenAndBackKeepsThePage();
};

// ---- downloads -------------------------------------------------------------

void PageToolsTest::downloadShowsProgressAndOutcomeInStatusBar() {
  WindowFixture f({"a"});
  const QByteArray body = QByteArray("日付,終値\n").repeated(30000);
  LocalHttpServer::Reply reply;
  reply.content_type = "text/csv";
  reply.body = body;
  reply.headers = {{"Content-Disposition", "attachment; filename=\"prices.csv\""}};
  f.server.Serve("/prices", reply);
  f.server.Serve("/links.html", Page("Links", "<a id=l href='/prices'>csv</a>"));
  const QString target = QDir(f.dir.Path()).filePath("saved.csv");
  WebBrowser::SetSaveFileHook([&](const SaveFileQuestion&) { return target; });
  QVERIFY(f.OpenAndWait("/links.html", "Links"));

  auto* status = Find<QLabel>(f.form.get(), "StatusPanel0");
  auto* bar = Find<QProgressBar>(f.form.get(), "ProgressBar");
  QStringList shown;
  connect(f.tabs, &TabController::StatusTextChanged, this, [&](const QString& text) { shown << text; });
  // The window's own handler has run when this one does.
  bool bar_shown = false;
  connect(f.tabs, &TabController::ProgressChanged, this, [&] { bar_shown = bar_shown || bar->isVisible(); });
  f.Browser(0)->RunJavaScript("document.getElementById('l').click()");
  QVERIFY(WaitUntil([&] { return status->text().contains("完了"); }));

  QVERIFY2(!shown.filter("ダウンロード中: saved.csv").isEmpty(), qPrintable(shown.join('|')));
  QVERIFY(bar_shown);
  QVERIFY(status->text().contains("saved.csv"));
  QVERIFY(!bar->isVisible());
  QFile saved(target);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll(), body);
  QCOMPARE(f.Count(), 1);
  QCOMPARE(f.Browser(0)->LocationURL(), f.Url("/links.html"));
}

void PageToolsTest::popupDownloadClosesItsEmptyTab_data() {
  QTest::addColumn<QByteArray>("link");
  QTest::addColumn<bool>("save");
  const QByteArray blank("<a id=l href='/prices' target='_blank'>csv</a>");
  const QByteArray script("<button id=l onclick=\"window.open('/prices')\">csv</button>");
  QTest::newRow("target=_blank, saved") << blank << true;
  QTest::newRow("window.open, saved") << script << true;
  QTest::newRow("target=_blank, declined") << blank << false;
}

void PageToolsTest::popupDownloadClosesItsEmptyTab() {
  QFETCH(QByteArray, link);
  QFETCH(bool, save);
  WindowFixture f({"a"});
  const QByteArray body("code,close\n7203,2500\n");
  LocalHttpServer::Reply reply;
  reply.content_type = "application/octet-stream";
  reply.body = body;
  reply.headers = {{"Content-Disposition", "attachment; filename=\"p.csv\""}};
  f.server.Serve("/prices", reply);
  f.server.Serve("/links.html", Page("Links", link));
  const QString target = QDir(f.dir.Path()).filePath("from-popup.csv");
  int tabs_while_asked = 0;
  WebBrowser::SetSaveFileHook([&](const SaveFileQuestion&) {
    tabs_while_asked = f.Count();
    return save ? target : QString();
  });
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(f.OpenAndWait("/links.html", "Links"));
  WebBrowser* opener = f.Browser(1);
  opener->RunJavaScript("document.getElementById('l').click()");
  QVERIFY(WaitUntil([&] { return tabs_while_asked > 0; }));
  QCOMPARE(tabs_while_asked, 3);  // the pop-up had a tab of its own

  auto* status = Find<QLabel>(f.form.get(), "StatusPanel0");
  QVERIFY2(WaitUntil([&] { return f.Count() == 2 && (!save || status->text().contains("完了")); }),
           qPrintable(QString("%1 tabs, status: %2").arg(f.Count()).arg(status->text())));
  // Back on the page the link was on, which is untouched.
  QCOMPARE(f.Browser(f.Active()), opener);
  QCOMPARE(opener->LocationURL(), f.Url("/links.html"));
  QCOMPARE(f.Caption(0), QString("Page a"));
  if (save) {
    QVERIFY(status->text().contains("from-popup.csv"));
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), body);
  } else {
    Spin(300);
    QCOMPARE(f.Count(), 2);
    QVERIFY(!QFile::exists(target));
  }
  // The pop-up's browser goes once its download has ended.
  QVERIFY(WaitUntil([&] { return f.tabs->Tools().KeptDownloadBrowsers() == 0; }));
}

void PageToolsTest::pdfShowsInItsTabAndOtherFilesAsk_data() {
  QTest::addColumn<QByteArray>("link");  // empty: the address typed
  QTest::addColumn<int>("tab");          // where the document shows; -1: a file that is asked about
  QTest::newRow("link") << QByteArray("<a id=l href='/doc.pdf'>pdf</a>") << 1;
  QTest::newRow("script pop-up") << QByteArray("<button id=l onclick=\"window.open('/doc.pdf')\">p</button>") << 2;
  QTest::newRow("named target") << QByteArray("<a id=l href='/doc.pdf' target=filings>pdf</a>") << 2;
  QTest::newRow("typed") << QByteArray() << 1;
  QTest::newRow("csv link asks") << QByteArray("<a id=l href='/prices'>csv</a>") << -1;
}

void PageToolsTest::pdfShowsInItsTabAndOtherFilesAsk() {
  QFETCH(QByteArray, link);
  QFETCH(int, tab);
  WindowFixture f;
  // A PDF with Japanese text, as the engine prints a page.
  f.server.Serve("/ja.html", Page("Ja", "<h1>決算短信</h1><p>売上高 1,234 百万円</p>"));
  QVERIFY(f.OpenAndWait("/ja.html", "Ja"));
  bool printed = false;
  f.Browser(0)->PrintToPdf(f.dir.File("doc.pdf"), [&](bool ok) { printed = ok; });
  QVERIFY(WaitUntil([&] { return printed; }));
  const QByteArray pdf = f.dir.Read("doc.pdf");
  f.server.Serve("/doc.pdf", pdf, "application/pdf");
  f.server.Serve("/prices", "code,close\n7203,2500\n", "text/csv");
  f.server.Serve("/links.html", Page("Links", link));
  QStringList asked;
  WebBrowser::SetSaveFileHook([&](const SaveFileQuestion& q) {
    asked << QFileInfo(q.proposed_path).fileName();
    return f.dir.File("saved-" + asked.last());
  });
  if (link.isEmpty()) {
    f.Open("/doc.pdf");
  } else {
    QVERIFY(f.OpenAndWait("/links.html", "Links"));
    f.Browser(1)->RunJavaScript("document.getElementById('l').click()");
  }
  if (tab < 0) {
    QVERIFY(WaitUntil([&] { return asked == QStringList{"prices"}; }));
    return;
  }
  // The document in its tab, its first page drawn, nothing asked.
  QVERIFY(WaitUntil([&] { return f.Count() == tab + 1 && f.Browser(tab)->CommittedURL() == f.Url("/doc.pdf"); }));
  QVERIFY(WaitUntil([&] { return PdfPageDrawn(f.Browser(tab)); }, 15000));
  QCOMPARE(f.Active(), tab);
  QVERIFY2(asked.isEmpty(), qPrintable(asked.join('|')));
  // Saved from the page's menu under the file's own name, asked first.
  QWidget* input = f.Browser(tab)->InputWidget();
  QTest::mouseClick(input, Qt::RightButton, {}, input->rect().center());
  QMenu* menu = nullptr;
  QVERIFY(WaitUntil([&] { return (menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr; }));
  const QList<QAction*> items = menu->actions();
  const auto save =
      std::find_if(items.begin(), items.end(), [](QAction* a) { return a->text() == "名前を付けて保存"; });
  QVERIFY(save != items.end());
  menu->close();
  (*save)->trigger();
  QVERIFY(WaitUntil([&] { return f.dir.Read("saved-doc.pdf") == pdf; }));
  QCOMPARE(asked, QStringList{"doc.pdf"});
}

// ---- find ------------------------------------------------------------------

void PageToolsTest::findBarFindsCountsAndKeepsKeysFromPage() {
  WindowFixture f({"a"});
  f.server.Serve("/text.html", Page("Text", "<p>kabu one</p><p>kabu two</p><p>KABU three</p>" + kKeyLog));
  QVERIFY(f.OpenAndWait("/text.html", "Text"));
  WebBrowser* page = f.Browser(0);
  QVERIFY(FocusPage(f.form.get(), page));

  Key(page->FocusedInputWidget(), Qt::Key_F, Qt::ControlModifier);
  auto* bar = Find<FindBar>(f.form.get(), "FindBar");
  auto* text = Find<QLineEdit>(f.form.get(), "FindBarText");
  auto* count = Find<QLabel>(f.form.get(), "FindBarCount");
  QVERIFY(bar->isVisible());
  QTRY_COMPARE(QApplication::focusWidget(), text);
  // Over the page, inside the window.
  const QRect page_rect(page->mapTo(f.form.get(), QPoint(0, 0)), page->size());
  QVERIFY(page_rect.contains(QRect(bar->mapTo(f.form.get(), QPoint(0, 0)), bar->size())));

  QTest::keyClicks(text, "kabu");
  QVERIFY(WaitUntil([&] { return count->text() == "1/3 件"; }));
  Key(text, Qt::Key_Return);
  QVERIFY(WaitUntil([&] { return count->text() == "2/3 件"; }));
  Key(text, Qt::Key_Return);
  Key(text, Qt::Key_Return);
  QVERIFY(WaitUntil([&] { return count->text() == "1/3 件"; }));  // round again
  Key(text, Qt::Key_Return, Qt::ShiftModifier);
  QVERIFY(WaitUntil([&] { return count->text() == "3/3 件"; }));
  QTest::keyClicks(text, "x");
  QVERIFY(WaitUntil([&] { return count->text() == "見つかりません"; }));
  Key(text, Qt::Key_Backspace);
  QVERIFY(WaitUntil([&] { return count->text().endsWith("/3 件"); }));

  Key(text, Qt::Key_Escape);
  QVERIFY(!bar->isVisible());
  QVERIFY(WaitUntil([&] { return page->FocusedInputWidget() != nullptr; }));
  // Nothing typed into the bar reached the page (the Ctrl key alone may).
  const QString keys = Js(page, "window.keys").toString();
  for (const char* key : {"f", "k", "a", "b", "u", "x", "Enter", "Escape", "Backspace"})
    QVERIFY2(!keys.split(' ').contains(key), qPrintable(keys));

  // Opened again, it shows the last text; a switch of tabs closes it.
  Key(page->FocusedInputWidget(), Qt::Key_F, Qt::ControlModifier);
  QVERIFY(bar->isVisible());
  QCOMPARE(text->text(), QString("kabu"));
  QCOMPARE(text->selectedText(), QString("kabu"));
  QVERIFY(WaitUntil([&] { return count->text().endsWith("/3 件"); }));
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(!bar->isVisible());
}

// ---- zoom ------------------------------------------------------------------

void PageToolsTest::zoomKeysZoomOnlyTheActiveTab() {
  WindowFixture f({"a", "b"});
  f.server.Serve("/keys.html", Page("Keys", kKeyLog));
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(f.OpenAndWait("/keys.html", "Keys"));  // same server: the engine could share a zoom per host
  WebBrowser* first = f.Browser(0);
  WebBrowser* second = f.Browser(1);
  QVERIFY(FocusPage(f.form.get(), second));
  auto* status = Find<QLabel>(f.form.get(), "StatusPanel2");
  // The page's own view of its zoom, in percent.
  const auto ratio = [&](WebBrowser* b) {
    return Js(b, "String(Math.round(window.devicePixelRatio * 100))").toString();
  };
  QCOMPARE(status->text(), QString());

  QWidget* input = second->FocusedInputWidget();
  Key(input, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);  // "+" on a Japanese keyboard
  Key(input, Qt::Key_Equal, Qt::ControlModifier);                     // the same key on a US one
  QCOMPARE(status->text(), QString("125%"));
  QVERIFY(WaitUntil([&] { return ratio(second) == "125"; }));
  QCOMPARE(ratio(first), QString("100"));
  QVERIFY2(!Js(second, "window.keys").toString().contains("+"), qPrintable(Js(second, "window.keys").toString()));

  // Kept by the tab: another tab shows its own, and the zoom comes back.
  f.ClickTab(0);
  QVERIFY(WaitUntil([&] { return f.Active() == 0; }));
  QCOMPARE(status->text(), QString());
  f.ClickTab(1);
  QVERIFY(WaitUntil([&] { return f.Active() == 1; }));
  QCOMPARE(status->text(), QString("125%"));
  // The zoom stays with the tab when its page changes.
  second->Navigate(f.Url("/b.html"));
  QVERIFY(f.WaitLoaded(1, "Page b"));
  QVERIFY(WaitUntil([&] { return ratio(second) == "125"; }));
  QVERIFY(FocusPage(f.form.get(), second));

  // Ctrl+wheel over the page, down: one step back.
  QVERIFY(Rendered(second));
  QWidget* view = second->InputWidget();
  const QPointF at(view->width() / 2, view->height() / 2);
  QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(view, &wheel);
  QCOMPARE(status->text(), QString("110%"));
  QVERIFY(WaitUntil([&] { return ratio(second) == "110"; }));

  Key(second->InputWidget(), Qt::Key_0, Qt::ControlModifier);
  QCOMPARE(status->text(), QString());
  Key(second->InputWidget(), Qt::Key_Minus, Qt::ControlModifier);
  QCOMPARE(status->text(), QString("90%"));
  QVERIFY(WaitUntil([&] { return ratio(second) == "90"; }));
  QCOMPARE(ratio(first), QString("100"));
  second->SetZoomFactor(50.0);
  QCOMPARE(second->ZoomFactor(), 5.0);  // the engine's own ceiling
}

// ---- full screen -----------------------------------------------------------

void PageToolsTest::fullScreenAndBackKeepsThePage() {
  WindowFixture f({"a"});
  f.server.Serve("/chart.html", Page("Chart", R"html(<button id=b style="display:block;width:300px;height:200px"
      onclick="document.documentElement.requestFullscreen()">full</button><input id=t style="width:200px">
      <script>window.marker = 'kept';</script>)html"));
  QVERIFY(f.OpenAndWait("/chart.html", "Chart"));
  WebBrowser* browser = f.Browser(0);
  BrowserTab* tab = f.tabs->TabAt(0);
  const QSize tab_size = tab->size();
  QVERIFY(FocusPage(f.form.get(), browser));
  QSignalSpy requested(browser, &WebBrowser::FullScreenRequested);

  // Left by the Escape key, by the page itself, and by the program.
  for (const int way : {0, 1, 2}) {
    requested.clear();
    browser->ClickAt(QPoint(150, 100));  // the button: a user's gesture
    QVERIFY(WaitUntil([&] { return f.tabs->Tools().FullScreenBrowser() == browser; }));
    QCOMPARE(requested.size(), 1);
    QCOMPARE(requested[0].at(1).toBool(), true);
    QVERIFY(browser->IsFullScreen());
    QVERIFY(f.form->windowState() & Qt::WindowFullScreen);
    QCOMPARE(browser->parentWidget(), f.form.get());
    QVERIFY(browser->isVisible());
    QCOMPARE(browser->geometry(), f.form->rect());
    QVERIFY(WaitUntil([&] { return Js(browser, "String(document.fullscreenElement !== null)").toString() == "true"; }));

    if (way == 0) {
      QVERIFY(WaitUntil([&] { return browser->FocusedInputWidget() != nullptr; }));
      Key(browser->FocusedInputWidget(), Qt::Key_Escape);
    } else if (way == 1) {
      browser->RunJavaScript("document.exitFullscreen()");
    } else {
      browser->ExitFullScreen();
    }
    QVERIFY(WaitUntil([&] { return f.tabs->Tools().FullScreenBrowser() == nullptr && requested.size() == 2; }));
    QCOMPARE(requested[1].at(1).toBool(), false);
    QVERIFY(!browser->IsFullScreen());
    QVERIFY(!(f.form->windowState() & Qt::WindowFullScreen));
    // The same browser, back in its tab, with the same page.
    QCOMPARE(f.Browser(0), browser);
    QCOMPARE(browser->parentWidget(), tab);
    QVERIFY(browser->isVisible());
    QVERIFY(WaitUntil([&] { return browser->size() == tab->size(); }));
    QVERIFY(
        WaitUntil([&] { return Js(browser, "String(document.fullscreenElement !== null)").toString() == "false"; }));
    QCOMPARE(Js(browser, "window.marker").toString(), QString("kept"));
    QCOMPARE(f.server.Count("/chart.html"), 1);
  }
  QCOMPARE(tab->size(), tab_size);
  // It still takes clicks and keys.
  browser->ClickAt(QPoint(20, 210));
  QVERIFY(WaitUntil([&] { return Js(browser, "document.activeElement.id").toString() == "t"; }));
  QTest::keyClicks(browser->FocusedInputWidget(), "7203");
  QVERIFY(WaitUntil([&] { return Js(browser, "document.getElementById('t').value").toString() == "7203"; }));
}

SORVI_WEB_TEST_MAIN(PageToolsTest)
#include "page_tools_test.moc"
