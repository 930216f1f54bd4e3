// Opening a bookmark for the selected stocks: the filled-in address reaches
// the server byte for byte, the tab gets its fixed caption, and the tree is
// left as it was.
#include <QAction>
#include <QComboBox>
#include <QTest>

#include "app/main_window.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_tree_view.h"
#include "platform/web_browser.h"
#include "support/code_tree.h"
#include "support/find_widget.h"
#include "support/local_http_server.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"
#include "support/window_options.h"
#include "tabs/address_box.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_stack.h"

using namespace sorvi;
using sorvi::testing::ChangeOptions;
using sorvi::testing::Find;
using sorvi::testing::LocalHttpServer;
using sorvi::testing::Node;
using sorvi::testing::ScratchDir;
using sorvi::testing::Sjis;

namespace {

const QByteArray kPage = "<html><head><title>echo</title></head><body>ok</body></html>";

struct Fixture : sorvi::testing::WindowFixture {
  // The bookmarks' "ORIGIN" is the local server's.
  explicit Fixture(const QStringList& bookmark_lines)
      : WindowFixture({}, [&](const ScratchDir& dir) {
          dir.WriteSjisLines("SV_Code.txt", {"[自動車]", "1111 トヨタ", "2222 ソニー", "3333 表示灯", "[空]"});
          QStringList lines;
          for (QString line : bookmark_lines) lines << line.replace("ORIGIN", QString::fromLatin1(server.Origin()));
          dir.WriteSjisLines("SV_List.txt", lines);
        }) {
    server.Serve("/echo", kPage);
    server.Serve("/list", kPage);
    CodeTreeView& tree = *Find<CodeTreeView>(form.get(), "TreeViewCode");
    tree.expand(Node(&tree, 0));
    Find<UrlListView>(form.get(), "ListViewURL")
        ->setCurrentItem(Find<UrlListView>(form.get(), "ListViewURL")->topLevelItem(0));
  }

  CodeTreeView* Tree() const { return Find<CodeTreeView>(form.get(), "TreeViewCode"); }
  QModelIndex Stock(int i) const { return Node(Tree(), 0, i); }
  void Select(std::initializer_list<QModelIndex> nodes) { sorvi::testing::SelectNodes(Tree(), nodes); }
};

}  // namespace

class OpenBookmarkTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void selectedStocksFillTheAddressAndCaption();
  void groupSelectionRepeatsOverEveryStock();
  void doubleClickOnAGroupOpensAndLeavesItsExpansion();
  void overwriteModeReusesTheActiveTab();
  void emptyExpansionOpensNothingAndForgetsPendingValues();
  void listBytesReachTheServerAndTheHistoryExactly();
};

void OpenBookmarkTest::selectedStocksFillTheAddressAndCaption() {
  Fixture f({"[echo]*", "*%CD% %NM%", "ORIGIN/echo?c=%CD%,%CD%,%CD%&n=%NM%&g=%GP%"});
  f.Select({f.Stock(1), f.Stock(2)});
  // The double-click on the bookmark row, as a user does it.
  QTreeWidgetItem* row = Find<UrlListView>(f.form.get(), "ListViewURL")->topLevelItem(0);
  const QPoint at = Find<UrlListView>(f.form.get(), "ListViewURL")->visualItemRect(row).center() + QPoint(40, 0);
  QTest::mouseDClick(Find<UrlListView>(f.form.get(), "ListViewURL")->viewport(), Qt::LeftButton, {}, at);

  QVERIFY(f.server.WaitForRequest("/echo"));
  const LocalHttpServer::Request request = f.server.RequestsFor("/echo").first();
  // The Shift-JIS bytes arrive as they are, "ソ" with its 0x5C included.
  QCOMPARE(request.DecodedQuery(), "c=2222,3333,&n=" + Sjis("ソニー") + "&g=" + Sjis("自動車"));
  QCOMPARE(Find<TabStack>(f.form.get(), "PageControl")->count(), 1);
  QCOMPARE(f.form->Subsystems().tabs->Caption(0), QString("2222 ソニー"));
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->itemText(0),
           QString::fromLatin1(f.server.Origin()) + "/echo?c=2222,3333,&n=ソニー&g=自動車");
  // The fixed caption survives the page's title.
  QTRY_VERIFY(!f.form->Subsystems().tabs->ActiveBrowser()->Busy());
  QCOMPARE(f.form->Subsystems().tabs->Caption(0), QString("2222 ソニー"));
}

void OpenBookmarkTest::groupSelectionRepeatsOverEveryStock() {
  Fixture f({"[list]", "ORIGIN/list?first=%CD%&rest=%[%CD%,]%"});
  f.Select({Node(f.Tree(), 0)});
  f.form->Subsystems().bookmarks->OpenSelectedBookmark(Qt::NoModifier);
  QVERIFY(f.server.WaitForRequest("/list"));
  QCOMPARE(f.server.RequestsFor("/list").first().DecodedQuery(), QByteArray("first=1111&rest=2222,3333,"));
  // Without a fixed caption the tab follows the page.
  QTRY_COMPARE(f.form->Subsystems().tabs->Caption(0), QString("echo"));
}

void OpenBookmarkTest::doubleClickOnAGroupOpensAndLeavesItsExpansion() {
  Fixture f({"[echo]", "ORIGIN/echo?g=%GP%&c=%CD%"});
  CodeTreeView& tree = *Find<CodeTreeView>(f.form.get(), "TreeViewCode");
  const QModelIndex group = Node(&tree, 0);
  QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(group).center());
  QVERIFY(f.server.WaitForRequest("/echo"));
  QCOMPARE(f.server.RequestsFor("/echo").first().DecodedQuery(), "g=" + Sjis("自動車") + "&c=1111");
  QVERIFY(tree.isExpanded(group));
  QCOMPARE(tree.PendingExpandWish(), CodeTreeView::ExpandWish::kNone);
  // The next press in the tree changes nothing either.
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(group).center());
  QVERIFY(tree.isExpanded(group));
}

void OpenBookmarkTest::overwriteModeReusesTheActiveTab() {
  Fixture f({"[echo]*", "*%NM%", "ORIGIN/echo?c=%CD%"});
  Find<QAction>(f.form.get(), "PopupMenuNavigate2")->trigger();
  f.Select({f.Stock(0)});
  f.form->Subsystems().bookmarks->OpenSelectedBookmark(Qt::NoModifier);
  QVERIFY(f.server.WaitForRequest("/echo"));
  QCOMPARE(f.form->Subsystems().tabs->Caption(0), QString("トヨタ"));
  f.Select({f.Stock(2)});
  f.form->Subsystems().bookmarks->OpenSelectedBookmark(Qt::NoModifier);
  QVERIFY(f.server.WaitForRequest("/echo", 2));
  QCOMPARE(Find<TabStack>(f.form.get(), "PageControl")->count(), 1);
  QCOMPARE(f.form->Subsystems().tabs->Caption(0), QString("表示灯"));
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->count(), 2);
}

void OpenBookmarkTest::emptyExpansionOpensNothingAndForgetsPendingValues() {
  Fixture f({"[nothing]*", "*caption", "+\\c\\r", ""});
  f.Select({f.Stock(0)});
  f.form->Subsystems().bookmarks->OpenSelectedBookmark(Qt::NoModifier);
  QCOMPARE(Find<TabStack>(f.form.get(), "PageControl")->count(), 0);
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->currentText(), QString());
  QVERIFY(!WebEngine::IsStarted());
}

void OpenBookmarkTest::listBytesReachTheServerAndTheHistoryExactly() {
  // A name as a broken or foreign editor may leave it: double-byte
  // characters whose second byte is 0x5C, bytes that are no character of
  // code page 932, and control bytes.
  const QByteArray name("\x83\x5C\x80x\xFF\x01\x1F\x95\x5C", 9);
  sorvi::testing::WindowFixture f;
  LocalHttpServer& server = f.server;
  server.Serve("/echo", kPage);
  f.form.reset();
  f.dir.Write("SV_Code.txt", "[g]\r\n1234 " + name + "\r\n");
  f.dir.Write("SV_List.txt", "[n]\r\n" + server.Origin() + "/echo?n=%NM%\r\n");
  f.Restart();
  TFormMain& form = *f.form;
  CodeTreeView& tree = *Find<CodeTreeView>(&form, "TreeViewCode");
  tree.setCurrentIndex(Node(&tree, 0, 0));
  UrlListView& list = *Find<UrlListView>(&form, "ListViewURL");
  list.setCurrentItem(list.topLevelItem(0));

  form.Subsystems().bookmarks->OpenSelectedBookmark(Qt::NoModifier);
  QVERIFY(server.WaitForRequest("/echo"));
  QCOMPARE(server.RequestsFor("/echo").first().DecodedQuery(), "n=" + name);
  const std::vector<std::string> history = form.Subsystems().address->History();
  QVERIFY(!history.empty());
  QCOMPARE(QByteArray::fromStdString(history.front()), server.Origin() + "/echo?n=" + name);
}

SORVI_WEB_TEST_MAIN(OpenBookmarkTest)
#include "open_bookmark_test.moc"
