// What the browser does for the user beyond showing pages, against local
// servers in a real web view: Japanese language, downloads, log-in prompts,
// bad certificates, refused permissions, full screen, find and zoom.
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <memory>

#include "platform/japanese_locale.h"
#include "platform/web_browser.h"
#include "support/event_wait.h"
#include "support/local_http_server.h"
#include "support/page_script.h"
#include "support/scratch_dir.h"
#include "support/strict_warnings.h"
#include "support/test_certificate.h"
#include "support/web_test_main.h"

using sorvi::WebBrowser;
using sorvi::testing::Js;
using sorvi::testing::LocalHttpServer;
using sorvi::testing::WaitUntil;

namespace {

// 株価.csv in code page 932, as a server of a Japanese site sends it.
const QByteArray kSjisCsvName("\x8a\x94\x89\xbf.csv");
// Price lines with code page 932 text, CR LF and a NUL: must land unchanged.
const QByteArray kCsvBody("code,name,price\r\n7203,\x83\x67\x83\x88\x83\x5e,2500\r\n\x00\xff\r\n", 38);

bool HasJapanese(const QString& text) {
  static const QRegularExpression kana_or_kanji(QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}]"));
  return text.contains(kana_or_kanji);
}

}  // namespace

class WebEngineExtrasTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { sorvi::testing::FailOnUnexpectedWarnings(); }
  void initTestCase();
  void cleanup();
  void cleanupTestCase();

  void speaksJapanese();
  void downloadAsksWhereAndSavesExactBytes_data();
  void downloadAsksWhereAndSavesExactBytes();
  void cancelledDownloadSavesNothing();
  void downloadLandsInAFolderThatExists_data();
  void downloadLandsInAFolderThatExists();
  void loginPromptAnswersServer();
  void badCertificateAsksAndRemembersHost();
  void permissionsRefusedWithoutAsking();

 private:
  std::unique_ptr<WebBrowser> MakeBrowser();
  bool Load(WebBrowser* browser, const QString& url);

  LocalHttpServer server_;
  sorvi::testing::ScratchDir storage_;
  sorvi::testing::ScratchDir saves_;
};

void WebEngineExtrasTest::initTestCase() {
  QVERIFY(server_.IsListening());
  sorvi::WebEngine::SetStoragePath(storage_.File("WebData"));
  LocalHttpServer::Reply page;
  page.body = "<html><head><title>Page</title></head><body>plain</body></html>";
  page.headers = {{"Set-Cookie", "visit=1; Path=/; HttpOnly"}};
  server_.Serve("/page.html", page);
}

void WebEngineExtrasTest::cleanup() {
  WebBrowser::SetSaveFileHook({});
  WebBrowser::SetLoginHook({});
  WebBrowser::SetCertificateHook({});
}

void WebEngineExtrasTest::cleanupTestCase() { sorvi::WebEngine::Shutdown(); }

std::unique_ptr<WebBrowser> WebEngineExtrasTest::MakeBrowser() {
  auto browser = std::make_unique<WebBrowser>();
  browser->resize(800, 600);
  browser->show();
  return browser;
}

bool WebEngineExtrasTest::Load(WebBrowser* browser, const QString& url) {
  QSignalSpy complete(browser, &WebBrowser::DownloadComplete);
  browser->Navigate(url);
  return WaitUntil([&] { return !complete.isEmpty(); });
}

// ---- Japanese ------------------------------------------------------------------------

void WebEngineExtrasTest::speaksJapanese() {
  // Qt's own dialogs: message box buttons come from the Qt translations.
  QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes | QMessageBox::Cancel);
  QVERIFY2(HasJapanese(box.button(QMessageBox::Cancel)->text()), qPrintable(box.button(QMessageBox::Cancel)->text()));

  auto browser = MakeBrowser();
  server_.ClearRequests();
  QVERIFY(Load(browser.get(), server_.Origin() + "/page.html"));
  QCOMPARE(server_.RequestsFor("/page.html").value(0).Header("Accept-Language"), QByteArray(sorvi::kAcceptLanguage));

  // A port nobody listens on: the engine's own error page, in Japanese.
  QTcpServer closed;
  QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
  const quint16 port = closed.serverPort();
  closed.close();
  QVERIFY(Load(browser.get(), QString("http://127.0.0.1:%1/").arg(port)));
  const QString text = Js(browser.get(), "document.body.innerText").toString();
  QVERIFY2(HasJapanese(text), qPrintable(text));
}

// ---- downloads -----------------------------------------------------------------------

void WebEngineExtrasTest::downloadAsksWhereAndSavesExactBytes_data() {
  QTest::addColumn<QByteArray>("path");
  QTest::addColumn<QByteArray>("disposition");
  QTest::addColumn<QString>("proposed");
  const auto row = [](const char* tag, const QByteArray& disposition, const QString& proposed,
                      const QByteArray& path = "/prices") { QTest::newRow(tag) << path << disposition << proposed; };
  const auto quoted = [](const QByteArray& name) { return "attachment; filename=\"" + name + "\""; };
  row("code page 932 name", quoted(kSjisCsvName), "株価.csv");
  // Quoted code page 932 names whose 0x5C trail bytes the engine drops.
  row("株価表", quoted("\x8a\x94\x89\xbf\x95\x5c.csv"), "株価表.csv");
  row("ソニー株価表", quoted("\x83\x5c\x83\x6a\x81\x5b\x8a\x94\x89\xbf\x95\x5c.csv"), "ソニー株価表.csv");
  row("表示データ", quoted("\x95\x5c\x8e\xa6\x83\x66\x81\x5b\x83\x5e.csv"), "表示データ.csv");
  row("能力", quoted("\x94\x5c\x97\xcd.csv"), "能力.csv");
  row("予定表2024", quoted("\x97\x5c\x92\xe8\x95\x5c\x32\x30\x32\x34.csv"), "予定表2024.csv");
  row("unquoted code page 932 name with 0x5C", "attachment; filename=\x83\x5c\x83\x6a\x81\x5b.csv", "ソニー.csv");
  row("percent-encoded UTF-8 name", quoted(QString("株価.csv").toUtf8().toPercentEncoding()), "株価.csv");
  row("UTF-8 name", quoted(QString("日足.csv").toUtf8()), "日足.csv");
  row("extended name wins",
      "attachment; filename=\"plain.csv\"; filename*=UTF-8''" + QString("週足①.csv").toUtf8().toPercentEncoding(),
      "週足①.csv");
  // No name from the server: the address's, which is code page 932 here.
  row("name from the address", QByteArray(), "株価表.csv", "/files/%8A%94%89%BF%95%5C.csv");
}

void WebEngineExtrasTest::downloadAsksWhereAndSavesExactBytes() {
  QFETCH(QByteArray, path);
  QFETCH(QByteArray, disposition);
  QFETCH(QString, proposed);
  LocalHttpServer::Reply reply;
  reply.content_type = "text/csv";
  reply.body = kCsvBody;
  if (!disposition.isEmpty()) reply.headers = {{"Content-Disposition", disposition}};
  server_.Serve(path, reply);
  server_.ClearRequests();

  const QString target = saves_.File(QString("saved-%1.csv").arg(QTest::currentDataTag()).replace(' ', '-'));
  QList<sorvi::SaveFileQuestion> asked;
  WebBrowser::SetSaveFileHook([&](const sorvi::SaveFileQuestion& question) {
    asked << question;
    return target;
  });
  auto browser = MakeBrowser();
  QVERIFY(Load(browser.get(), server_.Origin() + "/page.html"));
  QSignalSpy progress(browser.get(), &WebBrowser::DownloadProgress);
  QSignalSpy finished(browser.get(), &WebBrowser::DownloadFinished);
  browser->Navigate(server_.Origin() + path);
  QVERIFY(WaitUntil([&] { return !finished.isEmpty(); }));

  QCOMPARE(asked.size(), 1);
  QCOMPARE(QFileInfo(asked[0].proposed_path).fileName(), proposed);
  QCOMPARE(asked[0].url, server_.Url(path));
  // Asked again for the name, the server sees the page's own request.
  const auto requests = server_.RequestsFor(path);
  for (const auto& request : requests) {
    QCOMPARE(request.Header("User-Agent"), requests.first().Header("User-Agent"));
    QCOMPARE(request.Header("Cookie"), QByteArray("visit=1"));
  }

  QVERIFY(!progress.isEmpty());
  QCOMPARE(progress.first().at(1).toString(), target);
  QCOMPARE(finished.first().at(1).toString(), target);
  QVERIFY2(finished.first().at(2).toBool(), qPrintable(finished.first().at(3).toString()));
  QVERIFY(HasJapanese(finished.first().at(3).toString()));
  QFile saved(target);
  QVERIFY(saved.open(QIODevice::ReadOnly));
  QCOMPARE(saved.readAll(), kCsvBody);
  // The page the link was on stays.
  QCOMPARE(browser->LocationURL(), server_.Origin() + "/page.html");
}

void WebEngineExtrasTest::cancelledDownloadSavesNothing() {
  const QString name = "never-saved-20240102.zip";
  LocalHttpServer::Reply reply;
  reply.content_type = "application/zip";
  reply.body = QByteArray("PK\x03\x04 not really a zip", 22);
  reply.headers = {{"Content-Disposition", "attachment; filename=\"" + name.toLatin1() + "\""}};
  server_.Serve("/archive", reply);
  int asked = 0;
  QString proposed;
  WebBrowser::SetSaveFileHook([&](const sorvi::SaveFileQuestion& question) {
    ++asked;
    proposed = question.proposed_path;
    return QString();
  });
  auto browser = MakeBrowser();
  QSignalSpy progress(browser.get(), &WebBrowser::DownloadProgress);
  QSignalSpy finished(browser.get(), &WebBrowser::DownloadFinished);
  browser->Navigate(server_.Origin() + "/archive");
  QVERIFY(WaitUntil([&] { return asked == 1; }));
  QTest::qWait(500);
  QCOMPARE(asked, 1);
  QVERIFY(progress.isEmpty());
  QVERIFY(finished.isEmpty());
  QVERIFY(!QFile::exists(proposed));
  const QStringList leftovers = QDir(QFileInfo(proposed).absolutePath()).entryList({name + "*"});
  QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(',')));
}

void WebEngineExtrasTest::downloadLandsInAFolderThatExists_data() {
  QTest::addColumn<bool>("has_downloads");
  QTest::newRow("home without Downloads") << false;
  QTest::newRow("home with Downloads") << true;
}

// The program's own save dialog, saved as proposed.
void WebEngineExtrasTest::downloadLandsInAFolderThatExists() {
  QFETCH(bool, has_downloads);
  // Qt keeps the file dialog's settings path under this HOME and writes
  // there later: the scratch directories outlive the test.
  sorvi::testing::ScratchDir home, work;
  if (has_downloads) QVERIFY(QDir(home.Path()).mkdir("Downloads"));
  const QByteArray old_home = qgetenv("HOME");
  const QString old_directory = QDir::currentPath();
  qputenv("HOME", QFile::encodeName(home.Path()));
  qunsetenv("XDG_CONFIG_HOME");  // the desktop's folder names live under HOME then
  QDir::setCurrent(work.Path());
  const auto restore = qScopeGuard([&] {
    qputenv("HOME", old_home);
    QDir::setCurrent(old_directory);
  });

  LocalHttpServer::Reply reply;
  reply.content_type = "text/csv";
  reply.body = kCsvBody;
  reply.headers = {{"Content-Disposition", "attachment; filename=\"kabuka.csv\""}};
  server_.Serve("/kabuka", reply);
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  QTimer save;
  connect(&save, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      save.stop();
      QMetaObject::invokeMethod(dialog, "accept");  // 保存
    }
  });
  save.start(50);
  auto browser = MakeBrowser();
  QSignalSpy finished(browser.get(), &WebBrowser::DownloadFinished);
  browser->Navigate(server_.Origin() + "/kabuka");
  QVERIFY(WaitUntil([&] { return !finished.isEmpty(); }));

  QVERIFY2(finished.first().at(2).toBool(), qPrintable(finished.first().at(3).toString()));
  const QString folder = has_downloads ? home.File("Downloads") : home.Path();
  QCOMPARE(QFileInfo(finished.first().at(1).toString()).canonicalFilePath(),
           QDir(folder).canonicalPath() + "/kabuka.csv");
  const QStringList made_here = QDir(work.Path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
  QVERIFY2(made_here.isEmpty(), qPrintable(made_here.join(',')));
}

// ---- log-in --------------------------------------------------------------------------

void WebEngineExtrasTest::loginPromptAnswersServer() {
  LocalHttpServer::Reply reply;
  reply.body = "<html><body>members only</body></html>";
  reply.basic_login = "taro:kabu";
  reply.realm = "Members";
  reply.denied_body = "<html><body>please log in</body></html>";
  server_.Serve("/members/page", reply);

  QList<sorvi::LoginQuestion> asked;
  bool answer = false;
  WebBrowser::SetLoginHook([&](const sorvi::LoginQuestion& question, sorvi::LoginAnswer* login) {
    asked << question;
    if (!answer) return false;
    *login = {"taro", "kabu"};
    return true;
  });
  auto browser = MakeBrowser();

  // Cancelled: the server's own page for refused visitors is shown.
  QVERIFY(Load(browser.get(), server_.Origin() + "/members/page"));
  QCOMPARE(asked.size(), 1);
  QCOMPARE(asked[0].realm, QString("Members"));
  QCOMPARE(asked[0].host, QString("127.0.0.1:%1").arg(server_.Port()));
  QVERIFY(!asked[0].proxy);
  QCOMPARE(Js(browser.get(), "document.body.innerText").toString().trimmed(), QString("please log in"));

  // Answered: the server gets the log-in and shows the page.
  answer = true;
  server_.ClearRequests();
  browser->Refresh();
  QVERIFY(
      WaitUntil([&] { return Js(browser.get(), "document.body.innerText").toString().trimmed() == "members only"; }));
  QCOMPARE(asked.size(), 2);
  QCOMPARE(server_.RequestsFor("/members/page").last().Header("Authorization"),
           "Basic " + QByteArray("taro:kabu").toBase64());
}

// ---- certificates --------------------------------------------------------------------

void WebEngineExtrasTest::badCertificateAsksAndRemembersHost() {
  QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
  tls.setLocalCertificate(QSslCertificate(sorvi::testing::kTestCertificatePem));
  tls.setPrivateKey(QSslKey(sorvi::testing::kTestKeyPem, QSsl::Rsa));
  tls.setPeerVerifyMode(QSslSocket::VerifyNone);
  LocalHttpServer https(tls);
  QVERIFY(https.IsListening());
  https.Serve("/secure.html", "<html><body>secure page</body></html>");

  QList<sorvi::CertificateQuestion> asked;
  bool go_on = false;
  WebBrowser::SetCertificateHook([&](const sorvi::CertificateQuestion& question) {
    asked << question;
    return go_on;
  });
  auto browser = MakeBrowser();

  // Refused: nothing reaches the server, the engine shows its error page.
  QVERIFY(Load(browser.get(), https.Origin() + "/secure.html"));
  QCOMPARE(asked.size(), 1);
  QCOMPARE(asked[0].host, QString("127.0.0.1"));
  QVERIFY2(HasJapanese(asked[0].error), qPrintable(asked[0].error));
  QCOMPARE(https.Count("/secure.html"), 0);
  QVERIFY(Js(browser.get(), "document.body.innerText").toString() != "secure page");

  // Continued: the page loads; later visits to the host are not asked again.
  go_on = true;
  QVERIFY(Load(browser.get(), https.Origin() + "/secure.html"));
  QCOMPARE(asked.size(), 2);
  QCOMPARE(Js(browser.get(), "document.body.innerText").toString().trimmed(), QString("secure page"));
  auto other = MakeBrowser();
  QVERIFY(Load(other.get(), https.Origin() + "/secure.html?again"));
  QCOMPARE(Js(other.get(), "document.body.innerText").toString().trimmed(), QString("secure page"));
  QCOMPARE(asked.size(), 2);
}

// ---- permissions and full screen -------------------------------------------------------

void WebEngineExtrasTest::permissionsRefusedWithoutAsking() {
  server_.Serve("/ask.html", R"html(<html><body><script>
    window.results = {};
    navigator.geolocation.getCurrentPosition(() => results.geo = 'granted', e => results.geo = 'refused ' + e.code);
    Notification.requestPermission().then(p => results.notify = p);
  </script></body></html>)html");
  auto browser = MakeBrowser();
  QVERIFY(Load(browser.get(), server_.Origin() + "/ask.html"));
  // Unanswered, both would wait for ever.
  QVERIFY(WaitUntil([&] { return Js(browser.get(), "Object.keys(results).length").toString() == "2"; }));
  QCOMPARE(Js(browser.get(), "results.geo").toString(), QString("refused 1"));  // PERMISSION_DENIED
  QCOMPARE(Js(browser.get(), "results.notify").toString(), QString("denied"));
}

SORVI_WEB_TEST_MAIN(WebEngineExtrasTest)

#include "web_engine_extras_test.moc"
