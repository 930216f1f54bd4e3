// The tabs under load, in the real window against a local server: a page
// opening a hundred pop-ups at once that then close themselves, hundreds of
// tabs opened through the address box and closed at every stage of their
// loading, and key macros playing while tabs close around them. What counts
// is that nothing crashes or hangs and the window ends where it started.
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <memory>

#include "app/main_window.h"
#include "keymacro/key_macro_controller.h"
#include "platform/web_browser.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"

using namespace sorvi;
using sorvi::testing::Find;
using sorvi::testing::Page;
using sorvi::testing::Spin;
using sorvi::testing::WaitUntil;

namespace {

// The full counts of the stress bench, but for fewer macro rounds.
constexpr int kBurstPopups = 100;
constexpr int kOpenCloseCycles = 500;
constexpr int kMacroRounds = 8;

struct Fixture : sorvi::testing::WindowFixture {
  Fixture() : WindowFixture({"a", "b"}) {
    // The pop-ups close themselves together, at one moment after the burst.
    server.Serve("/burst.html", Page("Burst",
                                     "<script>function burst(n) {"
                                     "  const at = Date.now() + 1000;"
                                     "  for (let i = 0; i < n; ++i) window.open('/closer.html?' + at, '', '');"
                                     "}</script>"));
    server.Serve("/closer.html", Page("Closer",
                                      "<script>const at = Number(location.search.substring(1));"
                                      "setTimeout(function () { window.close(); }, Math.max(0, at - Date.now()));"
                                      "</script>"));
    // A field that logs every key it gets.
    server.Serve("/form.html", Page("Form",
                                    "<input id=\"a\"><script>"
                                    "var keys = '';"
                                    "const a = document.getElementById('a');"
                                    "a.addEventListener('keydown', e => keys += e.key);"
                                    "a.focus();</script>"));
  }

  // The window still does its work: a page opened now loads.
  bool StillOpensPages() { return OpenAndWait("/b.html", "Page b"); }
};

}  // namespace

class TabStressTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void hundredPopupsOpenAndCloseThemselves();
  void tabsOpenedAndClosedAtEveryStageOfLoading();
  void macrosEndCleanlyWhileTheirTabsClose();
};

void TabStressTest::hundredPopupsOpenAndCloseThemselves() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(f.OpenAndWait("/burst.html", "Burst"));
  const int start = f.Count();

  int most = start;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] { most = std::max(most, f.Count()); });
  watch.start(5);
  f.Browser(1)->RunJavaScript(QString("burst(%1)").arg(kBurstPopups));
  QVERIFY(f.server.WaitForRequest("/closer.html", kBurstPopups, 60000));
  QVERIFY2(WaitUntil([&] { return f.Count() == start; }, 60000),
           qPrintable(QString("%1 tabs left of %2").arg(f.Count()).arg(start)));
  watch.stop();
  // Every pop-up had its own tab, and the pages that opened them are the
  // ones left.
  QVERIFY2(most >= start + kBurstPopups / 2, qPrintable(QString("at most %1 tabs").arg(most)));
  QCOMPARE(f.Caption(0), QString("Page a"));
  QCOMPARE(f.Caption(1), QString("Burst"));
  Spin(500);
  QCOMPARE(f.Count(), start);
  QVERIFY(f.StillOpensPages());
}

void TabStressTest::tabsOpenedAndClosedAtEveryStageOfLoading() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  auto* close = Find<QToolButton>(f.form.get(), "ToolButtonClose");
  for (int i = 0; i < kOpenCloseCycles; ++i) {
    const int requests = f.server.Count("/b.html");
    f.Open("/b.html?" + QByteArray::number(i));
    QCOMPARE(f.Count(), 2);
    BrowserTab* tab = f.tabs->ActiveTab();
    switch (i % 3) {
      case 0:  // closed before the engine has done anything
        break;
      case 1:  // closed while loading
        QVERIFY(WaitUntil([&] { return f.server.Count("/b.html") > requests; }));
        break;
      case 2:  // closed once loaded
        QVERIFY2(f.WaitLoaded(1, "Page b"), qPrintable(QString("cycle %1").arg(i)));
        break;
    }
    QCOMPARE(f.tabs->ActiveTab(), tab);
    close->click();
    QCOMPARE(f.Count(), 1);
    QCOMPARE(f.Active(), 0);
  }
  Spin(500);
  QCOMPARE(f.Count(), 1);
  QCOMPARE(f.Caption(0), QString("Page a"));
  QVERIFY(f.StillOpensPages());
}

void TabStressTest::macrosEndCleanlyWhileTheirTabsClose() {
  Fixture f;
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  auto* status = Find<QLabel>(f.form.get(), "StatusPanel0");
  for (int round = 0; round < kMacroRounds; ++round) {
    // Four forms; the macro plays into the last, with waits between its
    // letters.
    for (int i = 0; i < 4; ++i) QVERIFY(f.OpenAndWait("/form.html", "Form"));
    QVERIFY(WaitUntil([&] { return f.Browser(3)->FocusedInputWidget() != nullptr; }));
    QPointer<WebBrowser> closers[2] = {f.Browser(0), f.Browser(1)};
    QPointer<WebBrowser> bystander = f.Browser(2);
    QPointer<BrowserTab> played = f.tabs->ActiveTab();

    // During the play the first two pages close themselves; then the user
    // goes back to the macro's tab and closes it.
    QTimer::singleShot(100, f.form.get(), [&] { closers[0]->RunJavaScript("window.close()"); });
    QTimer::singleShot(200, f.form.get(), [&] { closers[1]->RunJavaScript("window.close()"); });
    QTimer::singleShot(450 + 40 * round, f.form.get(), [&] {
      if (!played) return;
      f.tabs->SwitchTo(f.tabs->Count() - 1, nullptr);
      Find<QToolButton>(f.form.get(), "ToolButtonClose")->click();
    });
    status->clear();
    f.form->Subsystems().macros->PlayKeyMacro("AB\\w(300)CD\\w(300)EF\\w(300)GH");
    QCOMPARE(status->text(), QString("タブが閉じられたため、キーマクロを中止しました"));
    QVERIFY(!f.form->Subsystems().macros->Playing());
    QVERIFY(played.isNull());
    // The pages that asked to close go at the next idle moment, and only
    // they; the form left never got a key meant for the closed one.
    QVERIFY(WaitUntil([&] { return closers[0].isNull() && closers[1].isNull(); }));
    QVERIFY(bystander);
    QCOMPARE(f.Count(), 1);
    QCOMPARE(f.Js(bystander, "keys").toString(), QString());
    Find<QToolButton>(f.form.get(), "ToolButtonClose")->click();
    QCOMPARE(f.Count(), 0);
  }
  QVERIFY(f.StillOpensPages());
}

SORVI_WEB_TEST_MAIN(TabStressTest)
#include "tab_stress_test.moc"
