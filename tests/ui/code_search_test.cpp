// The stock search above the code tree, typed as an input method hands
// over Japanese text.
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>

#include "app/main_window.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_view.h"
#include "support/find_widget.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"

using sorvi::CodeTreeView;
using sorvi::testing::Find;
using sorvi::testing::Sjis;

class CodeSearchTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void typingSelectsEnterStepsEscLeaves();
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
  const QList<QTreeWidgetItem*> selected = tree->selectedItems();
  if (selected.size() != 1 || !selected[0]->parent()->isExpanded()) return "(none)";
  return QByteArray::fromStdString(std::string(sorvi::NodeText(list, *tree->PositionOf(selected[0]))));
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
    QCOMPARE(Selected(tree, f.form->Codes()->List()), toyota);
  }
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  field->setFocus();
  QVERIFY(field->hasFocus());
  QTreeWidgetItem* cars = tree->topLevelItem(1);
  QTreeWidgetItem* parts = tree->topLevelItem(2);
  QTest::keyClick(field, Qt::Key_Return);
  QCOMPARE(Selected(tree, f.form->Codes()->List()), boshoku);
  // A group opened only for a match closes when the search moves on...
  QVERIFY(!cars->isExpanded());
  QTest::keyClick(field, Qt::Key_Return);
  QCOMPARE(Selected(tree, f.form->Codes()->List()), toyota);
  QVERIFY(!parts->isExpanded());
  // ...one the user opened stays open.
  tree->SetExpandedByProgram(parts, true);
  QTest::keyClick(field, Qt::Key_Return);
  QTest::keyClick(field, Qt::Key_Return);
  QCOMPARE(Selected(tree, f.form->Codes()->List()), toyota);
  QVERIFY(parts->isExpanded());
  QTest::keyClick(field, Qt::Key_Escape);
  QTRY_VERIFY(tree->hasFocus());
  // The code dialog's node stays selected: no search while it is open.
  f.form->Codes()->PopupMenuCodeEditClick();
  QVERIFY(!field->isEnabled());
}

SORVI_WEB_TEST_MAIN(CodeSearchTest)
#include "code_search_test.moc"
