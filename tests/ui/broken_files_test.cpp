// What the window does with damaged data files: absurd numbers in the
// settings file, a save of the settings refused half-way, a settings copy
// left behind by a save that never finished, lists with parts the program
// cannot keep, and lists with lines of megabytes.
#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QTest>

#include "app/main_window.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_view.h"
#include "core/settings/settings_file.h"
#include "keymacro/key_macro_registries.h"
#include "keymacro/registry_window.h"
#include "support/dialog_driver.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"
#include "support/window_internals.h"

using namespace sorvi;
using sorvi::testing::DialogDriver;
using sorvi::testing::Find;
using sorvi::testing::ScratchDir;
using sorvi::testing::Spin;
using sorvi::testing::WindowInternals;

class BrokenFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void absurdNumbersGiveWindowsThatFitTheScreens();
  void settingsRefusedHalfWayStayAsTheyWere();
  void settingsCopyOfAnUnfinishedFirstSaveIsTakenOver();
  void listPartsASaveWouldLoseAreReportedAtLoad();
  void linesOfMegabytesAreShownCutAndSavedWhole();
};

void BrokenFilesTest::absurdNumbersGiveWindowsThatFitTheScreens() {
  ScratchDir dir;
  dir.Write("Sorvi.ini",
            "[Window]\r\nTop=2000000000\r\nLeft=-2000000000\r\nHeight=2000000000\r\nWidth=2147483647\r\n"
            "SplitteL=-2147483648\r\nSplitteU=2147483647\r\n"
            "[KeyFunc]\r\nHeight=2147483647\r\nWidth=2147483647\r\n");
  const QSize desktop = QGuiApplication::primaryScreen()->virtualSize();
  TFormMain form(dir.Path());
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QVERIFY2(form.width() <= desktop.width() && form.height() <= desktop.height(),
           qPrintable(QString("%1 x %2").arg(form.width()).arg(form.height())));
  for (int size : Find<QSplitter>(&form, "SplitterLR")->sizes()) QVERIFY(size >= 0 && size <= form.width());

  Find<QAction>(&form, "PopupMenuEtcKeyFunc")->trigger();
  QPointer<QWidget> registry = form.Subsystems().key_registries->OpenWindow();
  QVERIFY(registry);
  QVERIFY(registry->width() <= desktop.width() && registry->height() <= desktop.height());
  QVERIFY(form.close());
}

void BrokenFilesTest::settingsRefusedHalfWayStayAsTheyWere() {
  ScratchDir dir;
  const QByteArray before = "[Window]\r\nTop=10\r\n[URL]\r\nCount=1\r\n1=http://a/\r\n";
  dir.Write("Sorvi.ini", before);
  TFormMain form(dir.Path());
  DialogDriver driver({"OK"});
  // The history erased, then the write refused: a directory in the place of
  // the save copy stops it as a full disk would, even for root.
  QVERIFY(!WindowInternals::WriteSettings(form, [&](SettingsFile& file) {
    file.WriteInteger("Window", "Top", 99);
    file.EraseSection("URL");
    QVERIFY(QDir().mkdir(dir.File("Sorvi.ini.___")));
  }));
  QCOMPARE(driver.Seen().size(), size_t(1));
  QCOMPARE(dir.Read("Sorvi.ini"), before);
}

void BrokenFilesTest::settingsCopyOfAnUnfinishedFirstSaveIsTakenOver() {
  ScratchDir dir;
  dir.Write("Sorvi.ini.___", "[Option]\r\nAutoSave=0\r\n");
  TFormMain form(dir.Path());
  QVERIFY(!WindowInternals::Options(form).AutoSave);
  QCOMPARE(dir.Read("Sorvi.ini"), QByteArray("[Option]\r\nAutoSave=0\r\n"));
  QVERIFY(!dir.Exists("Sorvi.ini.___"));
}

void BrokenFilesTest::listPartsASaveWouldLoseAreReportedAtLoad() {
  ScratchDir dir;
  const QByteArray codes("[G]\r\n1111 a\r\n\0[H]\r\n2222 b\r\n", 27);
  const QByteArray list = "note\r\n[A]\r\nhttp://a/\r\nhttp://b/\r\n";
  dir.Write("SV_Code.txt", codes);
  dir.Write("SV_List.txt", list);
  DialogDriver driver({"OK", "OK"});
  {
    TFormMain form(dir.Path());
    Spin(100);
    QCOMPARE(Find<CodeTreeView>(&form, "TreeViewCode")->model()->rowCount(), 1);
    QCOMPARE(Find<UrlListView>(&form, "ListViewURL")->topLevelItemCount(), 1);
    QVERIFY(form.close());
  }
  QStringList told;
  for (const auto& box : driver.Seen()) told << box.text;
  told.sort();
  QCOMPARE(told, QStringList({"SV_Code.txt の途中に NUL 文字があり、その後ろの 14 バイトは読み込んでいません。\n"
                              "銘柄一覧を保存すると、この部分はファイルから失われます。",
                              "SV_List.txt のブックマークの形になっていない行が 2 行あり、読み込んでいません。\n"
                              "URL一覧を保存すると、この部分はファイルから失われます。"}));
  // Nothing was edited: both files are as they were.
  QCOMPARE(dir.Read("SV_Code.txt"), codes);
  QCOMPARE(dir.Read("SV_List.txt"), list);
}

void BrokenFilesTest::linesOfMegabytesAreShownCutAndSavedWhole() {
  ScratchDir dir;
  const QByteArray huge(3 * 1024 * 1024, 'x');
  const QByteArray codes = "[G]\r\n1234 " + huge + "\r\n";
  const QByteArray list = "[A]\r\nhttp://a/?q=" + huge + "\r\n";
  dir.Write("SV_Code.txt", codes);
  dir.Write("SV_List.txt", list);
  TFormMain form(dir.Path());
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  CodeTreeView& tree = *Find<CodeTreeView>(&form, "TreeViewCode");
  const QString stock = tree.IndexAt(NodePos{0, 0}).data().toString();
  QVERIFY(stock.size() < 2100);
  QVERIFY(stock.startsWith("1234 xxx") && stock.endsWith(QChar(0x2026)));
  QCOMPARE(form.Subsystems().codes->List().groups[0].stocks[0].size(), size_t(5 + huge.size()));
  QVERIFY(Find<UrlListView>(&form, "ListViewURL")->topLevelItem(0)->text(2).size() < 2100);

  form.Subsystems().codes->Document().SetModified(true);
  form.Subsystems().bookmarks->Document().SetModified(true);
  QVERIFY(form.Subsystems().codes->Document().SaveAndReport());
  QVERIFY(form.Subsystems().bookmarks->Document().SaveAndReport());
  QVERIFY(dir.Read("SV_Code.txt") == codes);
  QVERIFY(dir.Read("SV_List.txt") == list);
}

QTEST_MAIN(BrokenFilesTest)
#include "broken_files_test.moc"
