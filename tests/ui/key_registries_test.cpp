// The two key macro registry windows (in-place cell editing, dragging rows,
// saving and discarding, what lands in Sorvi.ini), function keys inside and
// outside the tab area, and the "実行" submenu built from the stock-code
// registry.
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcut>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>
#include <filesystem>
#include <memory>

#include "core/keymacro/key_code_registry.h"
#include "core/keymacro/key_func_registry.h"
#include "keymacro/code_go_menu.h"
#include "keymacro/function_key_controller.h"
#include "keymacro/key_code_window.h"
#include "keymacro/key_func_window.h"
#include "keymacro/list_view_cell_editor.h"
#include "keymacro/registry_list_view.h"
#include "platform/cp932.h"
#include "support/dialog_driver.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"

using namespace sorvi;
using sorvi::testing::DialogDriver;
using sorvi::testing::ScratchDir;
using sorvi::testing::Sjis;

namespace {

std::string S(const QString& text) { return QStringToSjis(text); }

QPoint CellPoint(RegistryListView* list, int row, int column) {
  const QRect rect = list->visualItemRect(list->topLevelItem(row));
  return QPoint(list->header()->sectionViewportPosition(column) + list->header()->sectionSize(column) / 2,
                rect.center().y());
}

void Mouse(QWidget* target, QEvent::Type type, const QPoint& at, Qt::MouseButtons held) {
  QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

void Click(RegistryListView* list, int row, int column) {
  const QPoint at = CellPoint(list, row, column);
  Mouse(list->viewport(), QEvent::MouseButtonPress, at, Qt::LeftButton);
  Mouse(list->viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton);
}

void DoubleClick(RegistryListView* list, int row, int column) {
  Click(list, row, column);
  const QPoint at = CellPoint(list, row, column);
  Mouse(list->viewport(), QEvent::MouseButtonDblClick, at, Qt::LeftButton);
  Mouse(list->viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton);
}

void Drag(RegistryListView* list, int from, int to) {
  const QPoint start = CellPoint(list, from, 2);
  const QPoint end = CellPoint(list, to, 2);
  Mouse(list->viewport(), QEvent::MouseButtonPress, start, Qt::LeftButton);
  Mouse(list->viewport(), QEvent::MouseMove, (start + end) / 2 + QPoint(0, 1), Qt::LeftButton);
  Mouse(list->viewport(), QEvent::MouseMove, end, Qt::LeftButton);
  Mouse(list->viewport(), QEvent::MouseButtonRelease, end, Qt::NoButton);
}

QStringList Column(RegistryListView* list, int column) {
  QStringList texts;
  for (int row = 0; row < list->topLevelItemCount(); ++row) texts << list->topLevelItem(row)->text(column);
  return texts;
}

bool ShowActive(QWidget* window) {
  window->show();
  window->activateWindow();
  return QTest::qWaitForWindowActive(window);
}

}  // namespace

class KeyRegistriesTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void cellEditorEditsInPlace();
  void cellEditorWorksOnAPageWithoutRows();
  void rowsAreDraggedOntoRows();
  void savingRewritesTheSectionAndTheRegistry();
  void closingWithoutSavingKeepsEverything();
  void refusedSaveKeepsTheWindowAndItsEdits();
  void codeWindowKeepsRowZeroFixed();
  void codeWindowSavesInOrderAndTheMenuFollows();
  void ctrlClickOnlyChangesTheDefault();

  void directKeyPlaysTheEntryForTheAddress();
  void functionKeysOutsideTheTabAreaAreLeftAlone();
  void selectKeyMenuListsNamesAndPlaysTheChosenOne();

 private:
  std::string Ini() const { return QFile::encodeName(dir_->File("Sorvi.ini")).toStdString(); }
  KeyFuncRegistry ReadFuncFile() const { return ReadKeyFuncRegistry(SettingsFile(Ini())); }
  // The settings as the program holds them: read from the file once, when
  // the first window opens (the file is written by each test first).
  SettingsFile& Settings() {
    if (!settings_) settings_ = std::make_unique<SettingsFile>(Ini());
    return *settings_;
  }

  std::unique_ptr<ScratchDir> dir_;
  std::unique_ptr<SettingsFile> settings_;
  std::unique_ptr<QWidget> main_;
};

void KeyRegistriesTest::init() {
  sorvi::testing::FailOnUnexpectedWarnings();
  dir_ = std::make_unique<ScratchDir>();
  main_ = std::make_unique<QWidget>();
  main_->resize(800, 600);
}

void KeyRegistriesTest::cleanup() {
  main_.reset();
  settings_.reset();
  dir_.reset();
}

// ---- cell editor ---------------------------------------------------------------

void KeyRegistriesTest::cellEditorEditsInPlace() {
  KeyFuncRegistry registry;
  registry.KeyFuncKind[0] = kKeyFuncSelect;
  registry.KeyFuncList[0] = {{"m1", S("名前1")}, {"m2", S("名前2")}, {"m3", S("名前3")}};
  auto* window = new TFormKeyFunc(Settings(), registry, main_.get());
  QVERIFY(ShowActive(window));
  RegistryListView* list = window->ListView(0);
  ListViewCellEditor* editor = window->CellEditor(0);
  QCOMPARE(window->PageControl()->tabText(0), QString("F1  +"));
  QCOMPARE(window->PageControl()->tabText(1), QString("F2  "));
  QVERIFY(list->isColumnHidden(TFormKeyFunc::kUrl));

  // A single click does not open the editor; a double-click opens it over
  // the cell under the mouse.
  Click(list, 1, TFormKeyFunc::kMacro);
  QVERIFY(!editor->IsOpen());
  DoubleClick(list, 1, TFormKeyFunc::kMacro);
  QVERIFY(editor->IsOpen());
  QCOMPARE(editor->Column(), int(TFormKeyFunc::kMacro));
  QCOMPARE(editor->EditBox()->text(), QString("m2"));
  const QRect cell = list->visualItemRect(list->topLevelItem(1));
  QCOMPARE(editor->EditBox()->geometry().top(), cell.top());
  QCOMPARE(editor->EditBox()->geometry().left(), list->header()->sectionViewportPosition(TFormKeyFunc::kMacro));
  QVERIFY(editor->EditBox()->hasFocus());
  QVERIFY(!window->IsModified());

  // Down commits and goes on in the same cell of the next row; on the last
  // row Down keeps editing there.
  editor->EditBox()->setText("x2");
  QTest::keyClick(editor->EditBox(), Qt::Key_Down);
  QCOMPARE(editor->Row(), 2);
  QCOMPARE(editor->EditBox()->text(), QString("m3"));
  QTest::keyClick(editor->EditBox(), Qt::Key_Down);
  QCOMPARE(editor->Row(), 2);
  QVERIFY(window->IsModified());
  // Escape drops only the edit in progress.
  editor->EditBox()->setText("dropped");
  QTest::keyClick(editor->EditBox(), Qt::Key_Escape);
  QVERIFY(!editor->IsOpen());
  QCOMPARE(Column(list, TFormKeyFunc::kMacro), (QStringList{"m1", "x2", "m3"}));
  // Closing disarms: a single click no longer opens.
  Click(list, 2, TFormKeyFunc::kMacro);
  QVERIFY(!editor->IsOpen());

  // Enter commits, typed text goes into the name column; Up on the first
  // row stays there.
  DoubleClick(list, 0, TFormKeyFunc::kName);
  QCOMPARE(editor->EditBox()->text(), QString("名前1"));
  QTest::keyClick(editor->EditBox(), Qt::Key_Up);
  QCOMPARE(editor->Row(), 0);
  editor->EditBox()->selectAll();
  QTest::keyClicks(editor->EditBox(), "abc");
  QTest::keyClick(editor->EditBox(), Qt::Key_Return);
  QCOMPARE(list->topLevelItem(0)->text(TFormKeyFunc::kName), QString("abc"));
  QVERIFY(list->hasFocus());

  // Losing the focus commits as well.
  DoubleClick(list, 2, TFormKeyFunc::kName);
  editor->EditBox()->setText("by focus");
  window->PageControl()->tabBar()->setFocus();
  QVERIFY(!editor->IsOpen());
  QCOMPARE(list->topLevelItem(2)->text(TFormKeyFunc::kName), QString("by focus"));
  window->close();
  // The registry saw none of it.
  QCOMPARE(registry.KeyFuncList[0][0].Label, S("名前1"));
}

void KeyRegistriesTest::cellEditorWorksOnAPageWithoutRows() {
  KeyFuncRegistry registry;
  auto* window = new TFormKeyFunc(Settings(), registry, main_.get());
  QVERIFY(ShowActive(window));
  window->PageControl()->setCurrentIndex(4);
  QVERIFY(window->MenuKind2()->isChecked());
  window->AddRow();
  QCOMPARE(window->PageControl()->tabText(4), QString("F5  *"));
  RegistryListView* list = window->ListView(4);
  DoubleClick(list, 0, TFormKeyFunc::kUrl);
  QVERIFY(window->CellEditor(4)->IsOpen());
  QTest::keyClicks(window->CellEditor(4)->EditBox(), "http://a/");
  QTest::keyClick(window->CellEditor(4)->EditBox(), Qt::Key_Enter);
  QCOMPARE(list->topLevelItem(0)->text(TFormKeyFunc::kUrl), QString("http://a/"));
  // The hidden name column is never hit.
  DoubleClick(list, 0, 1);
  QCOMPARE(window->CellEditor(4)->Column(), int(TFormKeyFunc::kMacro));
  QTest::keyClick(window->CellEditor(4)->EditBox(), Qt::Key_Escape);
  window->DeleteRow();
  QCOMPARE(window->PageControl()->tabText(4), QString("F5  "));
  window->close();
}

void KeyRegistriesTest::rowsAreDraggedOntoRows() {
  KeyFuncRegistry registry;
  registry.KeyFuncList[1] = {{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}};
  auto* window = new TFormKeyFunc(Settings(), registry, main_.get());
  QVERIFY(ShowActive(window));
  window->PageControl()->setCurrentIndex(1);
  RegistryListView* list = window->ListView(1);

  Click(list, 1, 2);
  Drag(list, 1, 3);
  QCOMPARE(Column(list, TFormKeyFunc::kMacro), (QStringList{"a", "c", "d", "b"}));
  QCOMPARE(list->SelectedRow(), 3);
  QVERIFY(window->IsModified());
  Drag(list, 3, 0);
  QCOMPARE(Column(list, TFormKeyFunc::kMacro), (QStringList{"b", "a", "c", "d"}));
  // Onto itself, or a plain click: nothing moves.
  Drag(list, 0, 0);
  Click(list, 2, 2);
  QCOMPARE(Column(list, TFormKeyFunc::kMacro), (QStringList{"b", "a", "c", "d"}));

  window->Save();
  QCOMPARE(registry.KeyFuncList[1], (std::vector<KeyFuncEntry>{{"b", ""}, {"a", ""}, {"c", ""}, {"d", ""}}));
}

// ---- saving and discarding ------------------------------------------------------

void KeyRegistriesTest::savingRewritesTheSectionAndTheRegistry() {
  dir_->WriteSjisLines("Sorvi.ini", {"[Option]", "Editor=vi", "[KeyFunc]", "C9=2", "M9-1=old", "Stray=1"});
  KeyFuncRegistry registry = ReadFuncFile();
  registry.KeyFuncKind[2] = kKeyFuncSelect;
  // Bytes that Unicode cannot tell apart: they must come back as read.
  const std::string nec = "\xED\x40";
  registry.KeyFuncList[2] = {{nec, S("名前")}};
  auto* window = new TFormKeyFunc(Settings(), registry, main_.get());
  QSignalSpy saved(window, &TFormKeyFunc::Saved);
  QSignalSpy closed(window, &TFormKeyFunc::Closed);
  QPointer<TFormKeyFunc> alive(window);
  QVERIFY(ShowActive(window));

  // F3 goes from select to direct: its names are dropped, its addresses
  // are empty until filled in.
  window->PageControl()->setCurrentIndex(2);
  QVERIFY(window->MenuKind1()->isChecked());
  const int name_width = window->ListView(2)->header()->sectionSize(TFormKeyFunc::kName);
  window->MenuKind2()->trigger();
  QCOMPARE(window->PageControl()->tabText(2), QString("F3  *"));
  QVERIFY(window->ListView(2)->isColumnHidden(TFormKeyFunc::kName));
  QCOMPARE(window->ListView(2)->header()->sectionSize(TFormKeyFunc::kUrl), name_width);
  // A second entry on F12, typed in place.
  window->PageControl()->setCurrentIndex(11);
  window->AddRow();
  DoubleClick(window->ListView(11), 0, TFormKeyFunc::kMacro);
  QTest::keyClicks(window->CellEditor(11)->EditBox(), "\\c\\r");
  // Saving with the edit still open commits it first.
  QVERIFY(window->Save());

  QCOMPARE(saved.count(), 1);
  QCOMPARE(closed.count(), 1);
  QTRY_VERIFY(!alive);
  QCOMPARE(registry.KeyFuncKind[2], kKeyFuncDirect);
  QCOMPARE(registry.KeyFuncList[2], (std::vector<KeyFuncEntry>{{nec, ""}}));
  QCOMPARE(registry.KeyFuncList[11], (std::vector<KeyFuncEntry>{{"\\c\\r", ""}}));
  QCOMPARE(registry.KeyFuncList[8], (std::vector<KeyFuncEntry>{{"old", ""}}));
  QCOMPARE(ReadFuncFile(), registry);
  const QByteArray ini = dir_->Read("Sorvi.ini");
  QVERIFY(ini.startsWith("[Option]\r\nEditor=vi\r\n[KeyFunc]\r\nC1=0\r\nK1=1\r\n"));
  QVERIFY(ini.contains("C3=2\r\nK3=1\r\nM3-1=" + QByteArray::fromStdString(nec) + "\r\nU3-1=\r\nC4=0"));
  QVERIFY(!ini.contains("Stray"));
  // The close after the save adds the size and the active page's widths.
  QByteArray tail = "U12-1=\r\n";
  for (const char* key : {"Height", "Width", "Clm2", "Clm3"}) {
    tail += QByteArray(key) + "=" + dir_->Ini("KeyFunc", key).toLatin1() + "\r\n";
  }
  QVERIFY(ini.endsWith(tail));
  QCOMPARE(dir_->Ini("KeyFunc", "Clm1"), QString("<missing>"));
}

void KeyRegistriesTest::closingWithoutSavingKeepsEverything() {
  KeyFuncRegistry registry;
  registry.KeyFuncList[0] = {{"keep", "http://k/"}};
  const KeyFuncRegistry before = registry;
  auto* window = new TFormKeyFunc(Settings(), registry, main_.get());
  QSignalSpy saved(window, &TFormKeyFunc::Saved);
  QSignalSpy closed(window, &TFormKeyFunc::Closed);
  QVERIFY(ShowActive(window));
  window->resize(444, 333);
  window->AddRow();
  window->MenuKind1()->trigger();
  window->close();
  QCOMPARE(closed.count(), 1);
  QCOMPARE(saved.count(), 0);
  QCOMPARE(registry, before);
  // Only the window's size and the widths of the page it was on.
  QCOMPARE(dir_->Read("Sorvi.ini"), QByteArray("[KeyFunc]\r\nHeight=333\r\nWidth=444\r\nClm1=") +
                                        dir_->Ini("KeyFunc", "Clm1").toLatin1() + "\r\nClm2=200\r\n");
  // The next window opens at that size.
  auto* again = new TFormKeyFunc(Settings(), registry, main_.get());
  QCOMPARE(again->size(), QSize(444, 333));
  again->close();
}

void KeyRegistriesTest::refusedSaveKeepsTheWindowAndItsEdits() {
  dir_->WriteSjisLines("Sorvi.ini", {"[KeyFunc]", "C1=2", "M1-1=old"});
  const QByteArray before = dir_->Read("Sorvi.ini");
  QVERIFY(std::filesystem::create_directory(Ini() + ".___"));
  KeyFuncRegistry registry = ReadFuncFile();
  auto* window = new TFormKeyFunc(Settings(), registry, main_.get());
  QSignalSpy saved(window, &TFormKeyFunc::Saved);
  QVERIFY(ShowActive(window));
  window->AddRow();
  {
    DialogDriver driver({"OK"});
    QVERIFY(!window->Save());
    QCOMPARE(driver.Seen().size(), size_t(1));
    QCOMPARE(driver.Seen()[0].text, dir_->File("Sorvi.ini") + " に書き込めません（同じ名前のフォルダがあります）");
  }
  QVERIFY(window->isVisible());
  QVERIFY(window->IsModified());
  QCOMPARE(window->ListView(0)->topLevelItemCount(), 2);
  QCOMPARE(saved.count(), 0);
  QCOMPARE(registry.KeyFuncList[0].size(), size_t(1));
  QCOMPARE(dir_->Read("Sorvi.ini"), before);

  // Once the file can be written again the same edits save.
  std::filesystem::remove(Ini() + ".___");
  QVERIFY(window->Save());
  QCOMPARE(registry.KeyFuncList[0].size(), size_t(2));
  QCOMPARE(ReadFuncFile(), registry);
}

// ---- the stock-code registry -----------------------------------------------------

void KeyRegistriesTest::codeWindowKeepsRowZeroFixed() {
  KeyCodeRegistry registry{{{"a", "ma"}, {"b", "mb"}}, 2};
  auto* window = new TFormKeyCode(Settings(), registry, main_.get());
  QVERIFY(ShowActive(window));
  RegistryListView* list = window->ListView();
  QCOMPARE(Column(list, TFormKeyCode::kName), (QStringList{"URLを開く", "a", "b"}));
  QCOMPARE(Column(list, TFormKeyCode::kMacro), (QStringList{"※編集不可", "ma", "mb"}));
  QCOMPARE(Column(list, TFormKeyCode::kMarker), (QStringList{"", "", " *"}));

  // Row 0: not edited, not dragged, not dropped onto, not deleted.
  DoubleClick(list, 0, TFormKeyCode::kName);
  QVERIFY(!window->CellEditor()->IsOpen());
  Drag(list, 0, 2);
  Click(list, 2, TFormKeyCode::kName);
  Drag(list, 2, 0);
  QCOMPARE(Column(list, TFormKeyCode::kName), (QStringList{"URLを開く", "a", "b"}));
  Click(list, 0, TFormKeyCode::kName);
  window->DeleteRow();
  QCOMPARE(list->topLevelItemCount(), 3);
  QVERIFY(!window->IsModified());
  // Up from row 1 does not reach it either.
  DoubleClick(list, 1, TFormKeyCode::kMacro);
  QVERIFY(window->CellEditor()->IsOpen());
  QTest::keyClick(window->CellEditor()->EditBox(), Qt::Key_Up);
  QCOMPARE(window->CellEditor()->Row(), 1);
  QTest::keyClick(window->CellEditor()->EditBox(), Qt::Key_Escape);

  // But it can be made the default, by a press in the marker column.
  Click(list, 0, TFormKeyCode::kMarker);
  QCOMPARE(Column(list, TFormKeyCode::kMarker), (QStringList{" *", "", ""}));
  QVERIFY(window->IsModified());
  QVERIFY(window->Save());
  QCOMPARE(registry.Default, 0);
  QCOMPARE(dir_->Ini("KeyCode", "D"), QString("0"));
}

void KeyRegistriesTest::codeWindowSavesInOrderAndTheMenuFollows() {
  KeyCodeRegistry registry;
  QWidget owner;
  CodeGoMenu menu(registry, &owner);
  QMenu& go_menu = *menu.Menu();
  QAction* url = go_menu.actions()[0];
  QVERIFY(url->isChecked());

  auto* window = new TFormKeyCode(Settings(), registry, main_.get());
  QObject::connect(window, &TFormKeyCode::Saved, &menu, &CodeGoMenu::Rebuild);
  QVERIFY(ShowActive(window));
  RegistryListView* list = window->ListView();
  for (const char* name : {"チャート", "板"}) {
    window->AddRow();
    DoubleClick(list, list->topLevelItemCount() - 1, TFormKeyCode::kName);
    window->CellEditor()->EditBox()->insert(QString::fromUtf8(name));  // as an input method would
    QTest::keyClick(window->CellEditor()->EditBox(), Qt::Key_Tab);     // typed on, then the focus leaves
  }
  DoubleClick(list, 2, TFormKeyCode::kMacro);
  QTest::keyClicks(window->CellEditor()->EditBox(), "\\c\\r");
  QTest::keyClick(window->CellEditor()->EditBox(), Qt::Key_Return);
  Click(list, 2, TFormKeyCode::kMarker);
  QVERIFY(window->Save());

  QCOMPARE(dir_->Read("Sorvi.ini"),
           "[KeyCode]\r\nC=2\r\nD=2\r\nN1=" + Sjis("チャート") + "\r\nM1=\r\nN2=" + Sjis("板") +
               "\r\nM2=\\c\\r\r\nHeight=" + dir_->Ini("KeyCode", "Height").toLatin1() +
               "\r\nWidth=" + dir_->Ini("KeyCode", "Width").toLatin1() + "\r\nClm2=150\r\nClm3=200\r\n");
  QCOMPARE(ReadKeyCodeRegistry(SettingsFile(Ini())), registry);
  // The submenu: "URLを開く", the separator, the names, the second checked.
  const QList<QAction*> items = go_menu.actions();
  QCOMPARE(items.size(), 4);
  QCOMPARE(items[2]->text(), QString("チャート"));
  QCOMPARE(items[3]->text(), QString("板"));
  QVERIFY(items[3]->isChecked());
  QCOMPARE(menu.DefaultIndex(), 3);
  QCOMPARE(menu.Entry(items[3])->Macro, std::string("\\c\\r"));
  QCOMPARE(menu.Entry(url), nullptr);
}

void KeyRegistriesTest::ctrlClickOnlyChangesTheDefault() {
  KeyCodeRegistry registry{{{"a", "ma"}, {"b", "mb"}}, 0};
  QWidget owner;
  CodeGoMenu menu(registry, &owner);
  QAction* url = menu.Menu()->actions()[0];
  QSignalSpy triggered(&menu, &CodeGoMenu::MacroItemTriggered);
  QSignalSpy played(&menu, &CodeGoMenu::CodeMacroRequested);
  QSignalSpy opened(&menu, &CodeGoMenu::OpenBookmarkRequested);
  QAction* first = menu.MacroItems()[0];

  // A plain click runs the item (the menu asks for its macro) and the
  // default stays; the default run by a double-click opens the bookmark.
  first->trigger();
  QCOMPARE(triggered.count(), 1);
  QCOMPARE(played.takeFirst().at(0).value<std::string>(), std::string("ma"));
  menu.RunDefault(Qt::NoModifier);
  QCOMPARE(opened.count(), 1);
  QVERIFY(!menu.TakeDefaultClick(first, Qt::NoModifier));
  QVERIFY(url->isChecked());
  QVERIFY(!first->isChecked());
  // A Ctrl-click only makes it the default, in the registry as well, so the
  // registry window shows it.
  first->trigger();
  QVERIFY(menu.TakeDefaultClick(first, Qt::ControlModifier));
  menu.Run(url, Qt::ControlModifier);  // Ctrl only chooses: nothing opens
  menu.Run(first, Qt::ControlModifier);
  QCOMPARE(opened.count(), 1);
  QVERIFY(first->isChecked() && !url->isChecked());
  QCOMPARE(registry.Default, 1);
  QCOMPARE(menu.DefaultItem(), first);
  auto* window = new TFormKeyCode(Settings(), registry, main_.get());
  QCOMPARE(Column(window->ListView(), TFormKeyCode::kMarker), (QStringList{"", " *", ""}));
  window->close();
}

// ---- function keys ----------------------------------------------------------------

namespace {

// A window with an address box and a tab area holding one focusable page,
// and a window shortcut on F3 that must fire only outside the tab area.
struct KeyRig : FunctionKeyHost {
  QMainWindow window;
  QMenu menu;
  QLineEdit* address = new QLineEdit;
  QTabWidget* tabs = new QTabWidget;
  QLineEdit* page = new QLineEdit;
  int shortcut_fired = 0;
  std::vector<std::string> played;
  KeyFuncRegistry registry;
  std::unique_ptr<FunctionKeyController> controller;

  KeyRig() {
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(address);
    layout->addWidget(tabs);
    tabs->addTab(page, "page");
    window.setCentralWidget(central);
    window.resize(600, 400);
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F3), &window);
    QObject::connect(shortcut, &QShortcut::activated, [this] { ++shortcut_fired; });
    controller = std::make_unique<FunctionKeyController>(*this, registry, &menu);
  }
  QWidget* FunctionKeyArea() const override { return tabs->count() > 0 ? tabs : nullptr; }
  std::string AddressText() const override { return QStringToSjis(address->text()); }
  void PlayFunctionKeyMacro(const std::string& macro) override { played.push_back(macro); }
  void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
  }
};

}  // namespace

void KeyRegistriesTest::directKeyPlaysTheEntryForTheAddress() {
  KeyRig rig;
  const std::string x = "http://chart.example/applet?c=1";
  rig.registry.KeyFuncList[2] = {{"A", "*" + x}, {"B", "http://chart.example/"}, {"C", ""}};
  rig.registry.KeyFuncList[1] = {{"F2", "http://chart.example/"}};
  QVERIFY(ShowActive(&rig.window));
  rig.page->setFocus();

  const std::pair<std::string, std::string> cases[] = {
      {x, "A"}, {"http://chart.example/other", "B"}, {"http://elsewhere/", "C"}, {x + "/more", "B"}};
  for (const auto& [address, macro] : cases) {
    rig.address->setText(QString::fromStdString(address));
    rig.played.clear();
    rig.Press(Qt::Key_F3);
    QCOMPARE(rig.played, std::vector<std::string>{macro});
  }
  QCOMPARE(rig.shortcut_fired, 0);
  QVERIFY(rig.page->text().isEmpty());

  // Modifiers are not looked at; no matching entry plays nothing, and the
  // key is still taken.
  rig.played.clear();
  rig.Press(Qt::Key_F2, Qt::ControlModifier);
  QCOMPARE(rig.played, std::vector<std::string>{"F2"});
  rig.address->setText("http://elsewhere/");
  rig.Press(Qt::Key_F2, Qt::ShiftModifier);
  QCOMPARE(rig.played.size(), size_t(1));
  // A save in the registry window changes what the next key plays.
  rig.registry.KeyFuncList[2] = {{"new", ""}};
  rig.played.clear();
  rig.Press(Qt::Key_F3);
  QCOMPARE(rig.played, std::vector<std::string>{"new"});
}

void KeyRegistriesTest::functionKeysOutsideTheTabAreaAreLeftAlone() {
  KeyRig rig;
  rig.registry.KeyFuncList[2] = {{"C", ""}};
  QVERIFY(ShowActive(&rig.window));
  rig.address->setFocus();
  rig.Press(Qt::Key_F3);
  QVERIFY(rig.played.empty());
  QCOMPARE(rig.shortcut_fired, 1);
  // Inside, the window's own shortcut never sees it.
  rig.page->setFocus();
  rig.Press(Qt::Key_F3);
  QCOMPARE(rig.played.size(), size_t(1));
  QCOMPARE(rig.shortcut_fired, 1);
  // Without a tab there is nothing to play into.
  rig.tabs->removeTab(0);
  rig.tabs->setFocus();
  rig.Press(Qt::Key_F3);
  QCOMPARE(rig.played.size(), size_t(1));
  delete rig.page;
}

void KeyRegistriesTest::selectKeyMenuListsNamesAndPlaysTheChosenOne() {
  KeyRig rig;
  rig.registry.KeyFuncKind[4] = kKeyFuncSelect;
  rig.registry.KeyFuncList[4] = {{"m-chart", S("チャート")}, {"m-a&b", "A&B"}};
  rig.registry.KeyFuncKind[5] = kKeyFuncSelect;
  QVERIFY(ShowActive(&rig.window));
  rig.page->setFocus();

  // An empty select key shows nothing.
  rig.Press(Qt::Key_F6);
  QVERIFY(!rig.controller->PopupMenuFunc()->isVisible());

  rig.Press(Qt::Key_F5);
  QMenu* menu = rig.controller->PopupMenuFunc();
  QTRY_VERIFY(menu->isVisible());
  QCOMPARE(menu->actions().size(), 2);
  QCOMPARE(menu->actions()[0]->text(), QString("チャート"));
  QCOMPARE(menu->actions()[1]->text(), QString("A&&B"));
  const QRect frame = rig.window.frameGeometry();
  QCOMPARE(menu->pos(), QPoint(frame.left() + rig.tabs->mapTo(&rig.window, QPoint()).x() + 9, frame.top() + 75));
  QVERIFY(rig.played.empty());
  QTest::keyClick(menu, Qt::Key_Down);
  QTest::keyClick(menu, Qt::Key_Down);
  QTest::keyClick(menu, Qt::Key_Return);
  QTRY_COMPARE(rig.played, std::vector<std::string>{"m-a&b"});
  QTRY_VERIFY(!menu->isVisible());
  // The second press rebuilds the menu rather than adding to it.
  rig.Press(Qt::Key_F5);
  QTRY_VERIFY(menu->isVisible());
  QCOMPARE(menu->actions().size(), 2);
  QTest::keyClick(menu, Qt::Key_Escape);
}

QTEST_MAIN(KeyRegistriesTest)
#include "key_registries_test.moc"
