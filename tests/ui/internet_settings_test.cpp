// The program's Internet settings against a real engine and a local server:
// deleting cookies, a manual proxy, the languages asked of sites.
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "core/settings/internet_settings.h"
#include "core/settings/settings_file.h"
#include "dialogs/internet_dialog.h"
#include "platform/web_browser.h"
#include "platform/web_engine_internet.h"
#include "support/dialog_driver.h"
#include "support/event_wait.h"
#include "support/local_http_server.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"
#include "support/web_test_main.h"

using sorvi::InternetSettings;
using sorvi::ProxyMode;
using sorvi::WebBrowser;
using sorvi::testing::DialogDriver;
using sorvi::testing::LocalHttpServer;
using sorvi::testing::ScratchDir;
using sorvi::testing::WaitUntil;

namespace {

constexpr int kTimeout = 15000;

// A host that no resolver knows: only a proxy can answer for it.
const QByteArray kFarPage = "http://kabuka.invalid/chart?code=7203";

class InternetSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void initTestCase();
  void cleanupTestCase();
  void cleanup();

  void deletingCookiesSendsNoCookieOnTheNextRequest();
  void proxyChosenInTheDialogCarriesTheNextRequest_data();
  void proxyChosenInTheDialogCarriesTheNextRequest();
  void languagesReachTheServer();
  void dialogRefusesABadProxyThenStoresAndAppliesTheSettings();
  void dialogDeletesCookiesOnlyAfterYes();

 private:
  // Loads `address` and waits until the server has seen `path` once more.
  bool Load(WebBrowser* browser, const QByteArray& address, const QByteArray& path);
  std::unique_ptr<WebBrowser> MakeBrowser();

  LocalHttpServer server_;
  ScratchDir storage_;
};

// Stores what OK confirmed as the window does: one commit to Sorvi.ini.
sorvi::InternetSettingsStore StoreIn(const ScratchDir& dir) {
  return [path = QFile::encodeName(dir.File("Sorvi.ini")).toStdString()](const InternetSettings& settings) {
    sorvi::SettingsFile ini(path);
    sorvi::WriteInternetSettings(ini, settings);
    return ini.Commit();
  };
}

void InternetSettingsTest::initTestCase() {
  QVERIFY(server_.IsListening());
  // Read by the engine when it starts, for the system's proxy setting.
  qputenv("http_proxy", server_.Origin());
  qunsetenv("no_proxy");
  qunsetenv("NO_PROXY");
  sorvi::WebEngine::SetStoragePath(storage_.File("WebData"));
  LocalHttpServer::Reply cookie;
  cookie.body = "<html><head><title>set</title></head></html>";
  cookie.headers.append(qMakePair(QByteArray("Set-Cookie"), QByteArray("sorvi_test=kabu; Max-Age=86400; Path=/")));
  server_.Serve("/setcookie", cookie);
  server_.Serve("/echo", "<html><head><title>echo</title></head></html>");
  LocalHttpServer::Reply slow;
  slow.body = "<html><head><title>slow</title></head></html>";
  slow.delay_ms = 1500;
  server_.Serve("/slow", slow);
  server_.Serve(kFarPage.left(kFarPage.indexOf('?')), "<html><head><title>far</title></head></html>");
}

void InternetSettingsTest::cleanupTestCase() {
  sorvi::UseInternetSettings(InternetSettings{});
  sorvi::WebEngine::Shutdown();
}

void InternetSettingsTest::cleanup() { sorvi::UseInternetSettings(InternetSettings{}); }

std::unique_ptr<WebBrowser> InternetSettingsTest::MakeBrowser() {
  auto browser = std::make_unique<WebBrowser>();
  browser->resize(400, 300);
  browser->show();
  return browser;
}

bool InternetSettingsTest::Load(WebBrowser* browser, const QByteArray& address, const QByteArray& path) {
  // The engine may drop a navigation made while it is still clearing its
  // cache; ask again until the page is requested.
  const int before = server_.Count(path);
  QDeadlineTimer deadline(kTimeout);
  for (int attempt = 0; !deadline.hasExpired(); ++attempt) {
    browser->Navigate(attempt == 0
                          ? address
                          : address + (address.contains('?') ? "&" : "?") + "retry=" + QByteArray::number(attempt));
    if (server_.WaitForRequest(path, before + 1, 3000)) return true;
  }
  return false;
}

void InternetSettingsTest::deletingCookiesSendsNoCookieOnTheNextRequest() {
  auto browser = MakeBrowser();
  QVERIFY(Load(browser.get(), server_.Origin() + "/setcookie", "/setcookie"));
  QVERIFY(Load(browser.get(), server_.Origin() + "/echo", "/echo"));
  QCOMPARE(server_.RequestsFor("/echo").last().Header("Cookie"), QByteArray("sorvi_test=kabu"));

  sorvi::ClearProgramBrowsingData();
  QVERIFY(Load(browser.get(), server_.Origin() + "/echo", "/echo"));
  QCOMPARE(server_.RequestsFor("/echo").last().Header("Cookie"), QByteArray());
}

void InternetSettingsTest::proxyChosenInTheDialogCarriesTheNextRequest_data() {
  QTest::addColumn<int>("before");
  QTest::addColumn<int>("chosen");
  QTest::addColumn<bool>("through_proxy");
  const int system = int(ProxyMode::kSystem), none = int(ProxyMode::kNone), manual = int(ProxyMode::kManual);
  // The desktop's proxy here is the local server too (http_proxy).
  QTest::newRow("none to manual") << none << manual << true;
  QTest::newRow("manual to none") << manual << none << false;
  QTest::newRow("none to system") << none << system << true;
  QTest::newRow("system to none") << system << none << false;
}

void InternetSettingsTest::proxyChosenInTheDialogCarriesTheNextRequest() {
  QFETCH(int, before);
  QFETCH(int, chosen);
  QFETCH(bool, through_proxy);
  const QByteArray far_path = kFarPage.left(kFarPage.indexOf('?'));
  auto browser = MakeBrowser();
  const auto load_far_page = [&](const QByteArray& tag) {
    const int served = server_.Count(far_path);
    QSignalSpy complete(browser.get(), &WebBrowser::DownloadComplete);
    browser->Navigate(kFarPage + "&" + tag);
    return WaitUntil([&] { return !complete.isEmpty(); }) && server_.Count(far_path) > served;
  };
  // The engine running on the setting before, used by a request already.
  InternetSettings start;
  start.proxy = ProxyMode(before);
  start.proxy_host = "127.0.0.1";
  start.proxy_port = server_.Port();
  sorvi::UseInternetSettings(start);
  const bool start_through_proxy = start.proxy != ProxyMode::kNone;
  // Twice in a row: an engine that lags may show the setting before that once.
  QDeadlineTimer deadline(kTimeout);
  for (int i = 0, matched = 0; matched < 2; ++i) {
    QVERIFY(!deadline.hasExpired());
    matched = load_far_page("before=" + QByteArray::number(i)) == start_through_proxy ? matched + 1 : 0;
  }

  // A page still loading when the setting changes ends as it would have.
  auto loading = MakeBrowser();
  QSignalSpy titles(loading.get(), &WebBrowser::TitleChange);
  const int slow_requests = server_.Count("/slow");
  loading->Navigate(server_.Origin() + "/slow");
  QVERIFY(server_.WaitForRequest("/slow", slow_requests + 1));

  ScratchDir dir;
  sorvi::TFormInternet dialog(start, StoreIn(dir));
  dialog.show();
  const char* radio[] = {"RadioProxySystem", "RadioProxyNone", "RadioProxyManual"};
  dialog.findChild<QRadioButton*>(radio[chosen])->click();
  dialog.findChild<QPushButton*>("ButtonOk")->click();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));

  QCOMPARE(load_far_page("after"), through_proxy);
  QVERIFY(WaitUntil([&] { return !titles.isEmpty() && titles.last().at(1).toString() == "slow"; }));
  if (through_proxy) {
    const auto request = server_.RequestsFor(far_path).last();
    QVERIFY2(request.target.startsWith(kFarPage), request.target.constData());  // a proxy gets the whole address
    QCOMPARE(request.Header("Host"), QByteArray("kabuka.invalid"));
  }
}

void InternetSettingsTest::languagesReachTheServer() {
  auto browser = MakeBrowser();
  QVERIFY(Load(browser.get(), server_.Origin() + "/echo", "/echo"));
  const QByteArray engine_default = server_.RequestsFor("/echo").last().Header("Accept-Language");
  // The dialog says what an empty field sends.
  QStringList default_tags;
  for (const QByteArray& part : engine_default.split(',')) default_tags << QString::fromLatin1(part.split(';')[0]);
  const sorvi::TFormInternet dialog({}, {});
  const auto* hint = dialog.findChild<QLabel*>("LabelLanguageHint");
  QVERIFY(hint);
  QVERIFY2(hint->text().contains("「" + default_tags.join(',') + "」"), qPrintable(hint->text()));

  InternetSettings settings;
  settings.languages = "fr,de-CH";
  sorvi::UseInternetSettings(settings);
  QVERIFY(Load(browser.get(), server_.Origin() + "/echo?2", "/echo"));
  const QByteArray sent = server_.RequestsFor("/echo").last().Header("Accept-Language");
  qInfo() << "Accept-Language" << engine_default << "->" << sent;
  QVERIFY2(sent.startsWith("fr"), sent.constData());
  QVERIFY2(sent.contains("de-CH"), sent.constData());
  QVERIFY(sent.indexOf("fr") < sent.indexOf("de-CH"));

  // Back to the program's default: Japanese first again (the engine may
  // drop the weights once the list has been changed while running).
  sorvi::UseInternetSettings(InternetSettings{});
  QVERIFY(Load(browser.get(), server_.Origin() + "/echo?3", "/echo"));
  const QByteArray restored = server_.RequestsFor("/echo").last().Header("Accept-Language");
  QVERIFY2(engine_default.startsWith("ja,en-US"), engine_default.constData());
  QVERIFY2(restored.startsWith("ja,en-US"), restored.constData());
}

void InternetSettingsTest::dialogRefusesABadProxyThenStoresAndAppliesTheSettings() {
  ScratchDir dir;
  sorvi::TFormInternet dialog(InternetSettings{}, StoreIn(dir));
  dialog.show();
  dialog.findChild<QRadioButton*>("RadioProxyManual")->click();
  dialog.findChild<QLineEdit*>("EditProxy")->setText("proxy.example.jp");  // no port
  dialog.findChild<QLineEdit*>("EditLanguages")->setText("fr, de");
  {
    DialogDriver driver({"OK"});
    dialog.findChild<QPushButton*>("ButtonOk")->click();
    QCOMPARE(driver.Seen().size(), size_t(1));
  }
  QVERIFY(dialog.isVisible());
  QVERIFY(!dir.Exists("Sorvi.ini"));

  dialog.findChild<QLineEdit*>("EditProxy")->setText("127.0.0.1:" + QString::number(server_.Port()));
  dialog.findChild<QPushButton*>("ButtonOk")->click();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(dir.Ini("Internet", "Proxy"), QString("2"));
  QCOMPARE(dir.Ini("Internet", "ProxyHost"), QString("127.0.0.1"));
  QCOMPARE(dir.Ini("Internet", "ProxyPort"), QString::number(server_.Port()));
  QCOMPARE(dir.Ini("Internet", "Languages"), QString("fr,de"));
  QCOMPARE(sorvi::CurrentInternetSettings().proxy, ProxyMode::kManual);
  QCOMPARE(sorvi::CurrentInternetSettings().languages, std::string("fr,de"));
}

void InternetSettingsTest::dialogDeletesCookiesOnlyAfterYes() {
  ScratchDir dir;
  auto browser = MakeBrowser();
  QVERIFY(Load(browser.get(), server_.Origin() + "/setcookie", "/setcookie"));
  sorvi::TFormInternet dialog(InternetSettings{}, StoreIn(dir));
  dialog.show();
  {
    DialogDriver driver({"いいえ(&N)"});
    dialog.findChild<QPushButton*>("ButtonClear")->click();
    QCOMPARE(driver.Seen().size(), size_t(1));
  }
  QVERIFY(Load(browser.get(), server_.Origin() + "/echo", "/echo"));
  QCOMPARE(server_.RequestsFor("/echo").last().Header("Cookie"), QByteArray("sorvi_test=kabu"));
  {
    DialogDriver driver({"はい(&Y)", "OK"});
    dialog.findChild<QPushButton*>("ButtonClear")->click();
    QCOMPARE(driver.Seen().size(), size_t(2));
  }
  QVERIFY(Load(browser.get(), server_.Origin() + "/echo", "/echo"));
  QCOMPARE(server_.RequestsFor("/echo").last().Header("Cookie"), QByteArray());
  dialog.reject();
  QVERIFY(!dir.Exists("Sorvi.ini"));  // deleting is not a setting
}

}  // namespace

SORVI_WEB_TEST_MAIN(InternetSettingsTest)
#include "internet_settings_test.moc"
