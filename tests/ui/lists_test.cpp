// The two lists in the window: loading at start-up, the tree's selection and
// deferred expansion, the bookmark check boxes, saving and failed saves.
#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QMenu>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_view.h"
#include "support/find_widget.h"
#include "support/window_options.h"
#include "support/dialog_driver.h"
#include "support/scratch_dir.h"

using namespace sorvi;
using sorvi::testing::ChangeOptions;
using sorvi::testing::Find;
using sorvi::testing::DialogDriver;
using sorvi::testing::ScratchDir;
using sorvi::testing::Sjis;

namespace {

const QStringList kCodes = {"[自動車]", "7203 トヨタ自動車", "7267 本田技研工業", "[電機]", "6758 ソニーグループ",
                            "6501 日立製作所", "[表示]"};
const QStringList kList = {"[株探]*", "*%CD% %NM%", "+\\c\\r", "https://kabutan.jp/stock/?code=%CD%",
                           "[チャート]", "-\\t", "https://example.jp/chart?c=%CD%"};

void WriteSamples(const ScratchDir& dir) {
  dir.WriteSjisLines("SV_Code.txt", kCodes);
  dir.WriteSjisLines("SV_List.txt", kList);
}

// The window on the sample lists, shown.
struct ShownSamples {
  ScratchDir dir;
  std::unique_ptr<TFormMain> form;
  ShownSamples() {
    WriteSamples(dir);
    form = std::make_unique<TFormMain>(dir.Path());
    form->show();
  }
};

QPoint RowCenter(QTreeWidget& view, QTreeWidgetItem* item) { return view.visualItemRect(item).center(); }

}  // namespace

class ListsTest : public QObject {
  Q_OBJECT

 private slots:
  void startUpLoadsBothListsExactly();
  void startUpTakesOverALeftoverCopy();
  void expandStateIsRestoredAndWrittenAtClose();
  void multiSelectionStaysAmongSiblings();
  void keyboardExpandWaitsForTheNextMousePress();
  void checkBoxesToggleAtTheirPlaces();
  void saveWritesTheFileBackByteForByte();
  void failedSaveKeepsTheMarkAndTheOldFile();
  void strayStockLinesAreKeptAndReported();
};

void ListsTest::startUpLoadsBothListsExactly() {
  ScratchDir dir;
  WriteSamples(dir);
  TFormMain form(dir.Path());
  CodeTreeView& tree = *Find<CodeTreeView>(&form, "TreeViewCode");
  QCOMPARE(tree.topLevelItemCount(), 3);
  QCOMPARE(tree.topLevelItem(1)->text(0), QString("[電機]"));
  QCOMPARE(tree.topLevelItem(1)->child(0)->text(0), QString("6758 ソニーグループ"));
  // The exact bytes are kept, including the 0x5C of "ソ".
  QCOMPARE(QByteArray::fromStdString(CodeTreeView::NodeText(tree.topLevelItem(1)->child(0))), Sjis("6758 ソニーグループ"));
  QVERIFY(!tree.topLevelItem(0)->isExpanded());
  QVERIFY(!form.Codes()->IsModified());

  UrlListView& list = *Find<UrlListView>(&form, "ListViewURL");
  QCOMPARE(list.topLevelItemCount(), 2);
  const UrlBookmark first = UrlListView::Bookmark(list.topLevelItem(0));
  QCOMPARE(first.fixed_title, 1);
  QCOMPARE(first.key_macro_state, 1);
  QCOMPARE(QByteArray::fromStdString(first.key_macro), QByteArray("\\c\\r"));
  QCOMPARE(list.topLevelItem(0)->text(1), QString("株探"));
  QCOMPARE(UrlListView::Bookmark(list.topLevelItem(1)).key_macro_state, 0);
  QVERIFY(!form.Bookmarks()->IsModified());
}

void ListsTest::startUpTakesOverALeftoverCopy() {
  ScratchDir dir;
  dir.WriteSjisLines("SV_Code.txt.___", {"[残り]", "1111 コピー"});
  dir.WriteSjisLines("SV_List.txt", {"[a]", "http://a/"});
  dir.WriteSjisLines("SV_List.txt.___", {"[b]", "http://b/"});
  TFormMain form(dir.Path());
  QCOMPARE(Find<CodeTreeView>(&form, "TreeViewCode")->topLevelItemCount(), 1);
  QCOMPARE(Find<CodeTreeView>(&form, "TreeViewCode")->topLevelItem(0)->text(0), QString("[残り]"));
  QVERIFY(dir.Exists("SV_Code.txt"));
  QVERIFY(!dir.Exists("SV_Code.txt.___"));
  QVERIFY(!dir.Exists("SV_List.txt.___"));
  QCOMPARE(Find<UrlListView>(&form, "ListViewURL")->topLevelItem(0)->text(1), QString("a"));
}

void ListsTest::expandStateIsRestoredAndWrittenAtClose() {
  ScratchDir dir;
  WriteSamples(dir);
  dir.Write("Sorvi.ini", "[Window]\r\nExpand=+-x-\r\n");
  {
    TFormMain form(dir.Path());
    CodeTreeView& tree = *Find<CodeTreeView>(&form, "TreeViewCode");
    QVERIFY(!tree.topLevelItem(0)->isExpanded());
    QVERIFY(tree.topLevelItem(1)->isExpanded());
    QVERIFY(!tree.topLevelItem(2)->isExpanded());
    form.show();
    tree.topLevelItem(0)->setExpanded(true);
    form.close();
  }
  QCOMPARE(dir.Ini("Window", "Expand"), QString("--+"));
}

void ListsTest::multiSelectionStaysAmongSiblings() {
  ShownSamples shown;
  TFormMain& form = *shown.form;
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  CodeTreeView& tree = *Find<CodeTreeView>(&form, "TreeViewCode");
  tree.topLevelItem(0)->setExpanded(true);
  tree.topLevelItem(1)->setExpanded(true);
  QTreeWidgetItem* toyota = tree.topLevelItem(0)->child(0);
  QTreeWidgetItem* honda = tree.topLevelItem(0)->child(1);
  QTreeWidgetItem* sony = tree.topLevelItem(1)->child(0);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, RowCenter(tree, toyota));
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::ControlModifier, RowCenter(tree, honda));
  QVERIFY(toyota->isSelected() && honda->isSelected());
  // A stock of another group is no sibling: the earlier ones let go.
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::ControlModifier, RowCenter(tree, sony));
  QVERIFY(sony->isSelected());
  QVERIFY(!toyota->isSelected() && !honda->isSelected());
  // A press on a group selects it alone, Shift or not.
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, RowCenter(tree, tree.topLevelItem(0)));
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::ShiftModifier, RowCenter(tree, tree.topLevelItem(2)));
  QCOMPARE(tree.selectedItems(), QList<QTreeWidgetItem*>({tree.topLevelItem(2)}));
  QVERIFY(!form.Codes()->IsModified());
}

void ListsTest::keyboardExpandWaitsForTheNextMousePress() {
  ShownSamples shown;
  TFormMain& form = *shown.form;
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  CodeTreeView& tree = *Find<CodeTreeView>(&form, "TreeViewCode");
  QTreeWidgetItem* cars = tree.topLevelItem(0);
  QTreeWidgetItem* electric = tree.topLevelItem(1);
  tree.setFocus();
  tree.setCurrentItem(cars);
  QTest::keyClick(&tree, Qt::Key_Down);
  QCOMPARE(tree.currentItem(), electric);
  QTest::keyClick(&tree, Qt::Key_Right);
  QVERIFY(!electric->isExpanded());
  QVERIFY(electric->isSelected());
  QCOMPARE(tree.PendingExpandWish(), CodeTreeView::ExpandWish::kExpand);
  // The next press anywhere in the tree carries the wish out.
  QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, RowCenter(tree, cars));
  QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, RowCenter(tree, cars));
  QVERIFY(electric->isExpanded());
  QVERIFY(!cars->isExpanded());
  QCOMPARE(tree.PendingExpandWish(), CodeTreeView::ExpandWish::kNone);
  // Collapsing goes the same way.
  tree.setCurrentItem(electric);
  QTest::keyClick(&tree, Qt::Key_Left);
  QVERIFY(electric->isExpanded());
  QCOMPARE(tree.PendingExpandWish(), CodeTreeView::ExpandWish::kCollapse);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, RowCenter(tree, electric));
  QVERIFY(!electric->isExpanded());
  QVERIFY(!form.Codes()->IsModified());
}

void ListsTest::checkBoxesToggleAtTheirPlaces() {
  ShownSamples shown;
  TFormMain& form = *shown.form;
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  UrlListView& list = *Find<UrlListView>(&form, "ListViewURL");
  QTreeWidgetItem* first = list.topLevelItem(0);
  QTreeWidgetItem* second = list.topLevelItem(1);
  list.setCurrentItem(first);
  const QRect row2 = list.visualItemRect(second);
  const int col0 = list.header()->sectionViewportPosition(0);

  // The "*" box of a row that is not selected toggles without selecting it.
  QTest::mousePress(list.viewport(), Qt::LeftButton, {}, QPoint(col0 + 8, row2.center().y()));
  QCOMPARE(UrlListView::Bookmark(second).fixed_title, 1);
  QCOMPARE(list.SelectedItem(), first);
  QVERIFY(form.Bookmarks()->IsModified());
  // A right press toggles too.
  QTest::mousePress(list.viewport(), Qt::RightButton, {}, QPoint(col0 + 8, row2.center().y()));
  QCOMPARE(UrlListView::Bookmark(second).fixed_title, 0);

  // The ":" box of the unselected row does nothing to it...
  const int col3 = list.header()->sectionViewportPosition(3);
  QTest::mousePress(list.viewport(), Qt::LeftButton, {}, QPoint(col3 + 5, row2.center().y()));
  QCOMPARE(UrlListView::Bookmark(second).key_macro_state, 0);
  // ...and it follows the columns when the user widens them.
  list.setCurrentItem(first);
  list.setColumnWidth(1, 120);
  list.setColumnWidth(2, 60);
  const int moved_col3 = list.header()->sectionViewportPosition(3);
  const int y1 = list.visualItemRect(first).center().y();
  QTest::mousePress(list.viewport(), Qt::LeftButton, {}, QPoint(col3 + 5, y1));
  QCOMPARE(UrlListView::Bookmark(first).key_macro_state, 1);
  QTest::mousePress(list.viewport(), Qt::LeftButton, {}, QPoint(moved_col3 + 5, y1));
  QCOMPARE(UrlListView::Bookmark(first).key_macro_state, 0);
  // A press below the rows changes nothing.
  QTest::mousePress(list.viewport(), Qt::LeftButton, {}, QPoint(col0 + 8, row2.bottom() + row2.height() + 3));
  QCOMPARE(UrlListView::Bookmark(second).fixed_title, 0);
}

void ListsTest::saveWritesTheFileBackByteForByte() {
  ScratchDir dir;
  WriteSamples(dir);
  const QByteArray codes = dir.Read("SV_Code.txt");
  const QByteArray list = dir.Read("SV_List.txt");
  TFormMain form(dir.Path());
  form.Codes()->SetModified(true);
  form.Bookmarks()->SetModified(true);
  Find<QAction>(&form, "PopupMenuCodeSave")->trigger();
  Find<QAction>(&form, "PopupMenuURLSave")->trigger();
  QVERIFY(!form.Codes()->IsModified());
  QVERIFY(!form.Bookmarks()->IsModified());
  QCOMPARE(dir.Read("SV_Code.txt"), codes);
  QCOMPARE(dir.Read("SV_List.txt"), list);
  QVERIFY(!dir.Exists("SV_Code.txt.___"));

  // A toggle lands in the file after the next save.
  Find<UrlListView>(&form, "ListViewURL")->ListViewURLMouseDown(Find<UrlListView>(&form, "ListViewURL")->ItemPosition(1).x() - 10,
                                         Find<UrlListView>(&form, "ListViewURL")->ItemPosition(1).y() + 1);
  Find<QAction>(&form, "PopupMenuURLSave")->trigger();
  QVERIFY(dir.Read("SV_List.txt").contains(Sjis("[チャート]*\r\n")));
}

void ListsTest::failedSaveKeepsTheMarkAndTheOldFile() {
  ScratchDir dir;
  WriteSamples(dir);
  const QByteArray codes = dir.Read("SV_Code.txt");
  // A directory where the new copy would be written makes the write fail,
  // also for root.
  QVERIFY(QDir(dir.Path()).mkdir("SV_Code.txt.___"));
  TFormMain form(dir.Path());
  Find<CodeTreeView>(&form, "TreeViewCode")->AddGroup("[new]");
  form.Codes()->SetModified(true);
  DialogDriver driver({"OK"});
  QVERIFY(!form.Codes()->SaveAndReport());
  QCOMPARE(driver.Seen().size(), size_t(1));
  QVERIFY(driver.Seen()[0].text.contains("銘柄一覧を保存できませんでした"));
  QVERIFY(driver.Seen()[0].text.contains(dir.File("SV_Code.txt")));
  QVERIFY(form.Codes()->IsModified());
  QCOMPARE(dir.Read("SV_Code.txt"), codes);
}

void ListsTest::strayStockLinesAreKeptAndReported() {
  ScratchDir dir;
  dir.WriteSjisLines("SV_Code.txt", {"1111 先頭", "[A]", "2222 二"});
  DialogDriver driver({"OK"});
  TFormMain form(dir.Path());
  QCOMPARE(Find<CodeTreeView>(&form, "TreeViewCode")->topLevelItemCount(), 2);
  QCOMPARE(Find<CodeTreeView>(&form, "TreeViewCode")->topLevelItem(0)->text(0), QString("[未分類]"));
  QCOMPARE(Find<CodeTreeView>(&form, "TreeViewCode")->topLevelItem(0)->child(0)->text(0), QString("1111 先頭"));
  QTRY_COMPARE(driver.Seen().size(), size_t(1));
  QVERIFY(driver.Seen()[0].text.contains("未分類"));
}

QTEST_MAIN(ListsTest)
#include "lists_test.moc"
