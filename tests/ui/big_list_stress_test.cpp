// A stock code list of 50,000 stocks in the window: loaded at start-up,
// selected, a group opened and closed with the mouse, edited and edited
// back, saved, and the window closed; the file comes back byte for byte
// and the expand state covers every group.
#include <QAction>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_view.h"
#include "core/bookmarks/url_macro.h"
#include "support/code_tree.h"
#include "support/dialog_driver.h"
#include "support/find_widget.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"

using namespace sorvi;
using sorvi::testing::DialogDriver;
using sorvi::testing::Find;
using sorvi::testing::Node;
using sorvi::testing::ScratchDir;
using sorvi::testing::Sjis;

namespace {

constexpr int kGroups = 500;
constexpr int kStocksPerGroup = 100;

// "[業種 g]" groups of "cccc 銘柄名 g-s" stocks, CRLF after every line.
QByteArray BigCodeList() {
  QByteArray bytes;
  const QByteArray group = Sjis("業種 "), name = Sjis(" ソニー銘柄 ");
  for (int g = 0; g < kGroups; ++g) {
    bytes += "[" + group + QByteArray::number(g) + "]\r\n";
    for (int s = 0; s < kStocksPerGroup; ++s) {
      bytes += QByteArray::number(1000 + (g * kStocksPerGroup + s) % 9000) + name + QByteArray::number(g) + "-" +
               QByteArray::number(s) + "\r\n";
    }
  }
  return bytes;
}

QPoint RowCenter(CodeTreeView& tree, const QModelIndex& node) { return tree.visualRect(node).center(); }

// A press and release on the +/- box in front of a group.
void ClickBranch(CodeTreeView& tree, const QModelIndex& group) {
  const QRect row = tree.visualRect(group);
  const QPoint box(row.left() - tree.indentation() / 2, row.center().y());
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, box);
}

}  // namespace

class BigListStressTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void fiftyThousandStocksComeBackByteForByte();
};

void BigListStressTest::fiftyThousandStocksComeBackByteForByte() {
  ScratchDir dir;
  const QByteArray file = BigCodeList();
  dir.Write("SV_Code.txt", file);
  auto form = std::make_unique<TFormMain>(dir.Path());
  form->show();
  QVERIFY(QTest::qWaitForWindowExposed(form.get()));
  CodeTreeView& tree = *Find<CodeTreeView>(form.get(), "TreeViewCode");
  QCOMPARE(tree.model()->rowCount(), kGroups);
  int stocks = 0;
  for (int g = 0; g < kGroups; ++g) stocks += tree.model()->rowCount(Node(&tree, g));
  QCOMPARE(stocks, kGroups * kStocksPerGroup);
  QVERIFY(!form->Subsystems().codes->Document().IsModified());

  // A group far down opened with the mouse: the first press asks, the
  // second carries it out.
  const QPersistentModelIndex group = Node(&tree, kGroups / 2);
  tree.scrollTo(group, QAbstractItemView::PositionAtTop);
  ClickBranch(tree, group);
  ClickBranch(tree, group);
  QVERIFY(tree.isExpanded(group));
  const auto stock = [&](int s) { return tree.model()->index(s, 0, group); };

  // Ten stocks of it selected with Shift: the selection the bookmarks get.
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, RowCenter(tree, stock(3)));
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::ShiftModifier, RowCenter(tree, stock(12)));
  QCOMPARE(tree.selectionModel()->selectedRows().size(), 10);
  const UrlSelection selection = form->Subsystems().codes->GatherUrlSelection();
  QCOMPARE(selection.codes.size(), size_t(10));
  QCOMPARE(QByteArray::fromStdString(selection.name), Sjis("ソニー銘柄 250-3"));

  // A stock duplicated and the copy deleted again: the list is as it was.
  tree.setCurrentIndex(stock(5));
  Find<QAction>(form.get(), "PopupMenuCodeCopy")->trigger();
  QCOMPARE(tree.model()->rowCount(group), kStocksPerGroup + 1);
  QVERIFY(form->Subsystems().codes->Document().IsModified());
  {
    DialogDriver driver({"OK"});
    tree.setCurrentIndex(stock(6));
    Find<QAction>(form.get(), "PopupMenuCodeDel")->trigger();
  }
  QCOMPARE(tree.model()->rowCount(group), kStocksPerGroup);
  Find<QAction>(form.get(), "PopupMenuCodeSave")->trigger();
  QVERIFY(!form->Subsystems().codes->Document().IsModified());
  QVERIFY(dir.Read("SV_Code.txt") == file);

  // Closed again the same way; another group stays open for the close.
  ClickBranch(tree, group);
  ClickBranch(tree, group);
  QVERIFY(!tree.isExpanded(group));
  const QModelIndex last = Node(&tree, kGroups - 1);
  tree.scrollTo(last);
  ClickBranch(tree, last);
  ClickBranch(tree, last);
  QVERIFY(tree.isExpanded(last));

  form->close();
  form.reset();
  QVERIFY(dir.Read("SV_Code.txt") == file);
  QCOMPARE(dir.Ini("Window", "Expand"), QString(kGroups - 1, '+') + "-");
}

QTEST_MAIN(BigListStressTest)
#include "big_list_stress_test.moc"
