// Word when a watched stock appears on a reloading page, received by a
// notification service of the test's own on a session bus of its own (the
// runner starts one for this test).
#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTest>

#include "app/main_window.h"
#include "platform/web_browser.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/page_script.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"
#include "support/window_options.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_menu.h"
#include "tabs/tab_sleeper.h"

using namespace sorvi;
using namespace sorvi::testing;

namespace {

// Records what it is sent, as a desktop's service shows it.
class NotificationService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
 public:
  QStringList sent;  // "title|body|actions"

 public slots:
  QStringList GetCapabilities() { return {"actions", "body"}; }
  uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
              const QStringList& actions, const QVariantMap&, int) {
    sent << summary + "|" + body + "|" + actions.join(',');
    return uint(sent.size());
  }

 signals:
  void ActionInvoked(uint id, const QString& action_key);
};

}  // namespace

class StockAppearancesTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { FailOnUnexpectedWarnings(); }
  void tellsWatchedStocksNewSinceTheLastLoad();
};

void StockAppearancesTest::tellsWatchedStocksNewSinceTheLastLoad() {
  QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "test-notifications");
  QVERIFY2(bus.isConnected(), "needs the session bus run_under_xvfb.sh starts for it");
  NotificationService service;
  QVERIFY(bus.registerObject("/org/freedesktop/Notifications", &service,
                             QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
  QVERIFY(bus.registerService("org.freedesktop.Notifications"));

  WindowFixture f({"other"}, [](const ScratchDir& dir) {
    dir.WriteSjisLines("SV_Code.txt", {"[主力株]", "7203 トヨタ自動車", "6758 ソニーG", "130A ベリタス", "[長期]",
                                       "9984 ソフトバンクG"});
  });
  const auto serve = [&](const char* title, const char* codes) {
    f.server.Serve("/rank.html", Page(title, QByteArray("<p>") + codes + "</p>"));
  };
  serve("Ranking A", "7203 9984 1234.5");
  QVERIFY(f.OpenAndWait("/rank.html", "Ranking A"));
  TabMenu& menu = f.tabs->Menu();
  menu.UpdateForActiveTab();
  QVERIFY(!menu.WatchMenu()->isEnabled());  // offered for tabs that reload
  Find<QAction>(menu.Menu(), "PopupMenuTabReload1")->trigger();
  menu.UpdateForActiveTab();
  QVERIFY(menu.WatchMenu()->isEnabled());
  emit menu.WatchMenu()->aboutToShow();
  QStringList items;
  for (QAction* item : menu.WatchMenu()->actions()) items << item->text();
  QCOMPARE(items, QStringList({"すべての銘柄", "", "主力株", "長期"}));
  menu.WatchMenu()->actions().value(2)->trigger();
  QVERIFY(f.OpenAndWait("/other.html", "Page other"));
  WebBrowser* ranking = f.Browser(0);

  // The first load only records; then each reload tells what is new on
  // the page, from the groups watched, once for all of them.
  const struct {
    const char* title;
    const char* codes;
    int told;
    const char* last;  // body of the last notification
  } rows[] = {
      {"Ranking B", "6758 7203 130A 4755 9984", 1, "6758 ソニーG、130A ベリタス が表示されました"},
      {"Ranking C", "130A 6758 9984", 1, nullptr},
      {"Ranking D", "7203 130A", 2, "7203 トヨタ自動車 が表示されました"},
  };
  for (const auto& row : rows) {
    serve(row.title, row.codes);
    ranking->Refresh();
    QVERIFY(f.WaitLoaded(0, row.title));
    QCOMPARE(JsApart(ranking, "1").toInt(), 1);  // after the codes asked at the load's end
    QTRY_COMPARE(service.sent.size(), row.told);
    if (row.last) QCOMPARE(service.sent.last(), QString("%1|%2|default,表示").arg(row.title, row.last));
  }
  // Marked in the strip until shown, the caption as it was.
  QCOMPARE(f.Caption(0), QString("Ranking D"));
  QVERIFY(!f.Bar()->tabIcon(0).isNull());
  // A click on the notification shows the tab.
  emit service.ActionInvoked(2, "default");
  QTRY_COMPARE(f.Active(), 0);
  QVERIFY(f.Bar()->tabIcon(0).isNull());

  // No service on the bus: no box, the status bar says it, the mark shows.
  QVERIFY(bus.unregisterService("org.freedesktop.Notifications"));
  f.ClickTab(1);
  QTRY_COMPARE(f.Active(), 1);
  serve("Ranking E", "6758");
  ranking->Refresh();
  QVERIFY(f.WaitLoaded(0, "Ranking E"));
  QTRY_COMPARE(Find<QLabel>(f.form.get(), "StatusPanel0")->text(),
               QString("「Ranking E」に 6758 ソニーG が表示されました（デスクトップ通知を出せません）"));
  QVERIFY(!f.Bar()->tabIcon(0).isNull());
  QVERIFY(!QApplication::activeModalWidget());
  QCOMPARE(service.sent.size(), 2);

  // Resting between its reloads, the page is let go only once it has said
  // which codes it shows.
  QVERIFY(bus.registerService("org.freedesktop.Notifications"));
  f.tabs->Sleeper().SetSleepAfter(300);
  ChangeOptions(*f.form, [](AppOptions& o) { o.SleepTabs.on = true; });
  QVERIFY(WaitUntil([&] { return ranking->Rest() == PageRest::kDiscarded; }));
  serve("Ranking F", "9984 6758 130A");
  ranking->Refresh();
  QVERIFY(f.WaitLoaded(0, "Ranking F"));
  QTRY_COMPARE(service.sent.size(), 3);
  QCOMPARE(service.sent.last(), QString("Ranking F|130A ベリタス が表示されました|default,表示"));
  QVERIFY(WaitUntil([&] { return ranking->Rest() == PageRest::kDiscarded; }));
}

SORVI_WEB_TEST_MAIN(StockAppearancesTest)
#include "stock_appearances_test.moc"
