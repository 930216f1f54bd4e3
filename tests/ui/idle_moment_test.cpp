// Work deferred to the idle moment (a tab a page closes, a key macro handed
// over after a load) waits while a modal dialog is open; dialogs outlive the
// views they were opened for; the file dialog of the address box leaves the
// saved directory alone; a queued Shift+Return keeps its Shift.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "platform/web_browser.h"
#include "support/event_wait.h"
#include "support/find_widget.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"
#include "support/window_fixture.h"
#include "tabs/address_box.h"
#include "tabs/open_request.h"
#include "tabs/tab_controller.h"

using namespace sorvi;
using sorvi::testing::Find;
using sorvi::testing::LocalHttpServer;
using sorvi::testing::Page;
using sorvi::testing::Spin;
using sorvi::testing::WaitUntil;

namespace {

struct Fixture : sorvi::testing::WindowFixture {
  Fixture() : WindowFixture({"a", "b"}) {
    server.Serve("/opener.html", Page("Opener", "<script>function pop(url) { window.open(url, '', ''); }</script>"));
    server.Serve("/closer.html", Page("Closer", "<script>setTimeout(function () { window.close(); }, 500);</script>"));
  }
};

// Runs `act` once a modal dialog is up, from inside that dialog's own event
// loop (the test's code is blocked under it until it ends); `act` returns
// false to be called again.
class WhenModal : public QObject {
 public:
  explicit WhenModal(std::function<bool(QWidget*)> act) : act_(std::move(act)) {
    timer_.setInterval(20);
    connect(&timer_, &QTimer::timeout, this, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || !modal->isVisible()) return;
      if (act_(modal)) timer_.stop();
    });
    timer_.start();
  }

 private:
  std::function<bool(QWidget*)> act_;
  QTimer timer_;
};

// The address box's double-click, which opens the file dialog, once the
// test's loop runs.
void DoubleClickAddressSoon(TFormMain& form) {
  QTimer::singleShot(0, &form, [&form] { form.Subsystems().address->PickLocalFile(); });
}

}  // namespace

class IdleMomentTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void tabClosedByItsPageWaitsForTheDialog();
  void printDialogOutlivesTheTabItWasOpenedFor();
  void macroDueWhileADialogIsOpenWaitsForIt();
  void fileDialogLeavesTheSavedDirectory();
  void queuedShiftReturnKeepsItsShift();
};

void IdleMomentTest::tabClosedByItsPageWaitsForTheDialog() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/opener.html", "Opener"));
  f.Browser(0)->RunJavaScript("pop('/closer.html')");
  QVERIFY(WaitUntil([&] { return f.Count() == 2; }));

  // The page asks to close 500 ms after it loads; the dialog stays open
  // well past that.
  int tabs_while_open = -1;
  bool dialog_seen = false;
  WhenModal modal([&](QWidget* dialog) {
    dialog_seen = qobject_cast<QFileDialog*>(dialog) != nullptr;
    QTimer::singleShot(1500, dialog, [&, dialog] {
      tabs_while_open = f.Count();
      static_cast<QDialog*>(dialog)->reject();
    });
    return true;
  });
  DoubleClickAddressSoon(*f.form);
  QVERIFY(WaitUntil([&] { return tabs_while_open >= 0; }));
  QVERIFY(dialog_seen);
  QCOMPARE(tabs_while_open, 2);
  // Once the dialog has ended the close is carried out.
  QVERIFY(WaitUntil([&] { return f.Count() == 1; }));
  QCOMPARE(f.Caption(0), QString("Opener"));
}

void IdleMomentTest::printDialogOutlivesTheTabItWasOpenedFor() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));
  QPointer<WebBrowser> browser = f.Browser(0);

  bool print_dialog = false;
  bool dialog_survived = false;
  bool done = false;
  WhenModal modal([&](QWidget* dialog) {
    print_dialog = qobject_cast<QPrintDialog*>(dialog) != nullptr;
    QPointer<QWidget> guard(dialog);
    // The view goes while its print dialog is open.
    f.tabs->CloseActiveTab();
    dialog_survived = !guard.isNull();
    if (guard) static_cast<QDialog*>(dialog)->reject();
    done = true;
    return true;
  });
  QTimer::singleShot(0, f.tabs, [&f] { f.tabs->PrintActive(); });
  QVERIFY(WaitUntil([&] { return done; }));
  Spin(50);
  QVERIFY(print_dialog);
  QVERIFY(dialog_survived);
  QVERIFY(browser.isNull());
  QCOMPARE(f.Count(), 0);
}

void IdleMomentTest::macroDueWhileADialogIsOpenWaitsForIt() {
  Fixture f;
  // A page that takes a while and focuses its field, as chart pages do.
  f.server.Serve("/form.html", Page("Form",
                                    "<input id=\"a\"><img src=\"/slow.png\">"
                                    "<script>document.getElementById('a').focus();</script>"));
  LocalHttpServer::Reply slow;
  slow.content_type = "image/png";
  slow.delay_ms = 1500;
  f.server.Serve("/slow.png", slow);
  f.form->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(f.form.get()));

  OpenRequest request = f.Request("/form.html");
  request.key_macro = "\\w(10)XYZ";
  f.form->OpenPage(request);
  QVERIFY(f.Count() == 1);
  WebBrowser* browser = f.Browser(0);

  QString file_name_while_open = "?";
  bool dialog_stayed_in_front = false;
  bool page_loaded_while_open = false;
  WhenModal modal([&](QWidget* dialog) {
    // Past the load, the hand-over and the macro's wait.
    auto* check = new QTimer(dialog);
    check->setInterval(50);
    QObject::connect(check, &QTimer::timeout, dialog, [&, check, dialog] {
      if (f.server.Count("/slow.png") == 0 || browser->Busy()) return;
      check->stop();
      QTimer::singleShot(800, dialog, [&, dialog] {
        page_loaded_while_open = !browser->Busy();
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        file_name_while_open = name ? name->text() : QString("(no field)");
        dialog_stayed_in_front = QApplication::activeModalWidget() == dialog;
        static_cast<QDialog*>(dialog)->reject();
      });
    });
    check->start();
    return true;
  });
  DoubleClickAddressSoon(*f.form);
  QVERIFY(WaitUntil([&] { return file_name_while_open != "?"; }));
  QVERIFY(page_loaded_while_open);
  QCOMPARE(file_name_while_open, QString());
  QVERIFY(dialog_stayed_in_front);

  // After the dialog the macro is played into the page, once.
  const auto value = [&] { return f.Js(browser, "document.getElementById('a').value").toString(); };
  QVERIFY(WaitUntil([&] { return value() == "XYZ"; }));
  Spin(300);
  QCOMPARE(value(), QString("XYZ"));
}

void IdleMomentTest::fileDialogLeavesTheSavedDirectory() {
  sorvi::testing::ScratchDir start;
  sorvi::testing::ScratchDir files;
  files.Write("picked.html", Page("Picked"));
  QString saved_dir;
  {
    Fixture f;
    // The directory as the settings hold it, written back at close as read.
    f.form.reset();
    f.dir.Write("Sorvi.ini", "[Window]\r\nIniDir=" + QFile::encodeName(start.Path()) + "\r\n");
    f.Restart();

    WhenModal modal([&](QWidget* dialog) {
      auto* files_dialog = qobject_cast<QFileDialog*>(dialog);
      if (!files_dialog) return false;
      // The dialog reads its directory in the background; typed in, the
      // path is taken as it is.
      auto* name = files_dialog->findChild<QLineEdit*>("fileNameEdit");
      if (!name) return false;
      name->setText(files.File("picked.html"));
      QMetaObject::invokeMethod(files_dialog, "accept");
      return !files_dialog->isVisible();
    });
    DoubleClickAddressSoon(*f.form);
    QVERIFY(f.WaitLoaded(0, "Picked"));
    // The pick is remembered for this run only.
    QCOMPARE(QDir(f.form->Subsystems().address->FileDialogDir()), QDir(files.Path()));
    QVERIFY(f.form->close());
    saved_dir = f.dir.Ini("Window", "IniDir");
  }
  QCOMPARE(saved_dir, start.Path());
}

void IdleMomentTest::queuedShiftReturnKeepsItsShift() {
  Fixture f;
  QVERIFY(f.OpenAndWait("/a.html", "Page a"));  // the navigate mode opens new tabs
  f.form->Subsystems().address->Show(f.Url("/b.html"));
  QLineEdit* edit = Find<QComboBox>(f.form.get(), "ComboBoxURL")->lineEdit();
  edit->setFocus();

  // The keys wait in the queue while the program is busy, and Shift is let
  // go before they are handled: Return must still count as Shift+Return.
  QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier));
  QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, "\r"));
  QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Return, Qt::ShiftModifier, "\r"));
  QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier));
  QVERIFY(WaitUntil([&] { return f.Loaded(f.Active(), "Page b"); }));
  QCOMPARE(f.Count(), 1);  // Shift turned "new tab" into "this tab"
}

SORVI_WEB_TEST_MAIN(IdleMomentTest)

#include "idle_moment_test.moc"
