// What the window does with damaged data files: absurd numbers in the
// settings file, a save of the settings refused half-way, and a settings
// copy left behind by a save that never finished.
#include <QAction>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QTest>

#include "app/main_window.h"
#include "core/settings/settings_file.h"
#include "keymacro/key_macro_registries.h"
#include "keymacro/registry_window.h"
#include "support/dialog_driver.h"
#include "support/find_widget.h"
#include "support/scratch_dir.h"

using namespace sorvi;
using sorvi::testing::DialogDriver;
using sorvi::testing::Find;
using sorvi::testing::ScratchDir;

class BrokenFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void absurdNumbersGiveWindowsThatFitTheScreens();
  void settingsRefusedHalfWayStayAsTheyWere();
  void settingsCopyOfAnUnfinishedFirstSaveIsTakenOver();
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
  QPointer<QWidget> registry = form.KeyRegistries()->OpenWindow();
  QVERIFY(registry);
  QVERIFY(registry->width() <= desktop.width() && registry->height() <= desktop.height());
  QVERIFY(form.close());
}

void BrokenFilesTest::settingsRefusedHalfWayStayAsTheyWere() {
  ScratchDir dir;
  const QByteArray before = "[Window]\r\nTop=10\r\n[URL]\r\nCount=1\r\n1=http://a/\r\n";
  dir.Write("Sorvi.ini", before);
  TFormMain form(dir.Path());
  const std::string ini = QFile::encodeName(dir.File("Sorvi.ini")).toStdString();
  DialogDriver driver({"OK"});
  // The history erased, then a write refused: as a full disk would do it
  // in the middle of the close.
  QVERIFY(!form.WriteSettings([&](SettingsFile& file) {
    file.WriteInteger("Window", "Top", 99);
    file.EraseSection("URL");
    throw SettingsWriteError(ini);
  }));
  QCOMPARE(driver.Seen().size(), size_t(1));
  QCOMPARE(dir.Read("Sorvi.ini"), before);
}

void BrokenFilesTest::settingsCopyOfAnUnfinishedFirstSaveIsTakenOver() {
  ScratchDir dir;
  dir.Write("Sorvi.ini.___", "[Option]\r\nAutoSave=0\r\n");
  TFormMain form(dir.Path());
  QVERIFY(!form.Options().AutoSave);
  QCOMPARE(dir.Read("Sorvi.ini"), QByteArray("[Option]\r\nAutoSave=0\r\n"));
  QVERIFY(!dir.Exists("Sorvi.ini.___"));
}

QTEST_MAIN(BrokenFilesTest)
#include "broken_files_test.moc"
