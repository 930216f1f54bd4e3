// Flipping through the stocks with Alt+Down and Alt+Up: over a group
// boundary and back, the last bookmark opens for each stock in the tab it
// opened before, its load macro typing that stock's code; a stock-code
// macro plays into the lock target instead; a held key steps once.
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QTest>

#include "app/main_window.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_tree_view.h"
#include "platform/web_browser.h"
#include "support/code_tree.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"
#include "tabs/tab_controller.h"

using namespace sorvi;
using sorvi::testing::Find;
using sorvi::testing::Node;
using sorvi::testing::ScratchDir;
using sorvi::testing::WaitUntil;

namespace {

struct Fixture : sorvi::testing::WindowFixture {
  Fixture()
      : WindowFixture({"other"}, [&](const ScratchDir& dir) {
          dir.WriteSjisLines("SV_Code.txt", {"[A]", "1111 アア", "2222 イイ", "[空]", "[B]", "3333 ウウ"});
          dir.WriteSjisLines("SV_List.txt",
                             {"[chart]", "+\\c\\r", QString::fromLatin1(server.Origin()) + "/form.html?s=%CD%"});
          dir.Write("Sorvi.ini", "[Window]\r\nExpand=-++\r\n[KeyCode]\r\nC=1\r\nN1=code\r\nM1=\\c\r\n");
        }) {
    ServeFile("/form.html", "form.html");
    server.Serve("/chart", sorvi::testing::Page("Chart"));
    tabs = form->Tabs();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get())) qWarning("the window did not become active");
  }

  CodeTreeView* Tree() const { return Find<CodeTreeView>(form.get(), "TreeViewCode"); }
  QString Status() const { return Find<QLabel>(form.get(), "StatusPanel0")->text(); }
  // The flip key, wherever the focus is.
  void Flip(bool forward) {
    QTest::keyClick(QApplication::focusWidget(), forward ? Qt::Key_Down : Qt::Key_Up, Qt::AltModifier);
  }
  bool Selected(int group, int stock) const {
    const QModelIndexList nodes = sorvi::testing::SelectedNodes(Tree());
    return nodes.size() == 1 && nodes[0] == Node(Tree(), group, stock);
  }
  // The form page of the active tab: loaded and its field a focused.
  WebBrowser* ReadyForm() {
    WebBrowser* browser = tabs->ActiveBrowser();
    const bool ready =
        browser && WaitUntil([&] {
          return !browser->Busy() && browser->FocusedInputWidget() &&
                 Js(browser, "document.activeElement ? document.activeElement.id : ''").toString() == "a";
        });
    return ready ? browser : nullptr;
  }
};

}  // namespace

class StockFlipTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void theBookmarkOpensForEachStockInItsTab();
  void aStockCodeMacroPlaysIntoTheLockTarget();
};

void StockFlipTest::theBookmarkOpensForEachStockInItsTab() {
  Fixture f;
  f.Tree()->RevealNode(NodePos{0, 0});
  UrlListView* list = Find<UrlListView>(f.form.get(), "ListViewURL");
  list->setCurrentItem(list->topLevelItem(0));
  f.form->Bookmarks()->ListViewURLDblClick(Qt::NoModifier);
  QVERIFY(WaitUntil([&] { return f.server.Count("/chart") == 1; }));
  // Another page in a tab of its own, the tree's search field focused:
  // there Alt+Down is the field's own.
  QVERIFY(f.OpenAndWait("/other.html", "Page other"));
  Find<QLineEdit>(f.form.get(), "codeSearch")->setFocus();
  f.Flip(true);
  QVERIFY(f.Selected(0, 0));

  // Forward over the group boundary (an empty group between), back again:
  // the bookmark's tab each time, its macro typing the stock's own code.
  const struct {
    bool forward;
    int group, stock;
    const char* code;
    const char* status;
  } steps[] = {{true, 0, 1, "2222", "2222 イイ (2/3)"},
               {true, 2, 0, "3333", "3333 ウウ (3/3)"},
               {false, 0, 1, "2222", "2222 イイ (2/3)"}};
  int charts = 1;
  for (const auto& step : steps) {
    f.tabs->ActiveBrowser()->FocusPage();
    f.Flip(step.forward);
    QVERIFY(f.Selected(step.group, step.stock));
    QVERIFY(f.Tree()->isExpanded(Node(f.Tree(), step.group)));
    QCOMPARE(f.Active(), 0);
    QCOMPARE(f.Status(), QString(step.status));
    QVERIFY(WaitUntil([&] { return f.server.Count("/chart") == charts + 1; }));
    ++charts;
    QCOMPARE(f.server.RequestsFor("/form.html").last().query, "s=" + QByteArray(step.code));
    QCOMPARE(f.server.RequestsFor("/chart").last().query, "code=" + QByteArray(step.code) + "&other=");
    QCOMPARE(f.Count(), 2);
    QVERIFY(WaitUntil([&] { return !f.tabs->ActiveBrowser()->Busy(); }));
  }
  // At the first stock nothing goes round to the last; the status says so.
  f.Flip(false);
  f.Flip(false);
  QVERIFY(f.Selected(0, 0));
  QCOMPARE(f.Status(), QString("最初の銘柄です"));
  QVERIFY(WaitUntil([&] { return f.server.Count("/chart") == charts + 1; }));

  // The bookmark's tab closed: the next flip opens a new one.
  f.tabs->SwitchTo(0, nullptr);
  f.tabs->CloseActiveTab();
  QCOMPARE(f.Count(), 1);
  f.Flip(true);
  QCOMPARE(f.Count(), 2);
  QVERIFY(WaitUntil([&] { return f.server.Count("/chart") == charts + 2; }));
  QCOMPARE(f.server.RequestsFor("/chart").last().query, QByteArray("code=2222&other="));
}

void StockFlipTest::aStockCodeMacroPlaysIntoTheLockTarget() {
  Fixture f;
  f.Open("/form.html");
  WebBrowser* browser = f.ReadyForm();
  QVERIFY(browser);
  // The user clicks into field b: it becomes the lock target.
  const QStringList middle = f.Js(browser,
                                  "(r => (r.left + r.width / 2) + ',' + (r.top + r.height / 2))"
                                  "(document.getElementById('b').getBoundingClientRect())")
                                 .toString()
                                 .split(',');
  const QPoint field_b(qRound(middle.value(0).toDouble()), qRound(middle.value(1).toDouble()));
  QCursor::setPos(browser->InputWidget()->mapToGlobal(field_b));
  browser->ClickAt(field_b);
  QVERIFY(WaitUntil([&] { return f.tabs->LockTarget() != nullptr; }));

  f.Tree()->RevealNode(NodePos{0, 0});
  Find<QMenu>(f.form.get(), "PopupMenuCodeGo")->actions().last()->trigger();
  const auto b = [&] { return f.Js(browser, "document.getElementById('b').value").toString(); };
  QVERIFY(WaitUntil([&] { return b() == "1111"; }));

  // Held down, the key steps once; then over the group boundary and back.
  const struct {
    int key;  // 0: held
    int group, stock;
    const char* code;
    const char* status;
  } steps[] = {{0, 0, 1, "2222", "2222 イイ (2/3)"},
               {Qt::Key_Down, 2, 0, "3333", "3333 ウウ (3/3)"},
               {Qt::Key_Up, 0, 1, "2222", "2222 イイ (2/3)"}};
  for (const auto& step : steps) {
    f.Js(browser, "document.getElementById('b').value = ''");
    f.Tree()->setFocus();
    if (step.key) {
      QTest::keyClick(f.Tree(), Qt::Key(step.key), Qt::AltModifier);
    } else {
      QCOMPARE(QProcess::execute("xdotool", {"keydown", "alt+Down"}), 0);
      sorvi::testing::Spin(1200);
      QCOMPARE(QProcess::execute("xdotool", {"keyup", "Down", "keyup", "alt"}), 0);
    }
    QVERIFY(WaitUntil([&] { return b() == step.code; }));
    QVERIFY(f.Selected(step.group, step.stock));
    QCOMPARE(f.Status(), QString(step.status));
  }
  QCOMPARE(f.Js(browser, "document.getElementById('a').value").toString(), QString());
  QCOMPARE(f.Count(), 1);
}

SORVI_WEB_TEST_MAIN(StockFlipTest)
#include "stock_flip_test.moc"
