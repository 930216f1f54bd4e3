// The stock search above the code tree, typed as an input method hands
// over Japanese text.
#include <QAction>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

#include "app/main_window.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_view.h"
#include "support/code_tree.h"
#include "support/dialog_driver.h"
#include "support/find_widget.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"

using sorvi::CodeTreeView;
using sorvi::testing::Find;
using sorvi::testing::Node;
using sorvi::testing::Sjis;

class CodeSearchTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void typingSelectsEnterStepsEscLeaves();
  void aGroupTheUserOpensStaysOpen_data();
  void aGroupTheUserOpensStaysOpen();
};

namespace {

void Commit(QLineEdit* field, const QString& text) {
  field->clear();
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(field, &event);
}

// The one selected stock's bytes, shown in its opened group.
QByteArray Selected(const CodeTreeView* tree, const sorvi::StockCodeList& list) {
  const QModelIndexList selected = sorvi::testing::SelectedNodes(tree);
  if (selected.size() != 1 || !tree->isExpanded(selected[0].parent())) return "(none)";
  return QByteArray::fromStdString(std::string(sorvi::NodeText(list, *tree->PositionOf(selected[0]))));
}

// A press on the +/- box in front of a group: the first asks, the next one
// carries the wish out.
void ClickBranch(CodeTreeView* tree, const QModelIndex& group) {
  const QRect row = tree->visualRect(group);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                    QPoint(row.left() - tree->indentation() / 2, row.center().y()));
}

}  // namespace

void CodeSearchTest::typingSelectsEnterStepsEscLeaves() {
  sorvi::testing::WindowFixture f({}, [](const sorvi::testing::ScratchDir& dir) {
    dir.WriteSjisLines("SV_Code.txt", {"[電機]", "6758 ソニーグループ", "[自動車]", "7201 日産自動車",
                                       "7203 トヨタ自動車", "[部品]", "3116 トヨタ紡織"});
  });
  auto* field = Find<QLineEdit>(f.form.get(), "codeSearch");
  auto* tree = Find<CodeTreeView>(f.form.get(), "TreeViewCode");
  QCOMPARE(field->placeholderText(), QString("銘柄検索"));
  const QByteArray toyota = Sjis("7203 トヨタ自動車");
  const QByteArray boshoku = Sjis("3116 トヨタ紡織");
  for (const QString& typed : {"７２０３", "トヨタ", "とよた", "ﾄﾖﾀ"}) {
    tree->clearSelection();
    Commit(field, typed);
    QCOMPARE(Selected(tree, f.form->Subsystems().codes->List()), toyota);
  }
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  field->setFocus();
  QVERIFY(field->hasFocus());
  const QModelIndex cars = Node(tree, 1), parts = Node(tree, 2);
  QTest::keyClick(field, Qt::Key_Return);
  QCOMPARE(Selected(tree, f.form->Subsystems().codes->List()), boshoku);
  // A group opened only for a match closes when the search moves on...
  QVERIFY(!tree->isExpanded(cars));
  QTest::keyClick(field, Qt::Key_Return);
  QCOMPARE(Selected(tree, f.form->Subsystems().codes->List()), toyota);
  QVERIFY(!tree->isExpanded(parts));
  // ...one the user opened stays open.
  tree->SetExpandedByProgram(parts, true);
  QTest::keyClick(field, Qt::Key_Return);
  QTest::keyClick(field, Qt::Key_Return);
  QCOMPARE(Selected(tree, f.form->Subsystems().codes->List()), toyota);
  QVERIFY(tree->isExpanded(parts));
  QTest::keyClick(field, Qt::Key_Escape);
  QTRY_VERIFY(tree->hasFocus());
  // The code dialog's node stays selected: no search while it is open.
  f.form->Subsystems().codes->EditSelectedNode();
  QVERIFY(!field->isEnabled());
}

void CodeSearchTest::aGroupTheUserOpensStaysOpen_data() {
  QTest::addColumn<bool>("edited");
  QTest::newRow("closed and reopened by hand") << false;
  QTest::newRow("deleted, a new group opened in its place") << true;
}

void CodeSearchTest::aGroupTheUserOpensStaysOpen() {
  QFETCH(bool, edited);
  sorvi::testing::WindowFixture f({}, [](const sorvi::testing::ScratchDir& dir) {
    dir.WriteSjisLines("SV_Code.txt", {"[主力株]", "6758 ソニーグループ", "[銀行]", "8316 三井住友FG"});
  });
  f.form->show();
  QVERIFY(QTest::qWaitForWindowExposed(f.form.get()));
  auto* field = Find<QLineEdit>(f.form.get(), "codeSearch");
  auto* tree = Find<CodeTreeView>(f.form.get(), "TreeViewCode");
  Commit(field, "三井");
  QVERIFY(tree->isExpanded(Node(tree, 1)));
  if (!edited) {
    for (bool open : {false, true}) {
      ClickBranch(tree, Node(tree, 1));
      ClickBranch(tree, Node(tree, 1));
      QCOMPARE(tree->isExpanded(Node(tree, 1)), open);
    }
  } else {
    sorvi::testing::DialogDriver driver({"OK", "OK"});
    QAction* del = Find<QAction>(f.form.get(), "PopupMenuCodeDel");
    del->trigger();  // the match
    tree->setCurrentIndex(Node(tree, 1));
    del->trigger();  // its group, empty now
    QCOMPARE(tree->model()->rowCount(), 1);
    // A new group in the same place, opened to show its new stock.
    f.form->Subsystems().codes->InsertNode(f.form->Subsystems().codes->InsertNode(sorvi::NodePos{0}, true, "[new]"),
                                           false, "1111 new");
    QVERIFY(tree->isExpanded(Node(tree, 1)));
  }
  Commit(field, "ソニー");
  QCOMPARE(Selected(tree, f.form->Subsystems().codes->List()), Sjis("6758 ソニーグループ"));
  QVERIFY(tree->isExpanded(Node(tree, 1)));
}

SORVI_WEB_TEST_MAIN(CodeSearchTest)
#include "code_search_test.moc"
