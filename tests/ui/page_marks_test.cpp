// The user's stocks marked on pages (read back through the page's DOM,
// which the page's own scripts see too) and a stock added from a page's
// context menu.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "app/main_window.h"
#include "codes/code_dialog.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_view.h"
#include "codes/stock_code_model.h"
#include "core/codes/stock_code_list.h"
#include "platform/cp932.h"
#include "platform/web_browser.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/page_script.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"

using namespace sorvi;
using namespace sorvi::testing;

namespace {

const QByteArray kRanking = Page("Ranking", R"(
<table id="t">
<tr><td>1</td><td>7203</td><td>トヨタ自動車</td><td>2,345</td></tr>
<tr><td>2</td><td>9984</td><td>ソフトバンクG</td><td>7,203</td></tr>
<tr><td>3</td><td>１３０Ａ</td><td>ベリタス</td><td>+6758</td></tr>
<tr><td>4</td><td><a id="held" href="/s?code=6758">6758</a></td><td>ソニーG</td><td>1234.5</td></tr>
<tr><td>5</td><td><a id="new" href="/s?code=4755">4755</a></td><td>楽天グループ</td><td>▲12</td></tr>
</table>
<p>67580 x7203 1000株</p>
<input id="f" value="7203"><textarea>6758</textarea><div contenteditable="true">7203</div>
)");

const QString kMarks = QStringLiteral(
    "Array.from(document.querySelectorAll('sorvi-mark')).map(m => m.dataset.code + '|' + m.title).join(';')");

void RightClick(WebBrowser* browser, const QString& id) {
  const QVariantList rect = Js(browser, QStringLiteral("(() => { const r = document.getElementById('%1')"
                                                       ".getBoundingClientRect(); return [r.x + 4, r.y + 4]; })()")
                                            .arg(id))
                                .toList();
  const QPoint at(rect.value(0).toInt(), rect.value(1).toInt());
  QWidget* target = browser->InputWidget();
  const QPointF global = target->mapToGlobal(QPointF(at));
  QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonPress, QPointF(at), global, Qt::RightButton,
                                                      Qt::RightButton, Qt::NoModifier));
  QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonRelease, QPointF(at), global, Qt::RightButton,
                                                      Qt::NoButton, Qt::NoModifier));
}

QMenu* AddStockMenu() {
  QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  return menu ? menu->findChild<QMenu*>("PageMenuAddStock") : nullptr;
}

}  // namespace

class PageMarksTest : public QObject {
  Q_OBJECT
 private slots:
  void init() { FailOnUnexpectedWarnings(); }
  void marksExactlyTheUsersStocks();
  void optionOffLeavesPagesUnmarked();
  void addsStockFromPageMenu();
  void proposedNameKeepsWhatShiftJisHolds();

 private:
  static void WriteList(const ScratchDir& dir) {
    dir.WriteSjisLines("SV_Code.txt", {"[主力株]", "7203 トヨタ自動車", "130A ベリタス", "[長期]", "7203 トヨタ自動車",
                                       "6758 ソニーG"});
  }
};

void PageMarksTest::marksExactlyTheUsersStocks() {
  WindowFixture f({}, WriteList);
  f.server.Serve("/ranking.html", kRanking);
  QVERIFY(f.OpenAndWait("/ranking.html", "Ranking"));
  WebBrowser* page = f.Browser(0);
  const QString expected =
      "7203|主力株: 7203 トヨタ自動車\n長期: 7203 トヨタ自動車;130A|主力株: 130A ベリタス;6758|長期: 6758 ソニーG";
  QTRY_COMPARE(Js(page, kMarks).toString(), expected);
  // Marked apart from the page's scripts, which see nothing of the marker.
  QCOMPARE(Js(page, "typeof window.__sorviMarks").toString(), QString("undefined"));
  QCOMPARE(Js(page, "document.querySelector('td:nth-child(2)').textContent").toString(), QString("7203"));

  // Rows the page adds later are marked too.
  Js(page, "document.getElementById('t').insertAdjacentHTML('beforeend', '<tr><td>6</td><td>6758</td></tr>'); 1");
  QTRY_COMPARE(Js(page, kMarks).toString(), expected + ";6758|長期: 6758 ソニーG");

  // An edit of the list reaches the open page without a reload.
  f.form->Subsystems().codes->InsertNode(NodePos{1, 1}, false, QStringToSjis("9984 ソフトバンクG"));
  QTRY_VERIFY(Js(page, kMarks).toString().contains("9984|長期: 9984 ソフトバンクG"));
  QCOMPARE(Js(page, "document.querySelectorAll('sorvi-mark').length").toInt(), 5);
  // So does a rename: the tooltip names the stock anew.
  Find<CodeTreeView>(f.form.get(), "TreeViewCode")->CodeModel().SetText(NodePos{1, 1}, QStringToSjis("6758 ソニー"));
  QTRY_VERIFY(Js(page, kMarks).toString().contains("6758|長期: 6758 ソニー;"));
}

void PageMarksTest::optionOffLeavesPagesUnmarked() {
  WindowFixture f({}, [](const ScratchDir& dir) {
    WriteList(dir);
    dir.Write("Sorvi.ini", "[PageMarks]\r\nMark=0\r\n");
  });
  f.server.Serve("/ranking.html", kRanking);
  QVERIFY(f.OpenAndWait("/ranking.html", "Ranking"));
  // The marker is there, with nothing to mark.
  QCOMPARE(JsApart(f.Browser(0), "Object.keys(window.__sorviMarks.table()).length").toInt(), 0);
  QCOMPARE(Js(f.Browser(0), "document.querySelectorAll('sorvi-mark').length").toInt(), 0);
}

void PageMarksTest::addsStockFromPageMenu() {
  WindowFixture f({}, WriteList);
  f.server.Serve("/ranking.html", kRanking);
  QVERIFY(f.OpenAndWait("/ranking.html", "Ranking"));
  WebBrowser* page = f.Browser(0);
  CodeListController* codes = f.form->Subsystems().codes;
  QTRY_VERIFY(Js(page, "document.querySelectorAll('sorvi-mark').length").toInt() == 3);

  // A stock already in the tree: the menu says where.
  RightClick(page, "held");
  QTRY_VERIFY(AddStockMenu());
  QCOMPARE(AddStockMenu()->actions().value(0)->text(), QString("長期 にあります"));
  QVERIFY(!AddStockMenu()->actions().value(0)->isEnabled());
  QApplication::activePopupWidget()->close();

  RightClick(page, "new");
  QTRY_VERIFY(AddStockMenu());
  QStringList items;
  for (QAction* item : AddStockMenu()->actions())
    if (!item->isSeparator()) items << item->text();
  QCOMPARE(items, QStringList({"主力株", "長期", "新しいグループ…"}));
  QAction* long_term = AddStockMenu()->actions().value(1);
  QApplication::activePopupWidget()->close();
  long_term->trigger();

  QTRY_VERIFY(codes->CodeDialog());
  TFormCodeDlg* dialog = codes->CodeDialog();
  QCOMPARE(Find<QLineEdit>(dialog, "MaskEditCode")->text(), QString("4755"));
  QCOMPARE(Find<QLineEdit>(dialog, "LabeledEditTitle")->text(), QString("楽天グループ"));
  Find<QPushButton>(dialog, "ButtonOk")->click();
  QCOMPARE(codes->List().groups[1].stocks,
           (std::vector<std::string>{QStringToSjis("7203 トヨタ自動車"), QStringToSjis("6758 ソニーG"),
                                     QStringToSjis("4755 楽天グループ")}));
  QVERIFY(codes->Document().IsModified());
  QVERIFY(!codes->Document().Save().Failed());
  QVERIFY(f.dir.Read("SV_Code.txt").endsWith(QByteArray::fromStdString(QStringToSjis("4755 楽天グループ\r\n"))));
  QTRY_COMPARE(Js(page, "document.querySelectorAll('sorvi-mark').length").toInt(), 4);
}

void PageMarksTest::proposedNameKeepsWhatShiftJisHolds() {
  TFormCodeDlg dialog(TFormCodeDlg::Mode::Add);
  dialog.SetProposal("7203", QStringLiteral("𠮷野家①HD"));
  QCOMPARE(Find<QLineEdit>(&dialog, "LabeledEditTitle")->text(), QString("野家①HD"));
  QCOMPARE(Find<QLabel>(&dialog, "LabelDropped")->text(), QString("Shift-JIS にない文字「𠮷」を除きました"));
  QCOMPARE(dialog.ComposedText(), QStringToSjis("7203 野家①HD"));
}

SORVI_WEB_TEST_MAIN(PageMarksTest)
#include "page_marks_test.moc"
