// Editing the lists outside the window: the code and bookmark dialogs as a
// user fills them, and the external editor cycle with fake editor programs.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "bookmarks/bookmark_dialog.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_dialog.h"
#include "core/bookmarks/bookmark_list_edit.h"
#include "platform/default_text_editor.h"
#include "platform/external_editor.h"
#include "platform/list_edit_cycle.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"

using namespace sorvi;
using sorvi::testing::ScratchDir;
using sorvi::testing::WaitUntil;

namespace {

const std::string kSo = "\x83\x5C";        // ソ: its second byte is a backslash
const std::string kIbmKanji = "\xED\x40";  // through Unicode and back it would become FA 5C

// Japanese text arrives through the input method as a committed string.
void TypeJapanese(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(edit, &event);
}

// What a screen reader is told of an edit: its value, and its text read
// through the text interface.
QStringList ScreenReaderText(QLineEdit* edit) {
  QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(edit);
  QAccessibleTextInterface* text = reader->textInterface();
  return {reader->text(QAccessible::Value), text ? text->text(0, text->characterCount()) : QString()};
}

// A fake editor: a shell script written into the scratch directory.
QString WriteScript(const ScratchDir& dir, const QString& name, const QByteArray& body) {
  const QString path = dir.File(name);
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
  file.write("#!/bin/sh\n" + body + "\n");
  file.close();
  file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  return path;
}

// A stand-in main window and a list "loaded" from the file, recording what
// the cycle asks of it.
struct CycleRig : ListEditCycleOwner {
  ScratchDir dir;
  QWidget window;
  QString file;
  bool modified = false;
  int answer = QMessageBox::No;
  bool save_ok = true;
  QStringList asked, errors;
  int saves = 0, reloads = 0;
  QByteArray reloaded;
  std::unique_ptr<ListEditCycle> cycle;

  explicit CycleRig(const QString& list_name = "SV_Code.txt") {
    file = dir.File(list_name);
    QDir().mkpath(QFileInfo(file).path());
    dir.Write(list_name, "[A]\r\n1001 " + QByteArray::fromStdString(kSo) + "\r\n");
    window.resize(400, 300);
    window.show();
    cycle = std::make_unique<ListEditCycle>(&window, file, "銘柄一覧を保存しますか？", *this);
  }

  bool IsModified() const override { return modified; }
  int AskBeforeEditor(const QString& text) override {
    asked << text;
    return answer;
  }
  bool SaveAndReport() override {
    ++saves;
    return save_ok;
  }
  void ReloadAfterEditor() override {
    ++reloads;
    reloaded = dir.Read(file.mid(dir.Path().size()));
  }
  void ShowEditorError(const QString& message) override { errors << message; }

  bool RunToEnd(const QString& editor) {
    QSignalSpy done(cycle.get(), &ListEditCycle::Done);
    cycle->Run(editor);
    return done.count() > 0 || done.wait(10000);
  }
};

}  // namespace

class ListEditingTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void codeDialogFillsUnfilledPlacesWithZeros();
  void codeDialogTakesLetteredCodesAndSaysWhyNot_data();
  void codeDialogTakesLetteredCodesAndSaysWhyNot();
  void codeDialogRadioButtonsFollowTheSelection();
  void codeDialogKeepsUntouchedBytes();
  void bookmarkDialogKeyMacroPartAndUntouchedBytes();
  void dialogsCloseOnceByEveryWay();
  void editorThatEditsAndExitsEndsTheCycle();
  void editorThatReturnsAtOnceWaitsForOk();
  void editorAndFileWithSpacesAndQuotes();
  void defaultEditorComesFromTheDesktopEntry();
  void questionBeforeTheEditorAndItsAnswers();
  void failedStartIsReportedAndTheListReloaded();
};

void ListEditingTest::codeDialogFillsUnfilledPlacesWithZeros() {
  auto* dlg = new TFormCodeDlg(TFormCodeDlg::Mode::Add);
  QPointer<TFormCodeDlg> alive(dlg);
  dlg->SetAddContext(TFormCodeDlg::Selected::Group);
  dlg->show();
  QVERIFY(QTest::qWaitForWindowExposed(dlg));
  QCOMPARE(dlg->windowTitle(), QString("追加"));
  auto* code = sorvi::testing::Find<QLineEdit>(dlg, "MaskEditCode");
  QVERIFY(!code->isEnabled());
  QTest::mouseClick(sorvi::testing::Find<QRadioButton>(dlg, "RadioButton2"), Qt::LeftButton);
  QVERIFY(code->isEnabled());

  code->setFocus();
  code->setCursorPosition(1);
  QTest::keyClicks(code, "5");
  QTest::keyClicks(code, "a");  // not a digit: refused
  QCOMPARE(code->displayText(), QString("0500"));
  QCOMPARE(ScreenReaderText(code), QStringList({"0500", "0500"}));
  TypeJapanese(sorvi::testing::Find<QLineEdit>(dlg, "LabeledEditTitle"), "ソニー");

  QSignalSpy confirmed(dlg, &TFormCodeDlg::Confirmed);
  QTest::mouseClick(sorvi::testing::Find<QPushButton>(dlg, "ButtonOk"), Qt::LeftButton);
  QCOMPARE(confirmed.count(), 1);
  QCOMPARE(confirmed[0][0].toBool(), false);
  QCOMPARE(confirmed[0][1].value<std::string>(), "0500 " + kSo + "\x83\x6A\x81\x5B");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(alive.isNull());  // released on close
}

void ListEditingTest::codeDialogTakesLetteredCodesAndSaysWhyNot_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("why");  // a part of the tooltip
  const char* rows[][3] = {{"130A", "130A", "2桁目と4桁目に英大文字"},
                           {"2a5y", "2A5Y", "2桁目と4桁目に英大文字"},
                           {"13c", "1300", "1桁目と3桁目には数字"},
                           {"130z", "1300", "数字と紛らわしい"},
                           {"1-", "1000", "数字と英字だけ"}};
  for (const auto& row : rows) QTest::newRow(row[0]) << QString(row[0]) << QString(row[1]) << QString(row[2]);
}

void ListEditingTest::codeDialogTakesLetteredCodesAndSaysWhyNot() {
  QFETCH(QString, typed);
  QFETCH(QString, shown);
  QFETCH(QString, why);
  TFormCodeDlg dlg(TFormCodeDlg::Mode::Add);
  dlg.setAttribute(Qt::WA_DeleteOnClose, false);
  dlg.SetAddContext(TFormCodeDlg::Selected::Stock);
  dlg.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dlg));
  auto* code = sorvi::testing::Find<QLineEdit>(&dlg, "MaskEditCode");
  code->setFocus();
  code->setCursorPosition(0);
  QTest::keyClicks(code, typed);
  QCOMPARE(code->displayText(), shown);
  QVERIFY2(code->toolTip().contains(why), qPrintable(code->toolTip()));
  QCOMPARE(ScreenReaderText(code), QStringList({shown, shown}));
  QCOMPARE(dlg.ComposedText(), shown.toStdString() + " ");
  // A pasted code is held to the same rule.
  code->selectAll();
  code->insert("2E5A");
  QCOMPARE(code->displayText(), shown);
}

void ListEditingTest::codeDialogRadioButtonsFollowTheSelection() {
  struct Case {
    TFormCodeDlg::Selected selected;
    bool group_enabled, stock_enabled, group_checked;
  };
  for (const Case& c :
       {Case{TFormCodeDlg::Selected::None, true, false, true}, Case{TFormCodeDlg::Selected::Group, true, true, true},
        Case{TFormCodeDlg::Selected::Stock, false, true, false}}) {
    TFormCodeDlg dlg(TFormCodeDlg::Mode::Add);
    dlg.setAttribute(Qt::WA_DeleteOnClose, false);
    dlg.SetAddContext(c.selected);
    QCOMPARE(sorvi::testing::Find<QRadioButton>(&dlg, "RadioButton1")->isEnabled(), c.group_enabled);
    QCOMPARE(sorvi::testing::Find<QRadioButton>(&dlg, "RadioButton2")->isEnabled(), c.stock_enabled);
    QCOMPARE(sorvi::testing::Find<QRadioButton>(&dlg, "RadioButton1")->isChecked(), c.group_checked);
    QCOMPARE(sorvi::testing::Find<QLineEdit>(&dlg, "MaskEditCode")->isEnabled(), !c.group_checked);
    QCOMPARE(dlg.ComposedText(), c.group_checked ? std::string("[]") : std::string("0000 "));
  }
  // Editing a group: the code stays disabled and the kind cannot change.
  TFormCodeDlg dlg(TFormCodeDlg::Mode::Edit);
  dlg.setAttribute(Qt::WA_DeleteOnClose, false);
  dlg.SetNode(true, "[" + kSo + "]");
  QVERIFY(!sorvi::testing::Find<QRadioButton>(&dlg, "RadioButton2")->isEnabled());
  QVERIFY(!sorvi::testing::Find<QLineEdit>(&dlg, "MaskEditCode")->isEnabled());
  QCOMPARE(sorvi::testing::Find<QLineEdit>(&dlg, "LabeledEditTitle")->text(), QString("ソ"));
}

void ListEditingTest::codeDialogKeepsUntouchedBytes() {
  TFormCodeDlg dlg(TFormCodeDlg::Mode::Edit);
  dlg.setAttribute(Qt::WA_DeleteOnClose, false);
  dlg.SetNode(false, "7203 " + kSo + kIbmKanji);
  dlg.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dlg));
  QVERIFY(!sorvi::testing::Find<QRadioButton>(&dlg, "RadioButton1")->isEnabled());
  auto* code = sorvi::testing::Find<QLineEdit>(&dlg, "MaskEditCode");
  QCOMPARE(code->displayText(), QString("7203"));
  QCOMPARE(dlg.ComposedText(), "7203 " + kSo + kIbmKanji);
  // Only the code is typed over: the name keeps its bytes exactly.
  code->setFocus();
  code->selectAll();
  QTest::keyClicks(code, "12");
  QCOMPARE(dlg.ComposedText(), "1200 " + kSo + kIbmKanji);
  QCOMPARE(ScreenReaderText(code), QStringList({"1200", "1200"}));
  // A typed name is converted.
  auto* name = sorvi::testing::Find<QLineEdit>(&dlg, "LabeledEditTitle");
  name->setFocus();
  name->selectAll();
  TypeJapanese(name, "ソ\\");
  QCOMPARE(dlg.ComposedText(), "1200 " + kSo + "\\");
}

void ListEditingTest::bookmarkDialogKeyMacroPartAndUntouchedBytes() {
  UrlBookmark original{1, "%CD% " + kSo, kSo + kIbmKanji, "https://example.jp/?q=" + kSo, "\\c\\r", 1};
  {
    TFormURLDlg dlg(TFormURLDlg::Mode::Edit);
    dlg.setAttribute(Qt::WA_DeleteOnClose, false);
    dlg.SetBookmark(original);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.windowTitle(), QString("編集"));
    QVERIFY(sorvi::testing::Find<QCheckBox>(&dlg, "CheckBoxKeyMacro")->isChecked());
    // Clearing the key macro text drops the key macro, box ticked or not.
    auto* key = sorvi::testing::Find<QLineEdit>(&dlg, "EditKeyMacro");
    key->setFocus();
    key->selectAll();
    QTest::keyClick(key, Qt::Key_Delete);
    QSignalSpy confirmed(&dlg, &TFormURLDlg::Confirmed);
    QTest::mouseClick(sorvi::testing::Find<QPushButton>(&dlg, "ButtonOk"), Qt::LeftButton);
    QCOMPARE(confirmed.count(), 1);
    const auto got = confirmed[0][0].value<UrlBookmark>();
    UrlBookmark expected = original;
    expected.key_macro.clear();
    expected.key_macro_state = -1;
    QCOMPARE(got.name, expected.name);  // 83 5C ED 40, untouched
    QVERIFY(got == expected);
  }
  {
    TFormURLDlg dlg(TFormURLDlg::Mode::Add);
    dlg.setAttribute(Qt::WA_DeleteOnClose, false);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    TypeJapanese(sorvi::testing::Find<QLineEdit>(&dlg, "LabeledEditName"), "株探");
    QTest::keyClicks(sorvi::testing::Find<QLineEdit>(&dlg, "EditKeyMacro"), "\\t");
    const UrlBookmark got = dlg.Result();
    QCOMPARE(got.name, std::string("\x8A\x94\x92\x54"));
    QCOMPARE(got.key_macro, std::string("\\t"));
    QCOMPARE(got.key_macro_state, 0);  // typed with the box clear: kept, off
    QCOMPARE(got.fixed_title, 0);
  }
}

void ListEditingTest::dialogsCloseOnceByEveryWay() {
  auto* code = new TFormCodeDlg(TFormCodeDlg::Mode::Add);
  code->show();
  QVERIFY(QTest::qWaitForWindowExposed(code));
  QSignalSpy code_closed(code, &TFormCodeDlg::Closed);
  QSignalSpy code_confirmed(code, &TFormCodeDlg::Confirmed);
  QTest::keyClick(code, Qt::Key_Escape);
  QCOMPARE(code_closed.count(), 1);
  QCOMPARE(code_confirmed.count(), 0);

  auto* url = new TFormURLDlg(TFormURLDlg::Mode::Add);
  QPointer<TFormURLDlg> alive(url);
  url->show();
  QVERIFY(QTest::qWaitForWindowExposed(url));
  QSignalSpy url_closed(url, &TFormURLDlg::Closed);
  QTest::mouseClick(sorvi::testing::Find<QPushButton>(url, "ButtonCancel"), Qt::LeftButton);
  QCOMPARE(url_closed.count(), 1);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(alive.isNull());
}

void ListEditingTest::editorThatEditsAndExitsEndsTheCycle() {
  CycleRig rig;
  const QString editor = WriteScript(rig.dir, "edit.sh", "sleep 0.3; printf '[B]\\r\\n' >> \"$1\"");
  QSignalSpy done(rig.cycle.get(), &ListEditCycle::Done);
  rig.cycle->Run(editor);
  QVERIFY(!rig.window.isEnabled());  // disabled while the editor runs
  QCOMPARE(rig.reloads, 0);
  QVERIFY(done.wait(10000));
  QVERIFY(rig.window.isEnabled());
  QCOMPARE(rig.reloads, 1);
  QVERIFY(rig.reloaded.endsWith("[B]\r\n"));
  QVERIFY(rig.errors.isEmpty());  // still Shift-JIS: nothing to report
  QVERIFY(rig.asked.isEmpty());   // not modified: no question

  // An editor that writes UTF-8: reloaded, and reported once by name.
  const QString utf8 = WriteScript(rig.dir, "utf8.sh", "printf '[\\343\\201\\202]\\n\\n' > \"$1\"");
  QVERIFY(rig.RunToEnd(utf8));
  QCOMPARE(rig.reloads, 2);
  QCOMPARE(rig.errors.size(), 1);
  QVERIFY(rig.errors[0].contains(QDir::toNativeSeparators(rig.file)));
  QVERIFY(rig.errors[0].contains("Shift-JIS"));
}

void ListEditingTest::editorThatReturnsAtOnceWaitsForOk() {
  CycleRig rig;
  const QString editor = WriteScript(rig.dir, "handover.sh", "exit 0");
  QSignalSpy done(rig.cycle.get(), &ListEditCycle::Done);
  rig.cycle->Run(editor);
  ExternalEditor* ed = rig.cycle->Editor();
  QVERIFY(WaitUntil([&] { return ed->WaitBox() && ed->WaitBox()->isVisible(); }));
  QCOMPARE(ed->WaitBox()->text(), QString("編集が終わったら OK を押してください"));
  testing::Spin(300);
  QCOMPARE(done.count(), 0);  // not taken as finished
  QCOMPARE(rig.reloads, 0);
  QVERIFY(!rig.window.isEnabled());
  // The running instance saves; then the user presses OK.
  rig.dir.Write("SV_Code.txt", "[C]\r\n");
  QSignalSpy finished(ed, &ExternalEditor::Finished);
  ed->WaitBox()->buttons().first()->click();
  QVERIFY(done.count() == 1 || done.wait(5000));
  QCOMPARE(finished.count(), 1);
  QCOMPARE(finished[0][0].toBool(), true);
  QCOMPARE(rig.reloaded, QByteArray("[C]\r\n"));
  QVERIFY(rig.window.isEnabled());
}

void ListEditingTest::editorAndFileWithSpacesAndQuotes() {
  CycleRig rig("my lists/SV \"Code\" 's.txt");
  const QString editor = WriteScript(rig.dir, "an editor's dir/ed it.sh", "printf '[Q]\\r\\n' >> \"$1\"; [ $# -eq 1 ]");
  QVERIFY(rig.RunToEnd(editor));
  QVERIFY2(rig.errors.isEmpty(), qPrintable(rig.errors.join('\n')));
  QVERIFY(rig.dir.Read("my lists/SV \"Code\" 's.txt").endsWith("\r\n[Q]\r\n"));
}

void ListEditingTest::defaultEditorComesFromTheDesktopEntry() {
  QVERIFY(IsDefaultEditorSetting("Notepad"));
  QVERIFY(IsDefaultEditorSetting(""));
  QVERIFY(IsDefaultEditorSetting("C:\\Windows\\NOTEPAD.EXE"));
  QVERIFY(!IsDefaultEditorSetting("/usr/bin/mousepad"));
  QCOMPARE(DesktopExecCommand("\"/opt/my ed/ed\" --new-window %F", "/x y/SV_Code.txt"),
           QStringList({"/opt/my ed/ed", "--new-window", "/x y/SV_Code.txt"}));
  QCOMPARE(DesktopExecCommand("ed %U --icon %i", "/a b"), QStringList({"ed", "file:///a%20b", "--icon"}));
  QCOMPARE(DesktopExecCommand("ed -p 100%%", "/f"), QStringList({"ed", "-p", "100%", "/f"}));
  QCOMPARE(DesktopExecCommand("\"unterminated", "/f"), QStringList());

  // A desktop whose text/plain editor is the fake one, reached through
  // xdg-mime and the entry's Exec line.
  CycleRig rig;
  const QString editor = WriteScript(rig.dir, "apps bin/fake ed.sh", "printf '[N]\\r\\n' >> \"$1\"");
  WriteScript(rig.dir, "bin/xdg-mime", "echo fake-editor.desktop");
  QDir().mkpath(rig.dir.File("share/applications"));
  rig.dir.Write("share/applications/fake-editor.desktop",
                "[Desktop Entry]\nType=Application\nName=Fake\nExec=\"" + editor.toUtf8() + "\" %F\n");
  const QByteArray old_path = qgetenv("PATH"), old_data = qgetenv("XDG_DATA_HOME");
  qputenv("PATH", (rig.dir.File("bin") + ":").toUtf8() + old_path);
  qputenv("XDG_DATA_HOME", rig.dir.File("share").toUtf8());
  QCOMPARE(ExternalEditor::Command("Notepad", rig.file), QStringList({editor, rig.file}));
  const bool ran = rig.RunToEnd("Notepad");
  qputenv("PATH", old_path);
  qputenv("XDG_DATA_HOME", old_data);
  QVERIFY(ran);
  QVERIFY(rig.reloaded.endsWith("[N]\r\n"));
}

void ListEditingTest::questionBeforeTheEditorAndItsAnswers() {
  CycleRig rig;
  const QString editor = WriteScript(rig.dir, "edit.sh", "printf '[E]\\r\\n' >> \"$1\"");
  rig.modified = true;

  rig.answer = QMessageBox::Cancel;
  QVERIFY(rig.RunToEnd(editor));
  QCOMPARE(rig.asked.size(), 1);
  QVERIFY(rig.asked[0].startsWith("銘柄一覧を保存しますか？"));
  QVERIFY(rig.asked[0].contains("Shift-JIS"));
  QCOMPARE(rig.reloads, 0);  // nothing started, nothing reloaded
  QVERIFY(!rig.dir.Read("SV_Code.txt").contains("[E]"));

  // A save that fails stops the cycle: the reload would lose the changes.
  rig.answer = QMessageBox::Yes;
  rig.save_ok = false;
  QVERIFY(rig.RunToEnd(editor));
  QCOMPARE(rig.saves, 1);
  QCOMPARE(rig.reloads, 0);

  rig.save_ok = true;
  QVERIFY(rig.RunToEnd(editor));
  QCOMPARE(rig.saves, 2);
  QCOMPARE(rig.reloads, 1);

  rig.answer = QMessageBox::No;
  QVERIFY(rig.RunToEnd(editor));
  QCOMPARE(rig.saves, 2);
  QCOMPARE(rig.reloads, 2);
}

void ListEditingTest::failedStartIsReportedAndTheListReloaded() {
  CycleRig rig;
  QVERIFY(rig.RunToEnd(rig.dir.File("no such editor")));
  QCOMPARE(rig.errors.size(), 1);
  QVERIFY(rig.errors[0].contains("no such editor"));
  QCOMPARE(rig.reloads, 1);
  QVERIFY(rig.window.isEnabled());
}

QTEST_MAIN(ListEditingTest)
#include "list_editing_test.moc"
