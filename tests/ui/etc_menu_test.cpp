// The window's own items of the "メニュー" button, chosen as a user chooses
// them: the options dialog and what it does to open and later tabs, the
// help tab, and the Internet settings taking effect from start-up.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "core/settings/internet_settings.h"
#include "dialogs/option_dialog.h"
#include "platform/web_browser.h"
#include "platform/web_engine_internet.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"
#include "support/window_options.h"
#include "tabs/address_box.h"
#include "tabs/tab_controller.h"

using namespace sorvi;
using sorvi::testing::ChangeOptions;
using sorvi::testing::Find;
using sorvi::testing::Page;
using sorvi::testing::WaitUntil;
using sorvi::testing::WindowInternals;

namespace {

const QString kHelp = "そるびヘルプ";

struct Fixture : sorvi::testing::WindowFixture {
  Fixture() : WindowFixture({"a", "b", "c", "named"}) {
    dir.Write("Sorvi.htm",
              "<html><head><title>Help page</title></head><body>"
              "<p id=\"options\">help</p></body></html>");
    // A link aimed at a window name, filling the top of the page.
    server.Serve("/family.html", Page("Family",
                                      "<a target=\"chart\" href=\"/named.html\" "
                                      "style=\"display:block;width:300px;height:100px\">named</a>"));
  }

  void Choose(const char* item) { Find<QAction>(form.get(), item)->trigger(); }

  // "動作環境設定": `change` works the dialog, then OK is clicked. Returns
  // whether the dialog was there to answer.
  bool ChooseOptions(const std::function<void(TFormOption&)>& change) {
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<TFormOption*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible() || answered) return;
      answered = true;
      change(*dialog);
      QTest::mouseClick(Find<QPushButton>(dialog, "ButtonOk"), Qt::LeftButton);
    });
    poll.start(20);
    Choose("PopupMenuEtcOption");
    return answered;
  }
  bool SetCheckBox(TFormOption& dialog, const char* name, bool on) {
    auto* box = Find<QCheckBox>(&dialog, name);
    if (box->isChecked() != on) box->click();
    return box->isChecked() == on;
  }

  bool ClickLink(int tab) {
    ClickTab(tab);
    WebBrowser* browser = Browser(tab);
    if (!WaitUntil([&] { return browser->InputWidget() && browser->InputWidget()->parentWidget() != browser; }))
      return false;
    browser->ClickAt(QPoint(50, 50));
    return true;
  }
  bool WindowNameIs(int index, const QString& name) { return Js(Browser(index), "window.name") == name; }
  bool IsHelpPage(int index) const {
    return Caption(index) == kHelp && Browser(index)->LocationURL() == "file://" + dir.File("Sorvi.htm");
  }
};

}  // namespace

class EtcMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void okWithoutChangesWritesAllEightKeysOfTheWindow();
  void linkTargetChangedReachesOpenAndLaterTabs();
  void silentSwitchedOnAffectsOnlyLaterTabs();
  void helpChosenTwiceOpensOneTab();
  void helpTabNavigatedAwayIsNotFoundAgain();
  void savedProxyCarriesTheFirstPage();
};

void EtcMenuTest::okWithoutChangesWritesAllEightKeysOfTheWindow() {
  Fixture f;
  QVERIFY(!f.dir.Exists("Sorvi.ini"));
  // The dialog starts from the window's values, not from the file.
  ChangeOptions(*f.form, [](AppOptions& o) {
    o.IntervalPaste = 700;
    o.IntervalDefault = 2000;
    o.LinkTarget = false;
    o.FocusLock = true;
    o.AutoSave = false;
  });
  QVERIFY(f.ChooseOptions([](TFormOption&) {}));
  // The file says it all, in its order; the window holds the same.
  QCOMPARE(f.dir.Read("Sorvi.ini"),
           QByteArray("[Option]\r\nEditor=Notepad\r\nIntervalPaste=700\r\nIntervalDefault=2000\r\n"
                      "LinkTarget=0\r\nClient=0\r\nSilent=0\r\nFocusLock=1\r\nAutoSave=0\r\n"));
  QCOMPARE(WindowInternals::Options(*f.form).IntervalPaste, 700);
  QVERIFY(!WindowInternals::Options(*f.form).AutoSave);
}

// Switched off, a link aimed at a name no longer finds the tab opened under
// that name: each click opens a tab of its own, in tabs open before the
// change and in tabs opened after it.
void EtcMenuTest::linkTargetChangedReachesOpenAndLaterTabs() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/family.html", "Family"));
  QVERIFY(f.ClickLink(0));
  QVERIFY(WaitUntil([&] { return f.Count() == 2; }));
  QVERIFY(f.WaitLoaded(1, "Page named"));
  f.server.ClearRequests();
  QVERIFY(f.ClickLink(0));
  QVERIFY(f.server.WaitForRequest("/named.html"));
  QVERIFY(WaitUntil([&] { return f.Active() == 1 && f.Loaded(1, "Page named"); }));
  QCOMPARE(f.Count(), 2);  // the named tab was reused
  QVERIFY(f.WindowNameIs(1, "chart"));

  QVERIFY(f.ChooseOptions([&](TFormOption& d) { QVERIFY(f.SetCheckBox(d, "CheckBoxLinkTarget", false)); }));
  QVERIFY(!f.Browser(0)->RegisterAsBrowser());
  QVERIFY(!f.Browser(1)->RegisterAsBrowser());
  QVERIFY(f.WindowNameIs(1, ""));
  QVERIFY(f.ClickLink(0));
  QVERIFY(WaitUntil([&] { return f.Count() == 3; }));
  QVERIFY(f.WaitLoaded(f.Active(), "Page named"));
  QVERIFY(!f.Browser(f.Active())->RegisterAsBrowser());
  // The tab made since was named by the link; the name is gone after its load.
  QVERIFY(f.WindowNameIs(f.Active(), ""));
  QVERIFY(f.ClickLink(0));
  QVERIFY(WaitUntil([&] { return f.Count() == 4; }));
  QVERIFY(f.WaitLoaded(f.Active(), "Page named"));

  QVERIFY(f.ChooseOptions([&](TFormOption& d) { QVERIFY(f.SetCheckBox(d, "CheckBoxLinkTarget", true)); }));
  for (int i = 0; i < f.Count(); ++i) QVERIFY(f.Browser(i)->RegisterAsBrowser());
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(f.Browser(f.Active())->RegisterAsBrowser());
}

void EtcMenuTest::silentSwitchedOnAffectsOnlyLaterTabs() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QVERIFY(f.OpenAndWait("/b.html", "Page b"));
  QVERIFY(f.ChooseOptions([&](TFormOption& d) { QVERIFY(f.SetCheckBox(d, "CheckBoxSilent", true)); }));
  QVERIFY(WindowInternals::Options(*f.form).Silent);
  QVERIFY(!f.Browser(0)->Silent());
  QVERIFY(!f.Browser(1)->Silent());
  QVERIFY(f.OpenAndWait("/c.html", "Page c"));
  QVERIFY(f.Browser(2)->Silent());
  QCOMPARE(f.dir.Ini("Option", "Silent"), QString("1"));
}

void EtcMenuTest::helpChosenTwiceOpensOneTab() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  f.Choose("PopupMenuEtcHelp");
  QCOMPARE(f.Count(), 2);
  QVERIFY(WaitUntil([&] { return f.Loaded(1, kHelp); }));
  QVERIFY2(f.IsHelpPage(1), qPrintable(f.Browser(1)->LocationURL()));
  // Opened as a typed address is: it leads the address history.
  QCOMPARE(QString::fromStdString(f.form->Subsystems().address->History().front()), f.dir.File("Sorvi.htm"));

  f.ClickTab(0);
  QCOMPARE(f.Active(), 0);
  f.Choose("PopupMenuEtcHelp");
  QCOMPARE(f.Count(), 2);
  QCOMPARE(f.Active(), 1);

  // An anchor behind the file name still makes it the help tab.
  f.Browser(1)->Navigate("file://" + f.dir.File("Sorvi.htm#options"));
  QVERIFY(WaitUntil([&] { return f.Browser(1)->LocationURL().endsWith("#options"); }));
  f.ClickTab(0);
  f.Choose("PopupMenuEtcHelp");
  QCOMPARE(f.Count(), 2);
  QCOMPARE(f.Active(), 1);
}

void EtcMenuTest::helpTabNavigatedAwayIsNotFoundAgain() {
  Fixture f;
  f.Choose("PopupMenuEtcHelp");
  QVERIFY(WaitUntil([&] { return f.Loaded(0, kHelp); }));
  f.Browser(0)->Navigate(f.Url("/b.html"));
  QVERIFY(WaitUntil([&] { return f.Browser(0)->LocationURL() == f.Url("/b.html") && !f.Browser(0)->Busy(); }));
  QCOMPARE(f.Caption(0), kHelp);  // the caption stays fixed

  f.Choose("PopupMenuEtcHelp");
  QCOMPARE(f.Count(), 2);
  QVERIFY(WaitUntil([&] { return f.Loaded(1, kHelp) && f.IsHelpPage(1); }));

  // In "上書" mode the help page replaces the page shown.
  QVERIFY(f.OpenAndWait("/c.html", "Page c"));
  QCOMPARE(f.Count(), 3);
  Find<QAction>(f.form.get(), "PopupMenuNavigate2")->trigger();
  f.Browser(1)->Navigate(f.Url("/a.html"));
  QVERIFY(WaitUntil([&] { return f.Browser(1)->LocationURL() == f.Url("/a.html"); }));
  f.ClickTab(2);
  f.Choose("PopupMenuEtcHelp");
  QCOMPARE(f.Count(), 3);
  QCOMPARE(f.Active(), 2);
  QVERIFY(WaitUntil([&] { return f.Loaded(2, kHelp) && f.IsHelpPage(2); }));
}

// The settings of section Internet hold before the first page loads.
void EtcMenuTest::savedProxyCarriesTheFirstPage() {
  sorvi::testing::LocalHttpServer proxy;
  sorvi::testing::WindowFixture f({}, [&](const sorvi::testing::ScratchDir& dir) {
    dir.Write("Sorvi.ini",
              "[Internet]\r\nProxy=2\r\nProxyHost=127.0.0.1\r\nProxyPort=" + QByteArray::number(proxy.Port()) + "\r\n");
  });
  QCOMPARE(CurrentInternetSettings().proxy, ProxyMode::kManual);
  f.form->Subsystems().address->Show("http://kabuka.invalid/chart?code=7203");
  f.form->OpenTypedAddress(Qt::NoModifier);
  const bool proxied = proxy.WaitForRequest("http://kabuka.invalid/chart");
  UseInternetSettings(InternetSettings{});
  QVERIFY(proxied);
  QCOMPARE(proxy.RequestsFor("http://kabuka.invalid/chart").first().Header("Host"), QByteArray("kabuka.invalid"));
}

SORVI_WEB_TEST_MAIN(EtcMenuTest)
#include "etc_menu_test.moc"
