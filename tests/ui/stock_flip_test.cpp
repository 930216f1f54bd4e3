// Flipping through the stocks with Alt+Down and Alt+Up, over a group
// boundary and back: the last bookmark opens for each stock in the tab it
// opened before, its load macro typing that stock's code; then a stock-code
// macro plays into the lock target instead. A held key steps once.
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
using sorvi::testing::WaitUntil;

class StockFlipTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void flipRepeatsTheBookmarkThenTheCodeMacro();
};

void StockFlipTest::flipRepeatsTheBookmarkThenTheCodeMacro() {
  sorvi::testing::WindowFixture f({"other"}, [&](const sorvi::testing::ScratchDir& dir) {
    dir.WriteSjisLines("SV_Code.txt", {"[A]", "1111 アア", "2222 イイ", "[空]", "[B]", "3333 ウウ"});
    dir.WriteSjisLines("SV_List.txt",
                       {"[chart]", "+\\c", QString::fromLatin1(f.server.Origin()) + "/form.html?s=%CD%"});
    dir.Write("Sorvi.ini", "[Window]\r\nExpand=-++\r\n[KeyCode]\r\nC=1\r\nN1=code\r\nM1=\\c\r\n");
  });
  f.ServeFile("/form.html", "form.html");
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  CodeTreeView* tree = Find<CodeTreeView>(f.form.get(), "TreeViewCode");
  const auto field = [&](const char* id) {
    return f.Js(f.tabs->ActiveBrowser(), QString("document.getElementById('%1').value").arg(id)).toString();
  };
  const auto selected = [&](int group, int stock) {
    const QModelIndexList nodes = sorvi::testing::SelectedNodes(tree);
    return nodes.size() == 1 && nodes[0] == Node(tree, group, stock);
  };
  const auto flip = [](int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::AltModifier); };
  const auto status = [&] { return Find<QLabel>(f.form.get(), "StatusPanel0")->text(); };

  tree->RevealNode(NodePos{0, 0});
  Find<UrlListView>(f.form.get(), "ListViewURL")
      ->setCurrentItem(Find<UrlListView>(f.form.get(), "ListViewURL")->topLevelItem(0));
  f.form->Subsystems().bookmarks->OpenSelectedBookmark(Qt::NoModifier);
  QVERIFY(WaitUntil([&] { return f.Count() == 1 && field("a") == "1111"; }));
  // Another page in a tab of its own; in the stock search Alt+Down is the field's.
  QVERIFY(f.OpenAndWait("/other.html", "Page other"));
  Find<QLineEdit>(f.form.get(), "codeSearch")->setFocus();
  flip(Qt::Key_Down);
  QVERIFY(selected(0, 0));

  // Key 0: held down. Forward over the group boundary (an empty group
  // between), back again.
  const struct {
    int key, group, stock;
    const char* code;
    const char* status;
  } steps[] = {{Qt::Key_Down, 0, 1, "2222", "2222 イイ (2/3)"},
               {Qt::Key_Down, 2, 0, "3333", "3333 ウウ (3/3)"},
               {Qt::Key_Up, 0, 1, "2222", "2222 イイ (2/3)"}};
  for (const auto& step : steps) {
    // From the other tab's page: the bookmark's tab comes back and loads.
    f.tabs->ActiveBrowser()->FocusPage();
    flip(step.key);
    QVERIFY(selected(step.group, step.stock));
    QVERIFY(tree->isExpanded(Node(tree, step.group)));
    QCOMPARE(status(), QString(step.status));
    QCOMPARE(f.Active(), 0);
    QVERIFY(WaitUntil([&] { return field("a") == step.code; }));
    QCOMPARE(f.server.RequestsFor("/form.html").last().query, "s=" + QByteArray(step.code));
    QCOMPARE(f.Count(), 2);
  }
  // No way round from the first stock to the last.
  flip(Qt::Key_Up);
  flip(Qt::Key_Up);
  QVERIFY(selected(0, 0));
  QCOMPARE(status(), QString("最初の銘柄です"));
  // The bookmark's tab closed: a new one.
  QVERIFY(WaitUntil([&] { return field("a") == "1111"; }));
  f.tabs->CloseActiveTab();
  flip(Qt::Key_Down);
  QCOMPARE(f.Count(), 2);
  QVERIFY(WaitUntil([&] { return field("a") == "2222"; }));

  // The user clicks into field b, its lock target, and plays the code macro.
  WebBrowser* browser = f.tabs->ActiveBrowser();
  const QStringList middle = f.Js(browser,
                                  "(r => (r.left + r.width / 2) + ',' + (r.top + r.height / 2))"
                                  "(document.getElementById('b').getBoundingClientRect())")
                                 .toString()
                                 .split(',');
  const QPoint field_b(qRound(middle.value(0).toDouble()), qRound(middle.value(1).toDouble()));
  QCursor::setPos(browser->InputWidget()->mapToGlobal(field_b));
  browser->ClickAt(field_b);
  QVERIFY(WaitUntil([&] { return f.tabs->LockTarget() != nullptr; }));
  tree->RevealNode(NodePos{0, 0});
  Find<QMenu>(f.form.get(), "PopupMenuCodeGo")->actions().last()->trigger();
  QVERIFY(WaitUntil([&] { return field("b") == "1111"; }));
  const int loads = f.server.Count("/form.html");
  for (const auto& step : steps) {
    f.Js(browser, "document.getElementById('b').value = ''");
    tree->setFocus();
    if (&step == &steps[0]) {
      QCOMPARE(QProcess::execute("xdotool", {"keydown", "alt+Down"}), 0);
      sorvi::testing::Spin(1200);
      QCOMPARE(QProcess::execute("xdotool", {"keyup", "Down", "keyup", "alt"}), 0);
    } else {
      flip(step.key);
    }
    QVERIFY(WaitUntil([&] { return field("b") == step.code; }));
    QVERIFY(selected(step.group, step.stock));
    QCOMPARE(status(), QString(step.status));
  }
  QCOMPARE(f.server.Count("/form.html"), loads);
}

SORVI_WEB_TEST_MAIN(StockFlipTest)
#include "stock_flip_test.moc"
