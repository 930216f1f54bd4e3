// The two lists in the window, as a user meets them: loading at start-up,
// the tree's selection and deferred expansion, the bookmark check boxes,
// editing through the menus, dialogs, mouse and external editor, and what
// lands in SV_Code.txt and SV_List.txt when they are saved (or fail to be).
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "bookmarks/bookmark_dialog.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_dialog.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_view.h"
#include "platform/confirm_box.h"
#include "platform/list_edit_cycle.h"
#include "support/code_tree.h"
#include "support/dialog_driver.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"
#include "support/window_fixture.h"
#include "support/window_options.h"

using namespace sorvi;
using sorvi::testing::ChangeOptions;
using sorvi::testing::DialogDriver;
using sorvi::testing::Find;
using sorvi::testing::Node;
using sorvi::testing::ScratchDir;
using sorvi::testing::SelectedNodes;
using sorvi::testing::Sjis;
using sorvi::testing::Text;
using sorvi::testing::WaitUntil;

namespace {

const QStringList kCodes = {
    "[自動車]", "7203 トヨタ自動車", "7267 本田技研工業", "[電機]", "6758 ソニーグループ", "6501 日立製作所", "[表示]"};
const QStringList kList = {"[株探]*",
                           "*%CD% %NM%",
                           "+\\c\\r",
                           "https://kabutan.jp/stock/?code=%CD%",
                           "[チャート]",
                           "-\\t",
                           "https://example.jp/chart?c=%CD%"};

void WriteSamples(const ScratchDir& dir) {
  dir.WriteSjisLines("SV_Code.txt", kCodes);
  dir.WriteSjisLines("SV_List.txt", kList);
}

QByteArray SjisFile(const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += Sjis(line) + "\r\n";
  return bytes;
}

// The window on the sample lists, shown, every group collapsed.
struct Window : sorvi::testing::WindowFixture {
  CodeTreeView* tree = nullptr;
  UrlListView* list = nullptr;

  Window() : WindowFixture({}, WriteSamples) {
    tree = Find<CodeTreeView>(form.get(), "TreeViewCode");
    list = Find<UrlListView>(form.get(), "ListViewURL");
  }
  void ExpandAll() const {
    for (int g = 0; g < tree->model()->rowCount(); ++g) tree->SetExpandedByProgram(Node(g), true);
  }
  void Trigger(const char* item) const { Find<QAction>(form.get(), item)->trigger(); }
  QModelIndex Node(int group, int stock = -1) const { return sorvi::testing::Node(tree, group, stock); }
  bool IsSelected(const QModelIndex& node) const { return tree->selectionModel()->isSelected(node); }
  void Select(const QModelIndex& node) const { tree->setCurrentIndex(node); }
  void SelectRow(int row) const {
    list->setCurrentItem(list->topLevelItem(row), 0, QItemSelectionModel::ClearAndSelect);
  }
  QPoint Center(QTreeWidget* view, QTreeWidgetItem* item) const { return view->visualItemRect(item).center(); }
  QPoint Center(CodeTreeView* view, const QModelIndex& node) const { return view->visualRect(node).center(); }
  void Click(const QModelIndex& node, Qt::KeyboardModifiers modifiers = {}) const {
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, modifiers, Center(tree, node));
  }
};

void Retype(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
}

void TypeJapanese(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(edit, &event);
}

// A fake editor that writes `bytes` over the file it is given, then runs
// the shell text `then` (staying open, for one).
QString WriteEditor(const ScratchDir& dir, const QString& name, const QByteArray& bytes, const QByteArray& then = "") {
  QByteArray body = "#!/bin/sh\nprintf '";
  for (unsigned char b : bytes) body += "\\" + QByteArray::number(b, 8).rightJustified(3, '0');
  body += "' > \"$1\"\n" + then;
  dir.Write(name, body);
  QFile(dir.File(name)).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  return dir.File(name);
}

}  // namespace

class ListsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void startUpLoadsBothListsExactly();
  void startUpTakesOverALeftoverCopy();
  void strayStockLinesAreKeptAndReported();
  void expandStateIsRestoredAndWrittenAtClose();
  void treeSelectionStaysAmongSiblingsAndFeedsTheMenu();
  void keyboardExpandWaitsForTheNextMousePress();
  void checkBoxesToggleAtTheirPlaces();
  void saveWritesTheFileBackByteForByte();
  void failedSaveKeepsTheMarkAndTheOldFile();
  void codeEditsLandInTheFile();
  void bookmarkEditsLandInTheFile();
  void editorCycleReloadsBothListsIntoTheWindow();
  void closeWhileTheEditorRunsKeepsWhatItSaved();
};

void ListsTest::startUpLoadsBothListsExactly() {
  ScratchDir dir;
  WriteSamples(dir);
  TFormMain form(dir.Path());
  CodeTreeView& tree = *Find<CodeTreeView>(&form, "TreeViewCode");
  QCOMPARE(tree.model()->rowCount(), 3);
  QCOMPARE(Text(Node(&tree, 1)), QString("[電機]"));
  QCOMPARE(Text(Node(&tree, 1, 0)), QString("6758 ソニーグループ"));
  // The exact bytes are kept, including the 0x5C of "ソ".
  QCOMPARE(QByteArray::fromStdString(form.Subsystems().codes->List().groups[1].stocks[0]), Sjis("6758 ソニーグループ"));
  QVERIFY(!tree.isExpanded(Node(&tree, 0)));
  QVERIFY(!form.Subsystems().codes->Document().IsModified());

  UrlListView& list = *Find<UrlListView>(&form, "ListViewURL");
  QCOMPARE(list.topLevelItemCount(), 2);
  const UrlBookmark first = UrlListView::Bookmark(list.topLevelItem(0));
  QCOMPARE(first.fixed_title, 1);
  QCOMPARE(first.key_macro_state, 1);
  QCOMPARE(QByteArray::fromStdString(first.key_macro), QByteArray("\\c\\r"));
  QCOMPARE(list.topLevelItem(0)->text(1), QString("株探"));
  QCOMPARE(UrlListView::Bookmark(list.topLevelItem(1)).key_macro_state, 0);
  QVERIFY(!form.Subsystems().bookmarks->Document().IsModified());
}

void ListsTest::startUpTakesOverALeftoverCopy() {
  ScratchDir dir;
  dir.WriteSjisLines("SV_Code.txt.___", {"[残り]", "1111 コピー"});
  dir.WriteSjisLines("SV_List.txt", {"[a]", "http://a/"});
  dir.WriteSjisLines("SV_List.txt.___", {"[b]", "http://b/"});
  TFormMain form(dir.Path());
  QCOMPARE(Find<CodeTreeView>(&form, "TreeViewCode")->model()->rowCount(), 1);
  QCOMPARE(Text(Node(Find<CodeTreeView>(&form, "TreeViewCode"), 0)), QString("[残り]"));
  QVERIFY(dir.Exists("SV_Code.txt"));
  QVERIFY(!dir.Exists("SV_Code.txt.___"));
  QVERIFY(!dir.Exists("SV_List.txt.___"));
  QCOMPARE(Find<UrlListView>(&form, "ListViewURL")->topLevelItem(0)->text(1), QString("a"));
}

void ListsTest::strayStockLinesAreKeptAndReported() {
  ScratchDir dir;
  dir.WriteSjisLines("SV_Code.txt", {"1111 先頭", "[A]", "2222 二"});
  DialogDriver driver({"OK"});
  TFormMain form(dir.Path());
  CodeTreeView& tree = *Find<CodeTreeView>(&form, "TreeViewCode");
  QCOMPARE(tree.model()->rowCount(), 2);
  QCOMPARE(Text(Node(&tree, 0)), QString("[未分類]"));
  QCOMPARE(Text(Node(&tree, 0, 0)), QString("1111 先頭"));
  QTRY_COMPARE(driver.Seen().size(), size_t(1));
  QVERIFY(driver.Seen()[0].text.contains("未分類"));
}

void ListsTest::expandStateIsRestoredAndWrittenAtClose() {
  ScratchDir dir;
  WriteSamples(dir);
  dir.Write("Sorvi.ini", "[Window]\r\nExpand=+-x-\r\n");
  {
    TFormMain form(dir.Path());
    CodeTreeView& tree = *Find<CodeTreeView>(&form, "TreeViewCode");
    QVERIFY(!tree.isExpanded(Node(&tree, 0)));
    QVERIFY(tree.isExpanded(Node(&tree, 1)));
    QVERIFY(!tree.isExpanded(Node(&tree, 2)));
    form.show();
    tree.expand(Node(&tree, 0));
    form.close();
  }
  QCOMPARE(dir.Ini("Window", "Expand"), QString("--+"));
}

void ListsTest::treeSelectionStaysAmongSiblingsAndFeedsTheMenu() {
  Window w;
  QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
  w.ExpandAll();
  w.Click(w.Node(0, 1));
  w.Click(w.Node(0, 0), Qt::ControlModifier);
  QVERIFY(w.IsSelected(w.Node(0, 0)) && w.IsSelected(w.Node(0, 1)));
  // In the tree's order, whatever the order of the clicks.
  QCOMPARE(w.tree->SelectedPositions(), (std::vector<NodePos>{{0, 0}, {0, 1}}));
  QCOMPARE(w.form->Subsystems().codes->GatherUrlSelection().codes, (std::vector<std::string>{"7203", "7267"}));
  // A stock of another group is no sibling: the earlier ones let go.
  w.Click(w.Node(1, 0), Qt::ControlModifier);
  QCOMPARE(SelectedNodes(w.tree), QModelIndexList({w.Node(1, 0)}));

  QMenu* menu = Find<QMenu>(w.form.get(), "PopupMenuCode");
  // A right press on a node not selected selects it for the menu.
  QTest::mouseClick(w.tree->viewport(), Qt::RightButton, {}, w.Center(w.tree, w.Node(1, 1)));
  menu->hide();
  QCOMPARE(SelectedNodes(w.tree), QModelIndexList({w.Node(1, 1)}));
  menu->popup(QPoint(0, 0));  // the entry states follow the selection
  QVERIFY(Find<QAction>(w.form.get(), "PopupMenuCodeCopy1")->isEnabled());
  menu->hide();
  w.Trigger("PopupMenuCodeCopy1");
  QCOMPARE(QGuiApplication::clipboard()->text(), QString("6501"));

  // Two stocks selected; a left press on a group leaves it selected alone,
  // Ctrl or not.
  w.Select(w.Node(0, 0));
  w.tree->selectionModel()->select(w.Node(0, 1), QItemSelectionModel::Select);
  w.Click(w.Node(1), Qt::ControlModifier);
  QCOMPARE(SelectedNodes(w.tree), QModelIndexList({w.Node(1)}));
  menu->popup(QPoint(0, 0));
  QVERIFY(!Find<QAction>(w.form.get(), "PopupMenuCodeCopy1")->isEnabled());
  QVERIFY(Find<QAction>(w.form.get(), "PopupMenuCodeDel")->isEnabled());
  menu->hide();
  // "名称 コピー" on a group copies the name without brackets.
  w.Trigger("PopupMenuCodeCopy2");
  QCOMPARE(QGuiApplication::clipboard()->text(), QString("電機"));
  // A press on no node clears the selection.
  QTest::mouseClick(w.tree->viewport(), Qt::LeftButton, {}, QPoint(5, w.tree->viewport()->height() - 3));
  QVERIFY(!w.tree->selectionModel()->hasSelection());

  // A stock brought into sight opens its group and is selected alone.
  w.tree->SetExpandedByProgram(w.Node(1), false);
  w.tree->RevealNode(NodePos{1, 1});
  QVERIFY(w.tree->isExpanded(w.Node(1)));
  QCOMPARE(SelectedNodes(w.tree), QModelIndexList({w.Node(1, 1)}));
  QVERIFY(!w.form->Subsystems().codes->Document().IsModified());
}

void ListsTest::keyboardExpandWaitsForTheNextMousePress() {
  Window w;
  QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
  CodeTreeView& tree = *w.tree;
  const QModelIndex cars = w.Node(0), electric = w.Node(1);
  tree.setFocus();
  tree.setCurrentIndex(cars);
  QTest::keyClick(&tree, Qt::Key_Down);
  QCOMPARE(tree.currentIndex(), electric);
  QTest::keyClick(&tree, Qt::Key_Right);
  QVERIFY(!tree.isExpanded(electric));
  QVERIFY(w.IsSelected(electric));
  QCOMPARE(tree.PendingExpandWish(), CodeTreeView::ExpandWish::kExpand);
  // The next press anywhere in the tree carries the wish out.
  QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, w.Center(&tree, cars));
  QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, w.Center(&tree, cars));
  QVERIFY(tree.isExpanded(electric));
  QVERIFY(!tree.isExpanded(cars));
  QCOMPARE(tree.PendingExpandWish(), CodeTreeView::ExpandWish::kNone);
  // Collapsing goes the same way.
  tree.setCurrentIndex(electric);
  QTest::keyClick(&tree, Qt::Key_Left);
  QVERIFY(tree.isExpanded(electric));
  QCOMPARE(tree.PendingExpandWish(), CodeTreeView::ExpandWish::kCollapse);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, w.Center(&tree, electric));
  QVERIFY(!tree.isExpanded(electric));
  QVERIFY(!w.form->Subsystems().codes->Document().IsModified());
}

void ListsTest::checkBoxesToggleAtTheirPlaces() {
  Window w;
  QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
  UrlListView& list = *w.list;
  QTreeWidgetItem* first = list.topLevelItem(0);
  QTreeWidgetItem* second = list.topLevelItem(1);
  list.setCurrentItem(first);
  const QRect row2 = list.visualItemRect(second);
  const int col0 = list.header()->sectionViewportPosition(0);

  // The "*" box of a row that is not selected toggles without selecting it.
  QTest::mousePress(list.viewport(), Qt::LeftButton, {}, QPoint(col0 + 8, row2.center().y()));
  QCOMPARE(UrlListView::Bookmark(second).fixed_title, 1);
  QCOMPARE(list.SelectedItem(), first);
  QVERIFY(w.form->Subsystems().bookmarks->Document().IsModified());
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
  form.Subsystems().codes->Document().SetModified(true);
  form.Subsystems().bookmarks->Document().SetModified(true);
  Find<QAction>(&form, "PopupMenuCodeSave")->trigger();
  Find<QAction>(&form, "PopupMenuURLSave")->trigger();
  QVERIFY(!form.Subsystems().codes->Document().IsModified());
  QVERIFY(!form.Subsystems().bookmarks->Document().IsModified());
  QCOMPARE(dir.Read("SV_Code.txt"), codes);
  QCOMPARE(dir.Read("SV_List.txt"), list);
  QVERIFY(!dir.Exists("SV_Code.txt.___"));

  // A toggle lands in the file after the next save.
  Find<UrlListView>(&form, "ListViewURL")
      ->PressCheckBoxAt(Find<UrlListView>(&form, "ListViewURL")->ItemPosition(1).x() - 10,
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
  form.Subsystems().codes->InsertNode(std::nullopt, true, "[new]");
  DialogDriver driver({"OK"});
  QVERIFY(!form.Subsystems().codes->Document().SaveAndReport());
  QCOMPARE(driver.Seen().size(), size_t(1));
  QVERIFY(driver.Seen()[0].text.contains("銘柄一覧を保存できませんでした"));
  QVERIFY(driver.Seen()[0].text.contains(dir.File("SV_Code.txt")));
  QVERIFY(form.Subsystems().codes->Document().IsModified());
  QCOMPARE(dir.Read("SV_Code.txt"), codes);
}

void ListsTest::codeEditsLandInTheFile() {
  Window w;
  w.ExpandAll();
  // Edit a stock: the dialog opens below it and the tree waits for it.
  w.Select(w.Node(0, 1));
  w.Trigger("PopupMenuCodeEdit");
  TFormCodeDlg* dlg = w.form->Subsystems().codes->CodeDialog();
  QVERIFY(dlg);
  QVERIFY(QTest::qWaitForWindowExposed(dlg));
  QVERIFY(!w.tree->isEnabled());
  const QRect node = w.tree->visualRect(w.Node(0, 1));
  QVERIFY(dlg->frameGeometry().top() >= w.tree->viewport()->mapToGlobal(node.bottomLeft()).y());
  Retype(Find<QLineEdit>(dlg, "MaskEditCode"), "12");
  QTest::mouseClick(Find<QPushButton>(dlg, "ButtonOk"), Qt::LeftButton);
  QVERIFY(w.tree->isEnabled());
  QVERIFY(w.form->Subsystems().codes->Document().IsModified());
  QCOMPARE(SelectedNodes(w.tree), QModelIndexList({w.Node(0, 1)}));  // still the one selected

  // Add a stock to a selected group: it becomes the group's first stock.
  w.Select(w.Node(1));
  w.Trigger("PopupMenuCodeAdd");
  dlg = w.form->Subsystems().codes->CodeDialog();
  QVERIFY(dlg);
  QTest::mouseClick(Find<QRadioButton>(dlg, "RadioButton2"), Qt::LeftButton);
  Retype(Find<QLineEdit>(dlg, "MaskEditCode"), "7974");
  TypeJapanese(Find<QLineEdit>(dlg, "LabeledEditTitle"), "任天堂");
  QTest::mouseClick(Find<QPushButton>(dlg, "ButtonOk"), Qt::LeftButton);
  QCOMPARE(w.tree->SelectedNode(), w.Node(1, 0));
  w.Trigger("PopupMenuCodeCopy");  // the copy right after it, selected
  QCOMPARE(w.tree->SelectedNode(), w.Node(1, 1));

  {
    DialogDriver driver({"キャンセル", "OK"});
    // A group that still has stocks is refused without a question.
    w.Select(w.Node(0));
    w.Trigger("PopupMenuCodeDel");
    QCOMPARE(w.tree->model()->rowCount(), 3);
    // The Delete key asks first; Cancel keeps the group, OK deletes it.
    w.Select(w.Node(2));
    w.tree->setFocus();
    QTest::keyClick(w.tree, Qt::Key_Delete);
    QCOMPARE(w.tree->model()->rowCount(), 3);
    QTest::keyClick(w.tree, Qt::Key_Delete);
    QCOMPARE(w.tree->model()->rowCount(), 2);
    QCOMPARE(driver.Seen().size(), size_t(2));
    QCOMPARE(driver.Seen()[0].text, QString("削除しますか？"));
    QCOMPARE(driver.Seen()[0].buttons, QStringList({"OK", "キャンセル"}));
    QCOMPARE(driver.Seen()[0].pos, QuestionPlace(w.form.get()));
  }

  // A group dropped on a stock stays; a stock dropped on its own group
  // becomes its first stock.
  w.form->Subsystems().codes->Document().SetModified(false);
  w.Select(w.Node(0));
  w.tree->DropAt(w.Center(w.tree, w.Node(1, 0)));
  QCOMPARE(Text(w.Node(0)), QString("[自動車]"));
  QVERIFY(!w.form->Subsystems().codes->Document().IsModified());
  w.Select(w.Node(1, 2));
  w.tree->DropAt(w.Center(w.tree, w.Node(1)));
  QVERIFY(w.form->Subsystems().codes->Document().IsModified());
  QCOMPARE(w.tree->SelectedNode(), w.Node(1, 0));
  // An open group moves after a later one with its stocks, still open; a
  // stock dropped on another group's stock lands right after it.
  w.Select(w.Node(0));
  w.tree->DropAt(w.Center(w.tree, w.Node(1)));
  QVERIFY(w.tree->isExpanded(w.Node(1)));
  w.Select(w.Node(1, 1));
  w.tree->DropAt(w.Center(w.tree, w.Node(0, 0)));
  QCOMPARE(w.tree->SelectedNode(), w.Node(0, 1));

  w.Trigger("PopupMenuCodeSave");
  QCOMPARE(w.dir.Read("SV_Code.txt"), SjisFile({"[電機]", "6758 ソニーグループ", "1200 本田技研工業", "7974 任天堂",
                                                "7974 任天堂", "6501 日立製作所", "[自動車]", "7203 トヨタ自動車"}));
}

void ListsTest::bookmarkEditsLandInTheFile() {
  Window w;
  // Add with the first selected: the new bookmark goes second.
  w.SelectRow(0);
  w.Trigger("PopupMenuURLAdd");
  TFormURLDlg* dlg = w.form->Subsystems().bookmarks->BookmarkDialog();
  QVERIFY(dlg);
  QVERIFY(QTest::qWaitForWindowExposed(dlg));
  QVERIFY(!w.list->isEnabled());
  QTest::keyClicks(Find<QLineEdit>(dlg, "LabeledEditName"), "IR");
  QTest::keyClicks(Find<QLineEdit>(dlg, "LabeledEditAddr"), "https://ir.example.jp/%CD%");
  QTest::mouseClick(Find<QPushButton>(dlg, "ButtonOk"), Qt::LeftButton);
  QVERIFY(w.list->isEnabled());
  QCOMPARE(w.list->SelectedRow(), 1);

  // Edit the third: fix its title, clear its key macro.
  w.SelectRow(2);
  w.Trigger("PopupMenuURLEdit");
  dlg = w.form->Subsystems().bookmarks->BookmarkDialog();
  QVERIFY(dlg);
  QVERIFY(QTest::qWaitForWindowExposed(dlg));
  Find<QCheckBox>(dlg, "CheckBoxFix")->setFocus();
  QTest::keyClick(Find<QCheckBox>(dlg, "CheckBoxFix"), Qt::Key_Space);
  QTest::keyClicks(Find<QLineEdit>(dlg, "EditTitle"), "%NM%");
  Retype(Find<QLineEdit>(dlg, "EditKeyMacro"), "");
  QTest::mouseClick(Find<QPushButton>(dlg, "ButtonOk"), Qt::LeftButton);

  // Drag the first onto the third: second, third, first.
  w.SelectRow(0);
  w.list->DropAt(w.Center(w.list, w.list->topLevelItem(2)));
  QCOMPARE(w.list->SelectedRow(), 2);
  // Duplicate the last: the copy second-to-last, the source last, selected.
  w.Trigger("PopupMenuURLCopy");
  QCOMPARE(w.list->topLevelItemCount(), 4);
  QCOMPARE(w.list->SelectedRow(), 3);
  QCOMPARE(w.list->topLevelItem(2)->text(1), QString("株探"));

  w.Trigger("PopupMenuURLSave");
  QCOMPARE(w.dir.Read("SV_List.txt"),
           SjisFile({"[IR]", "https://ir.example.jp/%CD%", "[チャート]*", "*%NM%", "https://example.jp/chart?c=%CD%",
                     "[株探]*", "*%CD% %NM%", "+\\c\\r", "https://kabutan.jp/stock/?code=%CD%", "[株探]*", "*%CD% %NM%",
                     "+\\c\\r", "https://kabutan.jp/stock/?code=%CD%"}));

  // A row dropped onto itself is no edit; a delete asks nothing.
  DialogDriver driver({});
  w.SelectRow(0);
  w.list->DropAt(w.Center(w.list, w.list->topLevelItem(0)));
  QVERIFY(!w.form->Subsystems().bookmarks->Document().IsModified());
  w.Trigger("PopupMenuURLDel");
  QCOMPARE(w.list->topLevelItemCount(), 3);
  QCOMPARE(w.list->topLevelItem(0)->text(1), QString("チャート"));
  QVERIFY(w.form->Subsystems().bookmarks->Document().IsModified());
  QVERIFY(driver.Seen().empty());
}

void ListsTest::editorCycleReloadsBothListsIntoTheWindow() {
  Window w;
  // What many editors write: UTF-8 with a byte-order mark, LF line ends.
  const QString editor = WriteEditor(w.dir, "fake editor.sh", "\xEF\xBB\xBF" + QString("[新]\n1111 テスト\n").toUtf8());
  ChangeOptions(*w.form, [&](AppOptions& o) { o.Editor = Sjis(editor).toStdString(); });
  w.Trigger("PopupMenuCodeCopy");  // nothing selected: no edit
  QVERIFY(!w.form->Subsystems().codes->Document().IsModified());
  w.Select(w.Node(0));
  w.Trigger("PopupMenuCodeCopy");
  QVERIFY(w.form->Subsystems().codes->Document().IsModified());
  {
    DialogDriver driver({"いいえ(&N)"});
    QSignalSpy done(w.form->Subsystems().codes->Document().EditCycle(), &ListEditCycle::Done);
    w.Trigger("PopupMenuCodeEditor");
    QVERIFY(!w.form->isEnabled());
    QVERIFY(done.wait(10000));
    QVERIFY(w.form->isEnabled());
    QCOMPARE(w.tree->model()->rowCount(), 1);
    // Every line kept, the bytes as they are (the file is reported, not
    // converted), and the byte-order mark not glued to the first line.
    QCOMPARE(QByteArray::fromStdString(w.form->Subsystems().codes->List().groups[0].text),
             "[" + QString("新").toUtf8() + "]");
    QCOMPARE(w.tree->model()->rowCount(w.Node(0)), 1);
    QVERIFY(!w.form->Subsystems().codes->Document().IsModified());  // unsaved changes were declined
    QCOMPARE(driver.Seen().size(), size_t(2));
    QVERIFY(driver.Seen()[0].text.startsWith("銘柄一覧を保存しますか？"));
    QVERIFY(driver.Seen()[1].text.contains(QDir::toNativeSeparators(w.dir.File("SV_Code.txt"))));
  }

  // The bookmark list: reloaded, and still marked modified after "No".
  const QString list_editor = WriteEditor(w.dir, "list editor.sh", SjisFile({"[新しい]", "http://new/"}));
  ChangeOptions(*w.form, [&](AppOptions& o) { o.Editor = Sjis(list_editor).toStdString(); });
  w.SelectRow(0);
  w.Trigger("PopupMenuURLDel");
  {
    DialogDriver driver({"いいえ(&N)"});
    QSignalSpy done(w.form->Subsystems().bookmarks->Document().EditCycle(), &ListEditCycle::Done);
    w.Trigger("PopupMenuURLEditor");
    QVERIFY(done.wait(10000));
    QCOMPARE(driver.Seen().size(), size_t(1));
    QVERIFY(driver.Seen()[0].text.startsWith("URL一覧を保存しますか？"));
  }
  QCOMPARE(w.list->topLevelItemCount(), 1);
  QCOMPARE(w.list->topLevelItem(0)->text(1), QString("新しい"));
  QVERIFY(w.form->Subsystems().bookmarks->Document().IsModified());
}

void ListsTest::closeWhileTheEditorRunsKeepsWhatItSaved() {
  // The user's answer to the close's question (AutoSave on), or a close with
  // nobody to answer (AutoSave off).
  for (const QString& answer : {"いいえ(&N)", "はい(&Y)", ""}) {
    const bool unattended = answer.isEmpty(), closes = answer != "いいえ(&N)";
    Window w;
    const QByteArray saved = SjisFile({"[自動車]", "3333 編集中"});
    const QString editor = WriteEditor(w.dir, "editor.sh", saved, "while [ -e \"$1\" ]; do sleep 0.1; done\n");
    ChangeOptions(*w.form, [&](AppOptions& o) {
      o.Editor = Sjis(editor).toStdString();
      o.AutoSave = !unattended;
    });
    w.Select(w.Node(0));
    w.Trigger("PopupMenuCodeCopy");
    w.SelectRow(0);
    w.Trigger("PopupMenuURLDel");
    {
      DialogDriver driver({"いいえ(&N)"});
      w.Trigger("PopupMenuCodeEditor");
      QVERIFY(WaitUntil([&] { return w.dir.Read("SV_Code.txt") == saved; }));
    }
    DialogDriver driver({answer});
    if (unattended) {
      w.form->CloseUnattended();
    } else {
      w.form->close();
    }
    QCOMPARE(w.form->isVisible(), !closes);
    QCOMPARE(driver.Seen().size(), size_t(unattended ? 0 : 1));
    if (!unattended) QVERIFY(driver.Seen()[0].text.contains("外部エディタで編集中の一覧 (銘柄一覧)"));
    QCOMPARE(w.dir.Read("SV_Code.txt"), saved);
    QVERIFY(!w.dir.Exists("SV_Code.txt.unsaved"));
    // The other list as any close would treat it: saved, or kept beside.
    QCOMPARE(!w.dir.Read("SV_List.txt").contains(Sjis("[株探]")), closes && !unattended);
    QCOMPARE(w.dir.Exists("SV_List.txt.unsaved"), unattended);
    QCOMPARE(w.dir.Read("Sorvi.ini").contains("[Window]"), closes);
    if (!closes) QVERIFY(!w.form->isEnabled());  // still waiting for the editor
  }
}

QTEST_MAIN(ListsTest)
#include "lists_test.moc"
