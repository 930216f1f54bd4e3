// A bookmark opened once per stock, and the tabs' pages side by side: what
// the user sees in the tiles, where clicks and keys go, what the file keeps.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <QWindow>

#include "app/main_window.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_tree_view.h"
#include "platform/web_browser.h"
#include "support/dialog_driver.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"
#include "support/window_options.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"

using namespace sorvi;
using sorvi::testing::Find;
using sorvi::testing::WaitUntil;

namespace {

struct Fixture : sorvi::testing::WindowFixture {
  // The bookmark's load macro is `macro`.
  explicit Fixture(int stocks = 4, const QString& macro = "K")
      : WindowFixture({}, [&](const sorvi::testing::ScratchDir& dir) {
          QStringList codes = {"[自動車]"};
          for (int i = 1; i <= stocks; ++i) codes << QString("%1 銘柄%2").arg(i * 1111).arg(i);
          dir.WriteSjisLines("SV_Code.txt", codes);
          // F5 types "F5" on every page of the server.
          dir.WriteSjisLines("Sorvi.ini", {"[KeyFunc]", "C5=2", "K5=1", "M5-1=F5", "U5-1=" + server.Origin()});
          dir.WriteSjisLines("SV_List.txt", {"[chart]*", "*%CD% %NM%", "+" + macro,
                                             QString::fromLatin1(server.Origin()) + "/chart.html?c=%CD%"});
        }) {
    ServeFile("/chart.html", "form.html");
    ServeFile("/other.html", "form.html");
    sorvi::testing::ChangeOptions(*form, [](AppOptions& o) { o.IntervalPaste = o.IntervalDefault = 100; });
    form->activateWindow();
    (void)QTest::qWaitForWindowActive(form.get());
    Find<UrlListView>(form.get(), "ListViewURL")
        ->setCurrentItem(Find<UrlListView>(form.get(), "ListViewURL")->topLevelItem(0));
  }

  CodeTreeView* Tree() const { return Find<CodeTreeView>(form.get(), "TreeViewCode"); }
  QString Value(int tab, const char* id) const {
    return Js(Browser(tab), QString("(document.getElementById('%1') || {}).value").arg(id)).toString();
  }
  // The page's area in the window's coordinates.
  QRect PageRect(int tab) const {
    return QRect(tabs->TabAt(tab)->mapTo(form.get(), QPoint()), tabs->TabAt(tab)->size());
  }
};

}  // namespace

class TilesTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void fourStocksOpenPerStockAndShowSideBySide();
  void manyStocksAskFirst();
  void eachTabTypesItsOwnStocksCode_data();
  void eachTabTypesItsOwnStocksCode();
};

void TilesTest::fourStocksOpenPerStockAndShowSideBySide() {
  Fixture f;
  // A page opened before: hidden once the four charts fill the tiles.
  QVERIFY(f.OpenAndWait("/other.html", "Form"));

  // Four stocks, Ctrl and a double-click on the bookmark.
  f.Tree()->expand(f.Tree()->IndexAt(NodePos{0}));
  for (int i = 0; i < 4; ++i)
    f.Tree()->selectionModel()->select(f.Tree()->IndexAt(NodePos{0, i}), QItemSelectionModel::Select);
  UrlListView* list = Find<UrlListView>(f.form.get(), "ListViewURL");
  const QPoint row = list->visualItemRect(list->topLevelItem(0)).center() + QPoint(40, 0);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, row);

  // One tab per stock in tree order, each with its caption, its address and
  // its load macro played into its own page.
  QVERIFY(WaitUntil([&] { return f.Count() == 5 && f.Value(4, "a") == "K"; }, 30000));
  for (int i = 1; i <= 4; ++i) {
    QCOMPARE(f.Caption(i), QString("%1 銘柄%2").arg(i * 1111).arg(i));
    QCOMPARE(f.Browser(i)->LocationURL(), f.Url(QString("/chart.html?c=%1").arg(i * 1111).toLatin1()));
    QCOMPARE(f.Value(i, "a"), QString("K"));
  }

  Find<QAction>(f.form.get(), "PopupMenuTabTile4")->trigger();
  // The four charts fill the four quarters of the page area; the older page
  // is hidden.
  QVERIFY(!f.tabs->TabAt(0)->isVisible());
  const QRect area = f.PageRect(1).united(f.PageRect(4));
  for (int i = 1; i <= 4; ++i) {
    QVERIFY(f.tabs->TabAt(i)->isVisible() && f.Browser(i)->isVisible());
    const QRect page = f.PageRect(i);
    QVERIFY2(page.width() * 2 > area.width() - 10 && page.height() * 2 > area.height() - 10, "a quarter each");
    for (int j = 1; j < i; ++j) QVERIFY(!page.intersects(f.PageRect(j)));
  }

  // A click into the third tile's field b: its tab comes forward, F5 types
  // into that page only.
  const QVariantList b = f.Js(f.Browser(3),
                              "var r = document.getElementById('b').getBoundingClientRect();"
                              "[r.x + r.width / 2, r.y + r.height / 2]")
                             .toList();
  QVERIFY(b.size() == 2);
  QTest::mouseClick(f.Browser(3)->InputWidget(), Qt::LeftButton, {}, QPoint(b[0].toInt(), b[1].toInt()));
  QCOMPARE(f.Active(), 3);
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->currentText(), f.Url("/chart.html?c=3333"));
  QVERIFY(Find<QWidget>(f.form.get(), "TileFrame")->geometry().contains(f.tabs->TabAt(3)->geometry()));
  QVERIFY(WaitUntil([&] { return f.Browser(3)->FocusedInputWidget() != nullptr; }));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
  QVERIFY(WaitUntil([&] { return f.Value(3, "b") == "F5"; }));
  for (int i : {1, 2, 4}) QCOMPARE(f.Value(i, "b"), QString());

  // A hidden tab picked in the strip takes the current tile; closed, it
  // hands the tile back to the tab it had hidden.
  const QRect third = f.PageRect(3);
  f.ClickTab(0);
  QVERIFY(!f.tabs->TabAt(3)->isVisible());
  QCOMPARE(f.PageRect(0), third);
  f.tabs->CloseActiveTab();
  QVERIFY(f.tabs->TabAt(2)->isVisible());
  QCOMPARE(f.PageRect(2), third);

  // Back to one tile: the active page alone fills the area.
  Find<QAction>(f.form.get(), "PopupMenuTabTile1")->trigger();
  for (int i = 0; i < f.Count(); ++i) QCOMPARE(f.tabs->TabAt(i)->isVisible(), i == f.Active());
  QVERIFY(f.PageRect(f.Active()).contains(area));
  Find<QAction>(f.form.get(), "PopupMenuTabTile4")->trigger();

  f.form->close();
  f.Restart();
  QCOMPARE(f.form->Subsystems().tabs->Tiles(), TileLayout::kGrid2x2);
  QVERIFY(Find<QAction>(f.form.get(), "PopupMenuTabTile4")->isChecked());
  QFile ini(f.dir.File("Sorvi.ini"));
  QVERIFY(ini.open(QIODevice::ReadOnly));
  QVERIFY(ini.readAll().contains("[Tiles]\r\nLayout=2x2\r\n"));
}

void TilesTest::manyStocksAskFirst() {
  Fixture f(21);
  f.Tree()->selectionModel()->select(f.Tree()->IndexAt(NodePos{0}), QItemSelectionModel::Select);
  sorvi::testing::DialogDriver boxes({});  // closed without a choice
  Find<QAction>(f.form.get(), "PopupMenuURLGoEach")->trigger();
  QCOMPARE(boxes.Seen().size(), size_t(1));
  QVERIFY(boxes.Seen()[0].text.contains("21 銘柄"));
  QCOMPARE(f.Count(), 0);
}

void TilesTest::eachTabTypesItsOwnStocksCode_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("menu") << "menu";
  QTest::newRow("Ctrl+double-click") << "click";
  QTest::newRow("Ctrl+double-click on the selected bookmark") << "selected";
  QTest::newRow("the same with the X server's mouse") << "x";
}

void TilesTest::eachTabTypesItsOwnStocksCode() {
  QFETCH(QString, how);
  Fixture f(4, "\\w(200)\\c");
  // The last stock clicked is the tree's current one.
  f.Tree()->expand(f.Tree()->IndexAt(NodePos{0}));
  for (int i = 0; i < 4; ++i)
    f.Tree()->selectionModel()->select(f.Tree()->IndexAt(NodePos{0, i}), QItemSelectionModel::Select);
  f.Tree()->selectionModel()->setCurrentIndex(f.Tree()->IndexAt(NodePos{0, 3}), QItemSelectionModel::NoUpdate);
  UrlListView* list = Find<UrlListView>(f.form.get(), "ListViewURL");
  if (how == "menu") {
    Find<QAction>(f.form.get(), "PopupMenuURLGoEach")->trigger();
  } else {
    if (how == "click") list->clearSelection();
    const QPoint row = list->visualItemRect(list->topLevelItem(0)).center();
    if (how == "x") {
      const QPoint at = list->viewport()->mapToGlobal(row);
      QCOMPARE(QProcess::execute("xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y()), "keydown",
                                             "ctrl", "click", "--repeat", "2", "--delay", "80", "1", "keyup", "ctrl"}),
               0);
    } else {
      // Through the window system's way in, as a real mouse: press,
      // release, press, double-click, release.
      QWindow* window = f.form->windowHandle();
      QTest::mouseDClick(window, Qt::LeftButton, Qt::ControlModifier, list->viewport()->mapTo(f.form.get(), row));
      QTest::mouseMove(window, list->viewport()->mapTo(f.form.get(), row));  // Ctrl is let go
    }
  }
  QVERIFY(WaitUntil([&] { return f.Count() == 4 && !f.Value(3, "a").isEmpty(); }, 30000));
  for (int i = 0; i < 4; ++i) QCOMPARE(f.Value(i, "a"), QString::number((i + 1) * 1111));
  QCOMPARE(list->SelectedRow(), 0);
}

SORVI_WEB_TEST_MAIN(TilesTest)
#include "tiles_test.moc"
