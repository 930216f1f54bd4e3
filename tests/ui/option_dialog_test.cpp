// The options dialog as the user works it: what it shows, what OK writes to
// Sorvi.ini and hands back, and that CANCEL leaves everything alone.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "core/settings/app_options.h"
#include "core/settings/settings_file.h"
#include "dialogs/option_dialog.h"
#include "support/dialog_driver.h"
#include "support/find_widget.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"

using sorvi::AppOptions;
using sorvi::TFormOption;
using sorvi::testing::DialogDriver;
using sorvi::testing::ScratchDir;

namespace {

// Stores what OK confirmed as the window does: one commit to Sorvi.ini.
sorvi::OptionStore StoreIn(const ScratchDir& dir) {
  return [path = QFile::encodeName(dir.File("Sorvi.ini")).toStdString()](const sorvi::OptionDialogResult& result) {
    sorvi::SettingsFile ini(path);
    sorvi::StoreOptionDialogResult(ini, result);
    return ini.Commit();
  };
}

class OptionDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void clearedEditorBecomesNotepad();
  void storedIntervalsAreShownClampedAndTheArrowsStopAtTheEnds();
  void cancelChangesNothing();
  void refusedWriteIsReportedAndTheValuesStillHold();
  void cancelledBrowseKeepsTheEditorText();
};

void OptionDialogTest::clearedEditorBecomesNotepad() {
  ScratchDir dir;
  AppOptions options;
  options.Editor = "/bin/sh";
  TFormOption dialog(options, StoreIn(dir));
  dialog.show();
  auto* editor = sorvi::testing::Find<QLineEdit>(&dialog, "LabeledEditEditor");
  QCOMPARE(editor->text(), QString("/bin/sh"));
  editor->selectAll();
  QTest::keyClick(editor, Qt::Key_Delete);
  // Switching LinkTarget off reaches the open tabs; Silent only later ones.
  sorvi::testing::Find<QCheckBox>(&dialog, "CheckBoxLinkTarget")->click();
  sorvi::testing::Find<QCheckBox>(&dialog, "CheckBoxSilent")->click();
  QTest::keyClick(editor, Qt::Key_Return);  // OK is the default button
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(dialog.Result().options.Editor, std::string("Notepad"));
  QCOMPARE(dir.Ini("Option", "Editor"), QString("Notepad"));
  QVERIFY(dialog.Result().link_target_changed);
  QVERIFY(dialog.Result().later_tabs_changed);
  QCOMPARE(dir.Ini("Option", "LinkTarget"), QString("0"));
  QCOMPARE(dir.Ini("Option", "Silent"), QString("1"));

  // A path that names no file is not kept either.
  TFormOption again(dialog.Result().options, StoreIn(dir));
  again.show();
  sorvi::testing::Find<QLineEdit>(&again, "LabeledEditEditor")->setText(dir.File("no-such-editor"));
  QTest::mouseClick(sorvi::testing::Find<QPushButton>(&again, "ButtonOk"), Qt::LeftButton);
  QCOMPARE(again.Result().options.Editor, std::string("Notepad"));
}

void OptionDialogTest::storedIntervalsAreShownClampedAndTheArrowsStopAtTheEnds() {
  ScratchDir dir;
  AppOptions options;
  options.IntervalPaste = 3000;
  options.IntervalDefault = 100;
  TFormOption dialog(options, StoreIn(dir));
  dialog.show();
  auto* paste = sorvi::testing::Find<QSpinBox>(&dialog, "UpDownIntervalPaste");
  auto* wait = sorvi::testing::Find<QSpinBox>(&dialog, "UpDownIntervalDefault");
  QVERIFY(sorvi::testing::Find<QLineEdit>(&dialog, "EditIntervalPaste")->isReadOnly());
  paste->setFocus();
  QTest::keyClick(paste, Qt::Key_Up);
  QCOMPARE(paste->value(), 3000);
  QTest::keyClick(paste, Qt::Key_Down);
  QCOMPARE(paste->value(), 2900);
  QTest::keyClick(wait, Qt::Key_Down);
  QCOMPARE(wait->value(), 100);
  QTest::keyClick(wait, Qt::Key_Up);
  QCOMPARE(sorvi::testing::Find<QLineEdit>(&dialog, "EditIntervalDefault")->text(), QString("200"));
  dialog.reject();

  options.IntervalPaste = 12345;
  options.IntervalDefault = 250;
  TFormOption odd(options, StoreIn(dir));
  odd.show();
  QCOMPARE(sorvi::testing::Find<QSpinBox>(&odd, "UpDownIntervalPaste")->value(), 3000);
  QCOMPARE(sorvi::testing::Find<QSpinBox>(&odd, "UpDownIntervalDefault")->value(), 300);
  QTest::mouseClick(sorvi::testing::Find<QPushButton>(&odd, "ButtonOk"), Qt::LeftButton);
  QCOMPARE(dir.Ini("Option", "IntervalPaste"), QString("3000"));
  QCOMPARE(dir.Ini("Option", "IntervalDefault"), QString("300"));
}

void OptionDialogTest::cancelChangesNothing() {
  ScratchDir dir;
  AppOptions options;
  options.IntervalPaste = 12345;  // shown clamped, never written without OK
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<TFormOption*>(QApplication::activeModalWidget());
    if (!dialog) return;
    sorvi::testing::Find<QCheckBox>(dialog, "CheckBoxAutoSave")->click();
    sorvi::testing::Find<QLineEdit>(dialog, "LabeledEditEditor")->setText("/bin/sh");
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  QVERIFY(!TFormOption::Run(options, StoreIn(dir), nullptr).has_value());
  QVERIFY(!dir.Exists("Sorvi.ini"));

  QTimer::singleShot(0, [] {
    if (auto* dialog = QApplication::activeModalWidget())
      sorvi::testing::Find<QPushButton>(dialog, "ButtonCancel")->click();
  });
  QVERIFY(!TFormOption::Run(options, StoreIn(dir), nullptr).has_value());
  QVERIFY(!dir.Exists("Sorvi.ini"));
}

void OptionDialogTest::refusedWriteIsReportedAndTheValuesStillHold() {
  ScratchDir dir;
  dir.Write("Sorvi.ini", "[Option]\r\nAutoSave=1\r\n");
  // A directory where the save copy goes: the system refuses every write.
  QVERIFY(QDir().mkdir(dir.File("Sorvi.ini.___")));
  AppOptions options;
  TFormOption dialog(options, StoreIn(dir));
  dialog.show();
  sorvi::testing::Find<QCheckBox>(&dialog, "CheckBoxAutoSave")->click();
  sorvi::testing::Find<QCheckBox>(&dialog, "CheckBoxLinkTarget")->click();
  DialogDriver driver({"OK"});
  QTest::mouseClick(sorvi::testing::Find<QPushButton>(&dialog, "ButtonOk"), Qt::LeftButton);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(driver.Seen().size(), size_t(1));
  QCOMPARE(driver.Seen()[0].text, dir.File("Sorvi.ini") + " に書き込めません（同じ名前のフォルダがあります）");
  QVERIFY(!dialog.Result().options.AutoSave);
  QVERIFY(dialog.Result().link_target_changed);
  QCOMPARE(dir.Read("Sorvi.ini"), QByteArray("[Option]\r\nAutoSave=1\r\n"));
}

void OptionDialogTest::cancelledBrowseKeepsTheEditorText() {
  ScratchDir dir;
  AppOptions options;
  options.Editor = "/bin/sh";
  TFormOption dialog(options, StoreIn(dir));
  dialog.show();
  bool saw_browser = false;
  QTimer::singleShot(200, [&] {
    auto* browser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!browser) return;
    saw_browser = true;
    browser->reject();
  });
  QTest::mouseClick(sorvi::testing::Find<QPushButton>(&dialog, "ButtonEditor"), Qt::LeftButton);
  QVERIFY(saw_browser);
  QCOMPARE(sorvi::testing::Find<QLineEdit>(&dialog, "LabeledEditEditor")->text(), QString("/bin/sh"));
  QVERIFY(!dir.Exists("Sorvi.ini"));
}

}  // namespace

QTEST_MAIN(OptionDialogTest)
#include "option_dialog_test.moc"
