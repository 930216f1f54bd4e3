// Tabs opened from the address box against a local HTTP server: new tab or
// current tab, captions, the toolbar following the active tab, the order in
// which closed tabs hand over, a page closing its window, the load key
// macro's hand-over and the address history.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "keymacro/key_macro_controller.h"
#include "platform/cp932.h"
#include "platform/web_browser.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/local_http_server.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"
#include "support/window_fixture.h"
#include "support/window_options.h"
#include "tabs/address_box.h"
#include "tabs/browser_tab.h"
#include "tabs/hidden_tab_keeper.h"
#include "tabs/open_request.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_sleeper.h"
#include "tabs/tab_stack.h"

using namespace sorvi;
using sorvi::testing::ChangeOptions;
using sorvi::testing::Find;
using sorvi::testing::LocalHttpServer;
using sorvi::testing::Page;
using sorvi::testing::ScratchDir;
using sorvi::testing::Sjis;
using sorvi::testing::Spin;
using sorvi::testing::WaitUntil;

namespace {

constexpr int kTimeout = sorvi::testing::kWaitTimeoutMs;
constexpr int kSleepMs = 300;

struct Fixture : sorvi::testing::WindowFixture {
  Fixture() : WindowFixture({"a", "b", "c", "d", "p1", "p2", "final"}) {}
};

}  // namespace

class TabsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void engineStartsOnlyWithTheFirstTab();
  void newTabOrCurrentTabAndShiftInvertsTheMode();
  void fixedCaptionSurvivesTitlesUntilReusedWithoutOne();
  void addressLikeTitlesAreShortened();
  void backForwardFollowHistoryAndTabSwitches();
  void notificationsOfBackgroundTabsAreIgnored();
  void closingHandsOverInTheDocumentedOrders();
  void closingTheLastTabDisablesTheTabControls();
  void pageClosingItsWindowInTheBackgroundClosesThatTab();
  void loadKeyMacroIsHandedOverOnlyAtItsAddress();
  void tabSwitchesAreRefusedWhileAMacroWaits();
  void historyRuleOnTheAddressBox();
  void emptyAddressChangesNothing();
  void enterAndDoubleClickOnTheAddressBox();
  void hiddenViewsAreNotReleasedWhileAMacroPlays();
  void hiddenTabSleepsAndWakesWhereItWas();
  void emptyPageAreaSaysWhatToDoWhileNoTabIsOpen();
};

void TabsTest::engineStartsOnlyWithTheFirstTab() {
  Fixture f;
  QVERIFY(!WebEngine::IsStarted());
  QCOMPARE(f.Count(), 0);
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));

  f.Open("/a.html");
  QVERIFY(WebEngine::IsStarted());
  QCOMPARE(WebEngine::StoragePath(), f.dir.Path() + "WebData");
  QCOMPARE(f.Count(), 1);
  QCOMPARE(f.Caption(0), QString("Loading..."));
  BrowserTab* record = f.tabs->TabAt(0);
  QCOMPARE(record->Family(), 1);
  QCOMPARE(record->ReturnIndex(), -1);
  QVERIFY(!record->HasFixedCaption());
  // The first web view must not leave the user's window inactive.
  QVERIFY(WaitUntil([&] { return f.form->isActiveWindow(); }));
  QVERIFY(record->Browser()->FillsParent());
  QCOMPARE(record->Browser()->parentWidget(), f.tabs->TabAt(0));
  QCOMPARE(f.tabs->ActiveTab(), f.tabs->TabAt(0));
  QCOMPARE(f.tabs->ActiveBrowser(), record->Browser());
  for (QToolButton* button :
       {Find<QToolButton>(f.form.get(), "SpeedButtonOption"), Find<QToolButton>(f.form.get(), "ToolButtonLock"),
        Find<QToolButton>(f.form.get(), "ToolButtonRefresh"), Find<QToolButton>(f.form.get(), "ToolButtonClose"),
        Find<QToolButton>(f.form.get(), "ToolButtonPrint")})
    QVERIFY2(button->isEnabled(), qPrintable(button->toolTip()));
  QVERIFY(f.WaitLoaded(0, "Page a"));
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->currentText(), f.Url("/a.html"));
  QVERIFY(!Find<QToolButton>(f.form.get(), "ToolButtonStop")->isEnabled());
}

void TabsTest::newTabOrCurrentTabAndShiftInvertsTheMode() {
  Fixture f;
  ChangeOptions(*f.form, [](AppOptions& o) { o.Silent = true; });
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(f.OpenAndWait("/b.html", "Page b"));
  QCOMPARE(f.Count(), 2);
  QCOMPARE(f.Active(), 1);
  QCOMPARE(f.tabs->TabAt(1)->ReturnIndex(), 0);
  QCOMPARE(f.tabs->TabAt(1)->Family(), 2);
  QVERIFY(f.tabs->TabAt(1)->Browser()->Silent());

  // "新規" with Shift: the active tab gets the page.
  WebBrowser* b = f.tabs->TabAt(1)->Browser();
  f.Open("/c.html", true);
  QCOMPARE(f.Count(), 2);
  QCOMPARE(f.Caption(1), QString("Loading..."));
  QVERIFY(f.WaitLoaded(1, "Page c"));
  QCOMPARE(f.tabs->TabAt(1)->Browser(), b);
  QCOMPARE(f.tabs->TabAt(1)->Family(), 2);

  // "上書": the active tab without Shift, a new tab with it.
  Find<QAction>(f.form.get(), "PopupMenuNavigate2")->trigger();
  QVERIFY(f.OpenAndWait("/d.html", "Page d"));
  QCOMPARE(f.Count(), 2);
  QVERIFY(f.OpenAndWait("/a.html", "Page a", true));
  QCOMPARE(f.Count(), 3);
  QCOMPARE(f.Active(), 2);
  QCOMPARE(f.tabs->TabAt(2)->Family(), 3);
}

void TabsTest::fixedCaptionSurvivesTitlesUntilReusedWithoutOne() {
  Fixture f;
  OpenRequest request = f.Request("/a.html");
  request.caption = Sjis("トヨタ 日足");
  f.form->OpenPage(request);
  QCOMPARE(f.Caption(0), QString("トヨタ 日足"));
  QVERIFY(f.tabs->TabAt(0)->HasFixedCaption());
  QVERIFY(WaitUntil([&] {
    return !f.tabs->TabAt(0)->Browser()->Busy() && f.tabs->TabAt(0)->Browser()->LocationURL() == f.Url("/a.html");
  }));
  f.tabs->TabAt(0)->Browser()->RunJavaScript("document.title = 'changed by script'");
  Spin(300);
  QCOMPARE(f.Caption(0), QString("トヨタ 日足"));

  // The same tab again without a caption: back to the page's titles.
  f.Open("/b.html", true);
  QCOMPARE(f.Caption(0), QString("Loading..."));
  QVERIFY(!f.tabs->TabAt(0)->HasFixedCaption());
  QVERIFY(f.WaitLoaded(0, "Page b"));
  QCOMPARE(f.Count(), 1);
}

void TabsTest::addressLikeTitlesAreShortened() {
  Fixture f;
  const QByteArray http44 = "http://example.com/" + QByteArray(25, 'x');  // 44 bytes
  const QByteArray http40 = "http://example.com/" + QByteArray(21, 'y');  // 40 bytes
  const QByteArray upper44 = "HTTP://example.com/" + QByteArray(25, 'z');
  f.server.Serve("/t44.html", Page(http44));
  f.server.Serve("/t40.html", Page(http40));
  f.server.Serve("/upper.html", Page(upper44));
  // "file" and 34 double-byte characters in UTF-8: the 36-byte cut of its
  // code page 932 form would split a character.
  const QString kana = QString("file") + QString(34, QChar(0x30A2));
  f.server.Serve("/kana.html", Page(kana.toUtf8()));
  // Hangul has no code page 932 form; a title that is not cut keeps it.
  f.server.Serve("/hangul.html", Page(QString("한국 차트").toUtf8()));

  QVERIFY(f.OpenAndWait("/t44.html", QString::fromLatin1(http44.left(36) + " ...")));
  QVERIFY(f.OpenAndWait("/t40.html", QString::fromLatin1(http40), true));
  QVERIFY(f.OpenAndWait("/upper.html", QString::fromLatin1(upper44), true));
  QVERIFY(f.OpenAndWait("/kana.html", QString("file") + QString(16, QChar(0x30A2)) + " ...", true));
  QVERIFY(f.OpenAndWait("/hangul.html", QString("한국 차트"), true));
}

void TabsTest::backForwardFollowHistoryAndTabSwitches() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/p1.html", "Page p1"));
  QVERIFY(!Find<QToolButton>(f.form.get(), "ToolButtonGoBack")->isEnabled());
  QVERIFY(f.OpenAndWait("/p2.html", "Page p2", true));
  QVERIFY(WaitUntil([&] { return Find<QToolButton>(f.form.get(), "ToolButtonGoBack")->isEnabled(); }));
  QVERIFY(!Find<QToolButton>(f.form.get(), "ToolButtonGoFoward")->isEnabled());

  Find<QToolButton>(f.form.get(), "ToolButtonGoBack")->click();
  QVERIFY(f.WaitLoaded(0, "Page p1"));
  QVERIFY(WaitUntil([&] {
    return Find<QToolButton>(f.form.get(), "ToolButtonGoFoward")->isEnabled() &&
           !Find<QToolButton>(f.form.get(), "ToolButtonGoBack")->isEnabled();
  }));
  QVERIFY(f.tabs->TabAt(0)->CanGoForward());

  // A new tab has no history.
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(!Find<QToolButton>(f.form.get(), "ToolButtonGoBack")->isEnabled());
  QVERIFY(!Find<QToolButton>(f.form.get(), "ToolButtonGoFoward")->isEnabled());

  // Back to the first tab: its saved states and address come back, and it
  // remembers where the user came from.
  Find<QProgressBar>(f.form.get(), "ProgressBar")->show();
  Find<QLabel>(f.form.get(), "StatusPanel0")->setText("left over");
  f.ClickTab(0);
  QCOMPARE(f.Active(), 0);
  QVERIFY(Find<QToolButton>(f.form.get(), "ToolButtonGoFoward")->isEnabled());
  QVERIFY(!Find<QToolButton>(f.form.get(), "ToolButtonGoBack")->isEnabled());
  QVERIFY(!Find<QToolButton>(f.form.get(), "ToolButtonStop")->isEnabled());
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->currentText(), f.Url("/p1.html"));
  QCOMPARE(f.tabs->TabAt(0)->ReturnIndex(), 1);
  QCOMPARE(f.tabs->PreviousTabIndex(), 1);
  QVERIFY(Find<QProgressBar>(f.form.get(), "ProgressBar")->isHidden());
  QCOMPARE(Find<QLabel>(f.form.get(), "StatusPanel0")->text(), QString());

  f.ClickTab(1);
  QVERIFY(!Find<QToolButton>(f.form.get(), "ToolButtonGoFoward")->isEnabled());
  QVERIFY(!Find<QToolButton>(f.form.get(), "ToolButtonGoBack")->isEnabled());
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->currentText(), f.Url("/a.html"));
  QCOMPARE(f.tabs->TabAt(1)->ReturnIndex(), 0);

  f.ClickTab(0);
  Find<QToolButton>(f.form.get(), "ToolButtonGoFoward")->click();
  QVERIFY(f.WaitLoaded(0, "Page p2"));
}

void TabsTest::notificationsOfBackgroundTabsAreIgnored() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(f.OpenAndWait("/b.html", "Page b"));
  WebBrowser* background = f.tabs->TabAt(0)->Browser();
  WebBrowser* active = f.tabs->TabAt(1)->Browser();

  emit background->StatusTextChange(background, "hidden link");
  emit background->ProgressChange(background, 50, 100);
  emit background->CommandStateChange(background, WebBrowser::kCommandBack, true);
  QCOMPARE(Find<QLabel>(f.form.get(), "StatusPanel0")->text(), QString());
  QVERIFY(Find<QProgressBar>(f.form.get(), "ProgressBar")->isHidden());
  QVERIFY(!Find<QToolButton>(f.form.get(), "ToolButtonGoBack")->isEnabled());
  // The hidden tab keeps what its page said, for when it is shown.
  QVERIFY(f.tabs->TabAt(0)->CanGoBack());

  emit active->StatusTextChange(active, "shown link");
  QCOMPARE(Find<QLabel>(f.form.get(), "StatusPanel0")->text(), QString("shown link"));
  emit active->ProgressChange(active, 30, 60);
  QVERIFY(Find<QProgressBar>(f.form.get(), "ProgressBar")->isVisible());
  QCOMPARE(Find<QProgressBar>(f.form.get(), "ProgressBar")->value(), 50);
  emit active->ProgressChange(active, 10, 0);
  QCOMPARE(Find<QProgressBar>(f.form.get(), "ProgressBar")->value(), 50);
  emit active->ProgressChange(active, -1, 100);
  QVERIFY(Find<QProgressBar>(f.form.get(), "ProgressBar")->isHidden());

  // Titles reach every tab; quick changes are gathered, and the last one
  // shows without anyone asking for it.
  emit background->TitleChange(background, "renamed");
  QCOMPARE(f.Caption(0), QString("renamed"));
  for (const char* title : {"one", "two", "three"}) emit background->TitleChange(background, title);
  QTRY_COMPARE(f.Bar()->tabText(0), QString("three"));
}

void TabsTest::closingHandsOverInTheDocumentedOrders() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(f.OpenAndWait("/b.html", "Page b"));
  QVERIFY(f.OpenAndWait("/c.html", "Page c"));
  // C came from A: closing C goes back to A.
  f.ClickTab(0);
  f.ClickTab(2);
  QCOMPARE(f.tabs->TabAt(2)->ReturnIndex(), 0);
  QPointer<WebBrowser> closed_browser = f.tabs->TabAt(2)->Browser();
  Find<QToolButton>(f.form.get(), "ToolButtonClose")->click();
  QVERIFY(closed_browser.isNull());
  QCOMPARE(f.Count(), 2);
  QCOMPARE(f.Active(), 0);
  QCOMPARE(f.Caption(0), QString("Page a"));
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->currentText(), f.Url("/a.html"));
  QVERIFY(Find<QFrame>(f.form.get(), "PanelCover")->isHidden());

  // A, B, C again; B (index 1) returns to index 2, which is the tab that
  // followed it and is at index 1 afterwards.
  QVERIFY(f.OpenAndWait("/c.html", "Page c"));
  f.ClickTab(1);
  f.ClickTab(2);
  f.ClickTab(1);
  QCOMPARE(f.tabs->TabAt(1)->ReturnIndex(), 2);
  QCOMPARE(f.tabs->TabAt(2)->ReturnIndex(), 1);
  const int a_return = f.tabs->TabAt(0)->ReturnIndex();
  f.tabs->CloseActiveTab();
  QCOMPARE(f.Count(), 2);
  QCOMPARE(f.Active(), 1);
  QCOMPARE(f.Caption(1), QString("Page c"));
  // Return indexes from the closed position on moved down with the tabs.
  QCOMPARE(f.tabs->TabAt(1)->ReturnIndex(), 0);
  QCOMPARE(f.tabs->TabAt(0)->ReturnIndex(), a_return);

  // No tab to return to: the first remaining tab.
  f.tabs->TabAt(1)->SetReturnIndex(-1);
  f.tabs->CloseActiveTab();
  QCOMPARE(f.Count(), 1);
  QCOMPARE(f.Active(), 0);
  QCOMPARE(f.Caption(0), QString("Page a"));
}

void TabsTest::closingTheLastTabDisablesTheTabControls() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  Find<QAction>(f.form.get(), "PopupMenuTabReload15")->trigger();
  QVERIFY(Find<QTimer>(f.form.get(), "Timer")->isActive());
  Find<QToolButton>(f.form.get(), "ToolButtonClose")->click();
  QCOMPARE(f.Count(), 0);
  QVERIFY(!Find<QTimer>(f.form.get(), "Timer")->isActive());
  for (QToolButton* button :
       {Find<QToolButton>(f.form.get(), "SpeedButtonOption"), Find<QToolButton>(f.form.get(), "ToolButtonLock"),
        Find<QToolButton>(f.form.get(), "ToolButtonRefresh"), Find<QToolButton>(f.form.get(), "ToolButtonClose"),
        Find<QToolButton>(f.form.get(), "ToolButtonPrint")})
    QVERIFY2(!button->isEnabled(), qPrintable(button->toolTip()));
  f.tabs->CloseActiveTab();  // nothing left: nothing happens
  f.tabs->ReloadActive();

  // "上書" without any tab still makes one.
  Find<QAction>(f.form.get(), "PopupMenuNavigate2")->trigger();
  QVERIFY(f.OpenAndWait("/b.html", "Page b"));
  QCOMPARE(f.Count(), 1);
  QCOMPARE(f.tabs->TabAt(0)->Family(), 2);
  QVERIFY(Find<QToolButton>(f.form.get(), "ToolButtonClose")->isEnabled());
}

void TabsTest::pageClosingItsWindowInTheBackgroundClosesThatTab() {
  Fixture f;
  f.server.Serve("/opener.html", Page("Opener", "<script>window.child = window.open('/p1.html');</script>"));
  QVERIFY(f.OpenAndWait("/opener.html", "Opener"));
  QVERIFY(WaitUntil([&] { return f.Count() == 2 && f.Loaded(1, "Page p1"); }));
  QCOMPARE(f.Active(), 1);
  WebBrowser* opener = f.tabs->TabAt(0)->Browser();

  f.ClickTab(0);  // the user looks at the opener again
  QCOMPARE(f.Active(), 0);
  QPointer<WebBrowser> popup = f.tabs->TabAt(1)->Browser();
  opener->RunJavaScript("window.child.close()");
  QVERIFY(WaitUntil([&] { return f.Count() == 1; }));
  QVERIFY(popup.isNull());
  QCOMPARE(f.Caption(0), QString("Opener"));
  QCOMPARE(f.Active(), 0);
}

void TabsTest::loadKeyMacroIsHandedOverOnlyAtItsAddress() {
  Fixture f;
  f.server.Redirect("/redir", "/final.html");
  const std::string macro = "\\w(10)";

  // Seen at the moment the page reports its end, before any idle step.
  BrowserTab* handed_tab = nullptr;
  std::string handed_text;
  int handovers = 0;
  int completions = 0;
  QObject::connect(f.tabs, &TabController::LoadKeyMacroReady, f.form.get(),
                   [&](BrowserTab* tab, const std::string& text) {
                     ++handovers;
                     handed_tab = tab;
                     handed_text = text;
                   });
  auto watch = [&](WebBrowser* browser) {
    QObject::connect(browser, &WebBrowser::DownloadComplete, f.form.get(), [&](WebBrowser*) { ++completions; });
  };

  OpenRequest request = f.Request("/a.html");
  request.key_macro = macro;
  f.form->OpenPage(request);
  watch(f.tabs->TabAt(0)->Browser());
  QVERIFY(WaitUntil([&] { return completions > 0; }));
  QCOMPARE(handed_tab, f.tabs->TabAt(0));
  QCOMPARE(handed_text, macro);
  QCOMPARE(handovers, 1);
  // The idle step plays it and empties the slot; the tab is free again.
  QVERIFY(WaitUntil([&] { return !f.form->Subsystems().macros->HasHandOver() && !f.tabs->MacroWaiting(); }));

  // A redirect ends elsewhere: the macro keeps waiting in its tab.
  request = f.Request("/redir");
  request.key_macro = macro;
  request.shift = true;
  handed_tab = nullptr;
  completions = 0;
  f.form->OpenPage(request);
  QVERIFY(WaitUntil([&] { return completions > 0; }));
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->currentText(), f.Url("/final.html"));
  QCOMPARE(handed_tab, nullptr);
  QCOMPARE(handovers, 1);

  // Once a load ends at exactly that address, it is handed over.
  f.server.Serve("/redir", Page("No longer moved"));
  completions = 0;
  f.tabs->TabAt(0)->Browser()->RunJavaScript("location.href = '/redir'");
  QVERIFY(WaitUntil([&] { return completions > 0; }));
  QCOMPARE(handed_tab, f.tabs->TabAt(0));
  QCOMPARE(handed_text, macro);
}

void TabsTest::tabSwitchesAreRefusedWhileAMacroWaits() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(f.OpenAndWait("/b.html", "Page b"));
  f.form->Subsystems().macros->HandOver(f.tabs->ActiveTab(), "x");

  f.ClickTab(0);
  QCOMPARE(f.Active(), 1);
  Find<TabStack>(f.form.get(), "PageControl")->setCurrentIndex(0);  // as the keyboard would
  QCOMPARE(f.Active(), 1);
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->currentText(), f.Url("/b.html"));
  QTest::mousePress(f.Bar(), Qt::RightButton, {}, f.Bar()->tabRect(0).center());
  QTest::mouseRelease(f.Bar(), Qt::RightButton, {}, f.Bar()->tabRect(0).center());
  QCOMPARE(f.Count(), 2);
  QCOMPARE(f.Active(), 1);

  f.tabs->SetMacroWaiting(nullptr);
  f.ClickTab(0);
  QCOMPARE(f.Active(), 0);
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->currentText(), f.Url("/a.html"));
}

void TabsTest::historyRuleOnTheAddressBox() {
  ScratchDir dir;
  TFormMain form(dir.Path());
  QComboBox* box = Find<QComboBox>(&form, "ComboBoxURL");
  auto remember = [&](const QString& text) { form.Subsystems().address->Remember(QStringToSjis(text), text); };
  for (int i = 1; i <= 20; ++i) {
    remember(QString("http://host/%1").arg(i));
  }
  QCOMPARE(box->count(), 20);
  QCOMPARE(box->itemText(0), QString("http://host/20"));
  QCOMPARE(box->itemText(19), QString("http://host/1"));

  // A known address in other letters moves up, written as typed now.
  remember("HTTP://HOST/5");
  QCOMPARE(box->count(), 20);
  QCOMPARE(box->itemText(0), QString("HTTP://HOST/5"));
  QCOMPARE(box->currentIndex(), 0);
  QCOMPARE(box->currentText(), QString("HTTP://HOST/5"));
  for (int i = 0; i < box->count(); ++i) QVERIFY(box->itemText(i) != QString("http://host/5"));
  QCOMPARE(box->itemText(1), QString("http://host/20"));

  // The twenty-first distinct address drops the oldest; the text stays.
  remember("http://host/new");
  QCOMPARE(box->count(), 20);
  QCOMPARE(box->itemText(0), QString("http://host/new"));
  QCOMPARE(box->itemText(19), QString("http://host/2"));
  QCOMPARE(box->currentText(), QString("http://host/new"));

  // Text code page 932 cannot hold is kept as it is, in the box and in
  // entries that other additions shift.
  remember("http://host/한");
  remember("http://host/株価");
  QCOMPARE(box->itemText(0), QString("http://host/株価"));
  QCOMPARE(box->itemText(1), QString("http://host/한"));
  QCOMPARE(box->count(), 20);
}

void TabsTest::emptyAddressChangesNothing() {
  Fixture f;
  f.form->Subsystems().address->Show(QString());
  f.form->OpenTypedAddress(Qt::NoModifier);
  OpenRequest request;
  request.caption = "cap";
  request.key_macro = "\\w(1)";
  f.form->OpenPage(request);
  QCOMPARE(f.Count(), 0);
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->count(), 0);
  QVERIFY(!WebEngine::IsStarted());

  // Nothing of it is left for the next navigation, which enters the history.
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QComboBox* box = Find<QComboBox>(f.form.get(), "ComboBoxURL");
  QCOMPARE(box->itemText(0), f.Url("/a.html"));
  // The history keeps what a request opens, whatever the box shows.
  box->setEditText(f.Url("/b.html"));
  OpenRequest typed;
  typed.typed = f.Url("/c.html");
  f.form->OpenPage(typed);
  QCOMPARE(box->itemText(0), f.Url("/c.html"));
  QVERIFY(f.WaitLoaded(1, "Page c"));
}

void TabsTest::enterAndDoubleClickOnTheAddressBox() {
  Fixture f;
  QLineEdit* edit = Find<QComboBox>(f.form.get(), "ComboBoxURL")->lineEdit();
  edit->setText(f.Url("/a.html"));
  // Keys reach the combo box (the edit's focus proxy), which hands them on.
  QTest::keyClick(Find<QComboBox>(f.form.get(), "ComboBoxURL"), Qt::Key_Return);
  QCOMPARE(f.Count(), 1);
  QVERIFY(f.WaitLoaded(0, "Page a"));

  f.dir.Write("local.html", Page("Local file"));
  QString seen_dir;
  QTimer::singleShot(0, [&] {
    // Answers the file dialog once it is up.
    QTimer* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [&, poll] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      poll->stop();
      poll->deleteLater();
      seen_dir = dialog->directory().absolutePath();
      // Typed into the name field, as the user would (selectFile leaves a
      // focused field alone).
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      if (name) name->setText(f.dir.File("local.html"));
      QMetaObject::invokeMethod(dialog, "accept");
      if (dialog->isVisible()) QMetaObject::invokeMethod(dialog, "reject");  // never hang
    });
    poll->start(20);
  });
  f.form->Subsystems().address->SetFileDialogDir(f.dir.Path() + "sub");
  QDir().mkpath(f.dir.Path() + "sub");
  QTest::mouseDClick(edit, Qt::LeftButton, {}, edit->rect().center());
  QCOMPARE(seen_dir, QDir(f.dir.Path() + "sub").absolutePath());
  QCOMPARE(f.Count(), 2);
  QVERIFY(f.WaitLoaded(1, "Local file"));
  QCOMPARE(f.form->Subsystems().address->FileDialogDir(), QDir(f.dir.Path()).absolutePath());
  QCOMPARE(Find<QComboBox>(f.form.get(), "ComboBoxURL")->itemText(0),
           QDir(f.dir.Path()).absoluteFilePath("local.html"));
}

void TabsTest::hiddenViewsAreNotReleasedWhileAMacroPlays() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(f.OpenAndWait("/b.html", "Page b"));
  Find<HiddenTabKeeper>(f.form.get(), "HiddenTabKeeper")->SetReleaseAfter(100);
  f.ClickTab(0);
  f.ClickTab(1);
  WebBrowser* hidden = f.Browser(0);

  // Idle moments come while the macro waits; the view's time runs out.
  bool kept = false;
  QTimer::singleShot(0, f.form.get(), [&] {
    Spin(400);
    kept = hidden->HasView();
  });
  f.form->Subsystems().macros->PlayKeyMacro("\\w(600)");
  QVERIFY(kept);
  // It goes at the first idle moment after the play.
  QVERIFY(WaitUntil([&] { return !hidden->HasView(); }));
  QVERIFY(f.Browser(1)->HasView());
}

void TabsTest::hiddenTabSleepsAndWakesWhereItWas() {
  Fixture f;
  f.server.Serve("/long.html", Page("Page long", "<div style=\"height:5000px\">long</div>"));
  f.server.Serve("/form.html", Page("Page form",
                                    "<input id=\"q\" autofocus><script>var froze = 0;"
                                    "document.addEventListener('freeze', () => ++froze);</script>"));
  f.tabs->Sleeper().SetSleepAfter(kSleepMs);
  int macros = 0;
  connect(f.tabs, &TabController::LoadKeyMacroReady, this, [&] { ++macros; });
  OpenRequest request = f.Request("/a.html");
  request.key_macro = "\\w(1)";
  f.form->OpenPage(request);
  QVERIFY(f.WaitLoaded(0, "Page a"));
  QCOMPARE(macros, 1);
  f.Browser(0)->Navigate(QString(f.Url("/long.html")));
  QVERIFY(f.WaitLoaded(0, "Page long"));
  f.Js(f.Browser(0), "window.scrollTo(0, 1500)");
  QVERIFY(f.OpenAndWait("/form.html", "Page form"));
  WebBrowser* typed = f.Browser(1);
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));
  QTRY_VERIFY(typed->FocusedInputWidget() && f.Js(typed, "document.activeElement.id").toString() == "q");
  f.form->Subsystems().macros->PlayKeyMacro("x");
  QTRY_COMPARE(f.Js(typed, "document.getElementById('q').value").toString(), QString("x"));
  QVERIFY(f.OpenAndWait("/b.html", "Page b"));

  // Off, nothing sleeps however long the tabs are hidden.
  Spin(3 * kSleepMs);
  QVERIFY(f.Browser(0) && f.Browser(1) && !f.Bar()->tabTextColor(0).isValid());

  ChangeOptions(*f.form, [](AppOptions& o) { o.SleepTabs.on = true; });
  QVERIFY(WaitUntil([&] { return f.tabs->TabAt(0)->PageWaiting() && f.Bar()->tabTextColor(0).isValid(); }));
  QCOMPARE(f.Caption(0), QString("Page long"));
  Spin(3 * kSleepMs);
  QVERIFY(f.Browser(1) && !f.Bar()->tabTextColor(1).isValid());  // typed into: never asleep
  // It rests frozen instead, keeping what was typed; a locked tab runs on.
  QTRY_VERIFY(typed->Rest() == PageRest::kFrozen);
  Find<QToolButton>(f.form.get(), "ToolButtonLock")->click();
  f.ClickTab(1);
  QTRY_VERIFY(typed->Rest() == PageRest::kActive);
  QCOMPARE(f.Js(typed, "froze + document.getElementById('q').value").toString(), QString("1x"));
  Spin(3 * kSleepMs);
  QVERIFY(f.Browser(2) && f.Browser(2)->Rest() == PageRest::kActive);

  QStringList status;
  connect(f.tabs, &TabController::StatusTextChanged, this, [&](const QString& text) { status << text; });
  f.ClickTab(0);
  QVERIFY(status.contains("休止中のタブを再読み込みしています"));
  QVERIFY(f.WaitLoaded(0, "Page long"));
  QVERIFY(!f.Bar()->tabTextColor(0).isValid());
  QVERIFY(f.Browser(0)->LocationURL().endsWith("/long.html"));
  QCOMPARE(f.Js(f.Browser(0), "history.length").toInt(), 2);
  QTRY_COMPARE(f.Js(f.Browser(0), "window.scrollY").toInt(), 1500);
  QCOMPARE(status.last(), QString());
  QCOMPARE(macros, 1);  // played once, when the tab was opened
  f.tabs->GoBack();
  QVERIFY(f.WaitLoaded(0, "Page a"));
}

void TabsTest::emptyPageAreaSaysWhatToDoWhileNoTabIsOpen() {
  Fixture f;
  auto* hint = Find<QLabel>(f.form.get(), "LabelEmptyPageHint");
  const QSize window_size = f.form->size();
  const QByteArray ini = f.dir.Read("Sorvi.ini");
  QVERIFY(hint->isVisible());  // at the start
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(!hint->isVisible());
  f.tabs->CloseActiveTab();
  QVERIFY(hint->isVisible());
  QCOMPARE(hint->geometry(), Find<TabStack>(f.form.get(), "PageControl")->pageArea()->rect());
  QCOMPARE(hint->font(), f.form->font());
  for (const char* told : {"銘柄", "ダブルクリック", "ヘルプ"}) QVERIFY(hint->text().contains(told));
  QCOMPARE(f.form->size(), window_size);
  QCOMPARE(f.dir.Read("Sorvi.ini"), ini);
}

int main(int argc, char* argv[]) {
  PrepareWebEngineBeforeQApplication();
  QApplication app(argc, argv);
  TabsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "tabs_test.moc"
