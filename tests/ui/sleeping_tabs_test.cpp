// Tabs out of sight put to sleep and woken: what comes back (address,
// caption, history, scroll position), what never sleeps, the option off,
// and the tabs of the last run, which start asleep.
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "keymacro/key_macro_controller.h"
#include "platform/web_browser.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"
#include "support/window_options.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_sleeper.h"

using namespace sorvi;
using sorvi::testing::Find;
using sorvi::testing::Spin;
using sorvi::testing::WaitUntil;

namespace {

constexpr int kSleepAfterMs = 300;

bool Dimmed(const testing::WindowFixture& f, int index) { return f.Bar()->tabTextColor(index).isValid(); }

bool Asleep(const testing::WindowFixture& f, int index) {
  return f.tabs->TabAt(index)->PageWaiting() && Dimmed(f, index);
}

}  // namespace

class SleepingTabsTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void hiddenTabSleepsAndWakesWhereItWas();
  void keptTabsStartAsleepAndSleepAgain();
};

void SleepingTabsTest::hiddenTabSleepsAndWakesWhereItWas() {
  testing::WindowFixture f({"a", "b"});
  f.server.Serve("/long.html", testing::Page("Page long", "<div style=\"height:5000px\">long</div>"));
  f.server.Serve("/form.html", testing::Page("Page form", "<input id=\"q\" autofocus>"));
  f.tabs->Sleeper().SetSleepAfter(kSleepAfterMs);
  int macros = 0;
  connect(f.tabs, &TabController::LoadKeyMacroReady, this, [&] { ++macros; });
  OpenRequest request = f.Request("/a.html");
  request.key_macro = "\\w(1)";
  f.form->OpenPage(request);
  QVERIFY(f.WaitLoaded(0, "Page a"));
  QCOMPARE(macros, 1);
  f.Browser(0)->Navigate(QString(f.Url("/long.html")));
  QVERIFY(f.WaitLoaded(0, "Page long"));
  f.Js(f.Browser(0), "window.scrollTo(0, 1500)");
  QVERIFY(f.OpenAndWait("/form.html", "Page form"));
  WebBrowser* typed = f.Browser(1);
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QTRY_VERIFY(typed->FocusedInputWidget() && f.Js(typed, "document.activeElement.id").toString() == "q");
  f.form->Macros()->PlayKeyMacro("x");
  QTRY_COMPARE(f.Js(typed, "document.getElementById('q').value").toString(), QString("x"));
  QVERIFY(f.OpenAndWait("/b.html", "Page b"));

  // Off, nothing sleeps however long the tabs are hidden.
  Spin(3 * kSleepAfterMs);
  QVERIFY(f.Browser(0) && f.Browser(1) && !Dimmed(f, 0));

  testing::ChangeOptions(*f.form, [](AppOptions& o) { o.SleepTabs.on = true; });
  QVERIFY(WaitUntil([&] { return Asleep(f, 0); }));
  QCOMPARE(f.Caption(0), QString("Page long"));
  Spin(3 * kSleepAfterMs);
  QVERIFY(f.Browser(1));  // typed into: never asleep
  QVERIFY(!Dimmed(f, 1));

  QStringList status;
  connect(f.tabs, &TabController::StatusTextChanged, this, [&](const QString& text) { status << text; });
  f.ClickTab(0);
  QVERIFY(status.contains("休止中のタブを再読み込みしています"));
  QVERIFY(f.WaitLoaded(0, "Page long"));
  QVERIFY(!Dimmed(f, 0));
  QVERIFY(f.Browser(0)->LocationURL().endsWith("/long.html"));
  QCOMPARE(f.Js(f.Browser(0), "history.length").toInt(), 2);
  QTRY_COMPARE(f.Js(f.Browser(0), "window.scrollY").toInt(), 1500);
  QCOMPARE(status.last(), QString());
  QCOMPARE(macros, 1);  // played once, when the tab was opened
  f.tabs->ToolButtonGoBackClick();
  QVERIFY(f.WaitLoaded(0, "Page a"));
}

void SleepingTabsTest::keptTabsStartAsleepAndSleepAgain() {
  testing::WindowFixture f({"a", "b"});
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    Find<QCheckBox>(dialog, "CheckBoxRestoreSession")->setChecked(true);
    Find<QCheckBox>(dialog, "CheckBoxSleepTabs")->setChecked(true);
    Find<QSpinBox>(dialog, "UpDownSleepMinutes")->setValue(1);
    Find<QPushButton>(dialog, "ButtonOk")->click();
  });
  f.form->PopupMenuEtcOptionClick();
  QVERIFY(f.dir.Read("Sorvi.ini").contains("[SleepingTabs]\r\nOn=1\r\nMinutes=1\r\n"));
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(f.OpenAndWait("/b.html", "Page b"));
  QVERIFY(f.form->close());

  f.Restart();
  f.tabs->Sleeper().SetSleepAfter(kSleepAfterMs);
  QTRY_COMPARE(f.Count(), 2);
  QVERIFY(Asleep(f, 0));
  QCOMPARE(f.Caption(0), QString("Page a"));
  f.ClickTab(0);
  QVERIFY(f.WaitLoaded(0, "Page a"));
  QVERIFY(!Dimmed(f, 0));
  f.ClickTab(1);
  QVERIFY(WaitUntil([&] { return Asleep(f, 0); }));
  QCOMPARE(f.Caption(0), QString("Page a"));
  f.ClickTab(0);
  QVERIFY(f.WaitLoaded(0, "Page a"));
  QVERIFY(f.Browser(0)->LocationURL().endsWith("/a.html"));
}

SORVI_WEB_TEST_MAIN(SleepingTabsTest)
#include "sleeping_tabs_test.moc"
