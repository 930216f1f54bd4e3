// Key macros played into real pages of the main window's tabs, and the key
// forwarding that lets navigation keys and the clipboard shortcuts reach a
// page: what the page receives, what it submits, and what happens to the
// user's clipboard.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QShortcut>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "codes/code_list_controller.h"
#include "codes/code_tree_view.h"
#include "core/bookmarks/url_bookmark.h"
#include "keymacro/key_macro_controller.h"
#include "platform/web_browser.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/local_http_server.h"
#include "support/page_script.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"
#include "support/window_fixture.h"
#include "support/window_options.h"
#include "tabs/address_box.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"

using namespace sorvi;
using sorvi::testing::ChangeOptions;
using sorvi::testing::Find;
using sorvi::testing::Js;
using sorvi::testing::LocalHttpServer;
using sorvi::testing::ScratchDir;
using sorvi::testing::Sjis;
using sorvi::testing::WindowFixture;

namespace {

constexpr int kTimeout = sorvi::testing::kWaitTimeoutMs;

}  // namespace

class KeyMacroTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanupTestCase();

  void codeAndEnterSubmitTheForm();
  void consecutivePastesArriveInOrder();
  void editingKeysWorkInAField();
  void tabAndShiftTabMoveBetweenFields();
  void codeWithoutSelectionPastesNothing();
  void clipboardComesBackExactly();
  void escCancelsAWait();
  void tabToTheViewIsForwardedToThePage();
  void enterToTheViewSubmitsTheForm();
  void ctrlVIsForwardedButPlainCIsNot();
  void nothingIsForwardedWhileThePageLoads();
  void windowShortcutsDoNotTakeThePageKeys();
  void idleStepPlaysOnlyForTheActiveTab();
  void idleStepBringsTheWindowToTheFront();
  void bookmarkKeyMacroTypesTheSelectedCode();
  // Closes the window: last.
  void closingTheWindowEndsAWait();

 private:
  // Opens `path` of the server in a new tab and waits until it has loaded
  // (or, with `wait_for_load` false, until its fields exist) and the first
  // field has the focus.
  WebBrowser* OpenForm(const QByteArray& path = "/form.html", bool wait_for_load = true);
  QString Value(WebBrowser* browser, const char* id);
  QStringList Log(WebBrowser* browser);
  // The engine's view around the input widget: keys sent to it rather than
  // to the input widget reach the page only through the forwarding.
  static QWidget* View(WebBrowser* browser);
  static void SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text);
  bool WaitForChart();
  // Runs a real event loop, so that the idle hook gets its turns.

  std::unique_ptr<WindowFixture> f_;
};

void KeyMacroTest::initTestCase() {
  f_ = std::make_unique<WindowFixture>();
  f_->ServeFile("/form.html", "form.html");
  f_->ServeFile("/slow.html", "form.html");
  f_->server.Serve("/chart", "<html><head><title>Chart</title></head><body>chart</body></html>");
  f_->server.Serve("/slow.png", "", "image/png");

  // The shortest pauses the options dialog allows keep the tests quick.
  ChangeOptions(*f_->form, [](AppOptions& o) {
    o.IntervalPaste = 100;
    o.IntervalDefault = 100;
  });
  f_->form->show();
  f_->form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f_->form.get()));
}

void KeyMacroTest::init() {
  sorvi::testing::FailOnUnexpectedWarnings();
  while (f_->form->Subsystems().tabs->HasTabs()) f_->form->Subsystems().tabs->CloseActiveTab();
  QTest::qWait(0);
  f_->server.ClearRequests();
  if (QApplication::activeWindow() != f_->form.get()) {
    f_->form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f_->form.get()));
  }
}

void KeyMacroTest::cleanupTestCase() { f_.reset(); }

WebBrowser* KeyMacroTest::OpenForm(const QByteArray& path, bool wait_for_load) {
  f_->form->Subsystems().address->Show(QString::fromLatin1(f_->server.Origin() + path));
  f_->form->OpenTypedAddress(Qt::NoModifier);
  // The first web view makes Qt recreate the main window's native window
  // (for texture-based composition), which costs it the activation.
  if (QApplication::activeWindow() != f_->form.get()) {
    f_->form->activateWindow();
    if (!QTest::qWaitForWindowActive(f_->form.get())) return nullptr;
  }
  WebBrowser* browser = f_->form->Subsystems().tabs->ActiveBrowser();
  if (!browser) return nullptr;
  QDeadlineTimer deadline(kTimeout);
  auto ready = [&] {
    if (wait_for_load && browser->Busy()) return false;
    if (!browser->FocusedInputWidget()) return false;
    return Js(browser, "document.getElementById('a') && document.activeElement.id").toString() == "a";
  };
  while (!ready()) {
    if (deadline.hasExpired()) return nullptr;
    QTest::qWait(20);
  }
  return browser;
}

QString KeyMacroTest::Value(WebBrowser* browser, const char* id) {
  return Js(browser, QString("document.getElementById('%1').value").arg(id)).toString();
}

QStringList KeyMacroTest::Log(WebBrowser* browser) { return Js(browser, "log.join(' ')").toString().split(' '); }

QWidget* KeyMacroTest::View(WebBrowser* browser) {
  QWidget* input = browser->InputWidget();
  return input ? input->parentWidget() : nullptr;
}

void KeyMacroTest::SendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QCoreApplication::sendEvent(target, &release);
}

bool KeyMacroTest::WaitForChart() { return f_->server.WaitForRequest("/chart", 1, kTimeout); }

// ---- playing macros ---------------------------------------------------------

void KeyMacroTest::codeAndEnterSubmitTheForm() {
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  QGuiApplication::clipboard()->setText("user text");

  f_->form->Subsystems().macros->PlayKeyMacro("1234\\r");

  QVERIFY(WaitForChart());
  QCOMPARE(f_->server.RequestsFor("/chart").value(0).query, QByteArray("code=1234&other="));
  QCOMPARE(QGuiApplication::clipboard()->text(), QString("user text"));
  QTRY_VERIFY_WITH_TIMEOUT(browser->LocationURL().endsWith("/chart?code=1234&other="), kTimeout);
}

void KeyMacroTest::consecutivePastesArriveInOrder() {
  // Each paste must be taken by the page before the next one replaces the
  // clipboard, although the page reads it on its own time.
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  // "12", an escaped backslash, then ソ (0x83 0x5C) followed by "x34": its
  // second byte is read as an escape, so 0x83 is pasted alone and "x34"
  // after it.
  f_->form->Subsystems().macros->PlayKeyMacro("12\\\\\x83\x5cx34");
  QCOMPARE(Value(browser, "a"), QString("12\\") + QChar(0xFFFD) + "x34");
  QCOMPARE(Log(browser).count("a:paste"), 4);
}

void KeyMacroTest::editingKeysWorkInAField() {
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  // Left, Backspace and Delete around the cursor, Space, then Home and
  // Shift+End select what is there and a paste replaces it; End and Right
  // keep the caret at the end.
  f_->form->Subsystems().macros->PlayKeyMacro("abc\\L\\b\\d\\sz");
  QCOMPARE(Value(browser, "a"), QString("a z"));
  f_->form->Subsystems().macros->PlayKeyMacro("\\h\\S9876\\h\\R\\e!");
  QCOMPARE(Value(browser, "a"), QString("9876!"));
  // Up and Down reach the page too (the field ignores them). Keys are not
  // paced: the page may still be handling them when the play returns.
  f_->form->Subsystems().macros->PlayKeyMacro("\\U\\D");
  QTRY_VERIFY_WITH_TIMEOUT(Log(browser).contains("a:down:ArrowDown"), kTimeout);
  QVERIFY(Log(browser).contains("a:down:ArrowUp"));
}

void KeyMacroTest::tabAndShiftTabMoveBetweenFields() {
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  f_->form->Subsystems().macros->PlayKeyMacro("1\\t2\\T3");
  // Coming back by Shift+Tab selects the field's text; the paste replaces it.
  QCOMPARE(Value(browser, "a"), QString("3"));
  QCOMPARE(Value(browser, "b"), QString("2"));
  QVERIFY(Log(browser).contains("b:down:Tab"));  // Shift+Tab is a Tab key to the page
}

void KeyMacroTest::codeWithoutSelectionPastesNothing() {
  Find<CodeTreeView>(f_->form.get(), "TreeViewCode")->clearSelection();
  Find<CodeTreeView>(f_->form.get(), "TreeViewCode")->setCurrentIndex(QModelIndex());
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  QGuiApplication::clipboard()->setText("kept");
  f_->form->Subsystems().macros->PlayKeyMacro("\\cX");
  QCOMPARE(Value(browser, "a"), QString("X"));
  QCOMPARE(Log(browser).count("a:paste"), 1);
  QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
}

void KeyMacroTest::clipboardComesBackExactly() {
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  // Characters code page 932 cannot hold, and more formats than text.
  const QString text = QString::fromUtf8("é€한😀");
  const QString html = QString::fromUtf8("<b>é€한😀</b>");
  auto* mine = new QMimeData;
  mine->setText(text);
  mine->setHtml(html);
  QGuiApplication::clipboard()->setMimeData(mine);

  f_->form->Subsystems().macros->PlayKeyMacro("ab\\wcd");
  QCOMPARE(Value(browser, "a"), QString("abcd"));
  const QMimeData* now = QGuiApplication::clipboard()->mimeData();
  QVERIFY(now);
  QCOMPARE(now->text(), text);
  QCOMPARE(now->html(), html);

  // A picture comes back too.
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(Qt::red);
  QGuiApplication::clipboard()->setImage(picture);
  f_->form->Subsystems().macros->PlayKeyMacro("e");
  QCOMPARE(Value(browser, "a"), QString("abcde"));
  QCOMPARE(QGuiApplication::clipboard()->image().pixel(1, 1), picture.pixel(1, 1));
  QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasText());

  // Keys and waits alone leave the clipboard as it is.
  QGuiApplication::clipboard()->setText("mine");
  f_->form->Subsystems().macros->PlayKeyMacro("\\L\\w(30)\\b");
  QTRY_COMPARE_WITH_TIMEOUT(Value(browser, "a"), QString("abce"), kTimeout);
  QCOMPARE(QGuiApplication::clipboard()->text(), QString("mine"));
}

void KeyMacroTest::escCancelsAWait() {
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  QGuiApplication::clipboard()->setText("mine");
  QTimer::singleShot(300, this, [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); });
  QElapsedTimer clock;
  clock.start();
  f_->form->Subsystems().macros->PlayKeyMacro("x\\w(60000)y");
  QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
  QCOMPARE(Value(browser, "a"), QString("x"));
  QCOMPARE(QGuiApplication::clipboard()->text(), QString("mine"));
  QVERIFY(Find<QLabel>(f_->form.get(), "StatusPanel0")->text().contains("中止"));
  // The next play runs in full.
  f_->form->Subsystems().macros->PlayKeyMacro("z");
  QCOMPARE(Value(browser, "a"), QString("xz"));
}

// ---- key forwarding ---------------------------------------------------------

void KeyMacroTest::tabToTheViewIsForwardedToThePage() {
  // The view would take Tab as a focus move of its own; forwarded, the page
  // gets it and moves to its next field.
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  QWidget* view = View(browser);
  QVERIFY(view && view != browser->InputWidget());
  SendKey(view, Qt::Key_Tab, Qt::NoModifier, "\t");
  QTRY_COMPARE_WITH_TIMEOUT(Js(browser, "document.activeElement.id").toString(), QString("b"), kTimeout);
  QVERIFY(browser->FocusedInputWidget());  // the focus stayed in the page
  SendKey(view, Qt::Key_Backtab, Qt::ShiftModifier, QString());
  QTRY_COMPARE_WITH_TIMEOUT(Js(browser, "document.activeElement.id").toString(), QString("a"), kTimeout);
}

void KeyMacroTest::enterToTheViewSubmitsTheForm() {
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  f_->form->Subsystems().macros->PlayKeyMacro("5555");
  // A keypad Enter without text, sent where the page would not see it:
  // forwarded, the field gets the character 13 and submits.
  SendKey(View(browser), Qt::Key_Enter, Qt::KeypadModifier, QString());
  QVERIFY(WaitForChart());
  QCOMPARE(f_->server.RequestsFor("/chart").value(0).query, QByteArray("code=5555&other="));
}

void KeyMacroTest::ctrlVIsForwardedButPlainCIsNot() {
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  QWidget* view = View(browser);
  SendKey(view, Qt::Key_C, Qt::NoModifier, "c");
  QGuiApplication::clipboard()->setText("pasted");
  SendKey(view, Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
  QTRY_COMPARE_WITH_TIMEOUT(Value(browser, "a"), QString("pasted"), kTimeout);
  QVERIFY(!Log(browser).contains("a:down:c"));
}

void KeyMacroTest::nothingIsForwardedWhileThePageLoads() {
  LocalHttpServer::Reply slow;
  slow.content_type = "image/png";
  slow.delay_ms = 2500;
  f_->server.Serve("/slow.png", slow);
  WebBrowser* browser = OpenForm("/slow.html", false);
  f_->server.Serve("/slow.png", "", "image/png");
  QVERIFY(browser);
  QVERIFY(browser->Busy());

  SendKey(View(browser), Qt::Key_Tab, Qt::NoModifier, "\t");
  QTest::qWait(200);
  QCOMPARE(Js(browser, "document.activeElement.id").toString(), QString("a"));
  QVERIFY(!Log(browser).contains("a:down:Tab"));

  QTRY_VERIFY_WITH_TIMEOUT(!browser->Busy(), kTimeout);
  browser->FocusPage();
  QTRY_VERIFY_WITH_TIMEOUT(browser->FocusedInputWidget(), kTimeout);
  SendKey(View(browser), Qt::Key_Tab, Qt::NoModifier, "\t");
  QTRY_COMPARE_WITH_TIMEOUT(Js(browser, "document.activeElement.id").toString(), QString("b"), kTimeout);
}

void KeyMacroTest::windowShortcutsDoNotTakeThePageKeys() {
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  int taken = 0;
  std::vector<std::unique_ptr<QShortcut>> shortcuts;
  for (const QKeySequence& keys : {QKeySequence(Qt::Key_Tab), QKeySequence(Qt::SHIFT | Qt::Key_Backtab),
                                   QKeySequence(Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_V)}) {
    shortcuts.push_back(std::make_unique<QShortcut>(keys, f_->form.get()));
    connect(shortcuts.back().get(), &QShortcut::activated, [&taken] { ++taken; });
  }
  f_->form->Subsystems().macros->PlayKeyMacro("x\\tz\\T\\r");
  QVERIFY(WaitForChart());
  QCOMPARE(f_->server.RequestsFor("/chart").value(0).query, QByteArray("code=x&other=z"));
  QCOMPARE(taken, 0);
}

// ---- the idle step and the whole road ---------------------------------------

void KeyMacroTest::idleStepPlaysOnlyForTheActiveTab() {
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  TabController* tabs = f_->form->Subsystems().tabs;

  BrowserTab* first = tabs->ActiveTab();
  f_->form->Subsystems().macros->HandOver(first, "played");
  QVERIFY(tabs->MacroWaiting());
  f_->form->Subsystems().macros->IdleMacroStep();
  QVERIFY(!f_->form->Subsystems().macros->HasHandOver());
  QVERIFY(!tabs->MacroWaiting());

  // Another tab has come to the front since: the macro is dropped.
  WebBrowser* second = OpenForm();
  QVERIFY(second);
  f_->form->Subsystems().macros->HandOver(first, "lost");
  f_->form->Subsystems().macros->IdleMacroStep();
  QVERIFY(!f_->form->Subsystems().macros->HasHandOver());
  QVERIFY(!tabs->MacroWaiting());
  QCOMPARE(Value(second, "a"), QString());
  QCOMPARE(Value(browser, "a"), QString("played"));
}

void KeyMacroTest::idleStepBringsTheWindowToTheFront() {
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  QWidget other;
  other.resize(200, 100);
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));

  f_->form->Subsystems().macros->HandOver(f_->form->Subsystems().tabs->ActiveTab(), "front");
  f_->form->Subsystems().macros->IdleMacroStep();
  QCOMPARE(QApplication::activeWindow(), f_->form.get());
  QCOMPARE(Value(browser, "a"), QString("front"));
}

void KeyMacroTest::bookmarkKeyMacroTypesTheSelectedCode() {
  CodeListController& codes = *f_->form->Subsystems().codes;
  const std::optional<NodePos> stock = codes.InsertNode(
      codes.InsertNode(std::nullopt, true, Sjis("[水産]").toStdString()), false, Sjis("1301 極洋").toStdString());
  Find<CodeTreeView>(f_->form.get(), "TreeViewCode")->RevealNode(*stock);

  UrlBookmark bookmark;
  bookmark.name = "chart";
  bookmark.url_macro = (f_->server.Origin() + "/form.html").toStdString();
  bookmark.key_macro = "\\c\\r";
  bookmark.key_macro_state = 1;
  f_->form->Subsystems().bookmarks->Append(bookmark);
  UrlListView* list = Find<UrlListView>(f_->form.get(), "ListViewURL");
  list->setCurrentItem(list->topLevelItem(list->topLevelItemCount() - 1));
  // The page focuses its field itself, as chart pages do; the tab gives the
  // page the keyboard focus; at the first idle moment after the load the
  // macro is played.
  f_->form->Subsystems().bookmarks->OpenSelectedBookmark(Qt::NoModifier);

  // The idle step runs only when the event loop is about to wait, which
  // QTest::qWait never does.
  QVERIFY(sorvi::testing::WaitUntil([this] { return f_->server.Count("/chart") > 0; }));
  QCOMPARE(f_->server.RequestsFor("/chart").value(0).query, QByteArray("code=1301&other="));
  WebBrowser* browser = f_->form->Subsystems().tabs->ActiveBrowser();
  QVERIFY(browser);
  QTRY_VERIFY_WITH_TIMEOUT(browser->LocationURL().endsWith("/chart?code=1301&other="), kTimeout);
  QVERIFY(!f_->form->Subsystems().tabs->MacroWaiting());
}

void KeyMacroTest::closingTheWindowEndsAWait() {
  // With the window gone the program must be able to end: the play may not
  // hold the event loop for the rest of its wait, nor type anything more.
  WebBrowser* browser = OpenForm();
  QVERIFY(browser);
  QGuiApplication::clipboard()->setText("mine");
  QTimer::singleShot(300, f_->form.get(), [this] { f_->form->close(); });
  QElapsedTimer clock;
  clock.start();
  f_->form->Subsystems().macros->PlayKeyMacro("\\w(60000)late");
  QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
  QVERIFY(!f_->form->isVisible());
  QCOMPARE(QGuiApplication::clipboard()->text(), QString("mine"));
  QCOMPARE(Value(browser, "a"), QString());
}

int main(int argc, char* argv[]) {
  PrepareWebEngineBeforeQApplication();
  QApplication app(argc, argv);
  KeyMacroTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "key_macro_test.moc"
