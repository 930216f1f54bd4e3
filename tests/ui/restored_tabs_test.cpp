// The last run's tabs brought back: turned on in the options dialog, kept at
// the close, shown with their captions at the next start while only the
// shown page is fetched.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_sleeper.h"

using sorvi::testing::Find;
using sorvi::testing::Sjis;

class RestoredTabsTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void keptTabsComeBackAndOnlyTheShownPageLoads();
};

void RestoredTabsTest::keptTabsComeBackAndOnlyTheShownPageLoads() {
  sorvi::testing::WindowFixture f({"a", "b", "c"});
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    Find<QCheckBox>(dialog, "CheckBoxRestoreSession")->setChecked(true);
    Find<QCheckBox>(dialog, "CheckBoxSleepTabs")->setChecked(true);
    Find<QSpinBox>(dialog, "UpDownSleepMinutes")->setValue(1);
    Find<QPushButton>(dialog, "ButtonOk")->click();
  });
  Find<QAction>(f.form.get(), "PopupMenuEtcOption")->trigger();
  QVERIFY(f.dir.Read("Sorvi.ini").contains("[SleepingTabs]\r\nOn=1\r\nMinutes=1\r\n"));
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  sorvi::OpenRequest fixed = f.Request("/b.html");
  fixed.caption = Sjis("固定の見出し").toStdString();
  f.form->OpenPage(fixed);
  QVERIFY(f.WaitLoaded(1, "固定の見出し"));
  QVERIFY(f.OpenAndWait("/c.html", "Page c"));
  const sorvi::StockWatch watch{false, {Sjis("主力株").toStdString()}};
  f.tabs->TabAt(0)->SetReload({4, 0});
  f.tabs->TabAt(0)->SetWatch(watch);
  f.ClickTab(1);
  QVERIFY(f.form->close());

  f.server.ClearRequests();
  f.Restart();
  QTRY_COMPARE(f.Count(), 3);
  QCOMPARE(f.Active(), 1);
  QCOMPARE(f.Caption(0), QString("Page a"));
  QCOMPARE(f.Caption(2), QString("Page c"));
  QVERIFY(f.tabs->TabAt(0)->Watch() == watch);  // with its reload interval
  // The shown tab loads and keeps its fixed caption; the others wait.
  QVERIFY(f.WaitLoaded(1, "固定の見出し"));
  sorvi::testing::Spin(500);
  QCOMPARE(f.server.Count("/b.html"), 1);
  QCOMPARE(f.server.Count("/a.html") + f.server.Count("/c.html"), 0);

  QVERIFY(f.Bar()->tabTextColor(2).isValid());  // waiting is sleeping: dimmed
  f.ClickTab(2);
  QVERIFY(f.WaitLoaded(2, "Page c"));
  QVERIFY(!f.Bar()->tabTextColor(2).isValid());
  QCOMPARE(f.server.Count("/a.html"), 0);
  // A restored tab sleeps again as any other, and is kept asleep as it was.
  f.tabs->Sleeper().SetSleepAfter(300);
  f.ClickTab(1);
  QVERIFY(sorvi::testing::WaitUntil([&] { return f.tabs->TabAt(2)->PageWaiting(); }));
  QVERIFY(f.Bar()->tabTextColor(2).isValid());
  QCOMPARE(f.Caption(2), QString("Page c"));
  f.ClickTab(2);
  QVERIFY(f.WaitLoaded(2, "Page c"));
  QVERIFY(sorvi::testing::WaitUntil([&] { return f.tabs->TabAt(1)->PageWaiting(); }));
  // A tab never loaded keeps its address for the next run, one asleep too.
  QVERIFY(f.form->close());
  QCOMPARE(f.dir.Ini("SessionTab2", "Address"), f.Url("/b.html"));
  QCOMPARE(f.dir.Ini("SessionTab2", "Caption"), QString("固定の見出し"));
  QCOMPARE(f.dir.Ini("SessionTab1", "Address"), f.Url("/a.html"));
  QCOMPARE(f.dir.Ini("Session", "Current"), QString("2"));

  // Side by side, every tab a tile shows loads at start; the rest wait.
  f.dir.Write("Sorvi.ini", f.dir.Read("Sorvi.ini") + "[Tiles]\r\nLayout=2x1\r\n");
  f.server.ClearRequests();
  f.Restart();
  QVERIFY(f.WaitLoaded(2, "Page c"));
  QTRY_COMPARE(f.server.Count("/b.html"), 1);
  sorvi::testing::Spin(500);
  QCOMPARE(f.server.Count("/a.html"), 0);
}

SORVI_WEB_TEST_MAIN(RestoredTabsTest)
#include "restored_tabs_test.moc"
