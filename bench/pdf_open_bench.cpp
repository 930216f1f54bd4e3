// A PDF in its tab: the time from the click on a link to a 2 MB PDF (a
// results summary: Japanese text and a photo-like picture that does not
// compress) until the engine's viewer has drawn its first page, with the
// PDF served by a local web server in this process. The document is made
// first by the engine itself (printed from a page); "--keep PATH" also
// writes it to PATH, to look at or to serve elsewhere.
//
// Run under an X server: xvfb-run -a ./pdf_open_bench [rounds] [--keep PATH]
// As root the engine's sandbox must be off: QTWEBENGINE_DISABLE_SANDBOX=1.
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <vector>

#include "bench_figures.h"
#include "platform/web_browser.h"

namespace {

// Runs the event loop until `done` or `timeout_ms`; false on timeout.
bool WaitFor(const std::function<bool()>& done, int timeout_ms, int step_ms = 10) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeout_ms) return false;
    QEventLoop loop;
    QTimer::singleShot(step_ms, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

// The viewer has drawn a page: its dark tool bar along the top, white paper
// below it.
bool PdfPageDrawn(QWidget* view) {
  const QImage shot = view->grab().toImage();
  int paper = 0, bar = 0, top = 0, rest = 0;
  for (int y = 0; y < shot.height(); y += 4) {
    for (int x = 0; x < shot.width(); x += 4) {
      const QColor c = shot.pixelColor(x, y);
      if (y < 32) {
        ++top;
        bar += c.red() > 30 && c.red() < 70 && qAbs(c.red() - c.blue()) < 16;
      } else {
        ++rest;
        paper += c.red() > 250 && c.green() > 250 && c.blue() > 250;
      }
    }
  }
  return bar > top * 4 / 5 && paper > rest / 20;
}

// A page of a results summary, with a noisy picture big enough that the
// printed PDF weighs about 2 MB.
QByteArray SummaryPage() {
  QImage picture(820, 820, QImage::Format_RGB32);
  auto* random = QRandomGenerator::global();
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, random->generate() | 0xFF000000u);
  QBuffer png;
  png.open(QIODevice::WriteOnly);
  picture.save(&png, "PNG");
  QByteArray html =
      "<html><head><meta charset=utf-8><title>summary</title></head><body>"
      "<h1>2025年3月期 決算短信〔日本基準〕(連結)</h1>"
      "<p>上場会社名 そるび工業株式会社　コード番号 130A</p>"
      "<table border=1><tr><th>売上高</th><th>営業利益</th><th>経常利益</th></tr>"
      "<tr><td>123,456百万円</td><td>12,345百万円</td><td>13,579百万円</td></tr></table>";
  html += "<img style='width:16cm' src='data:image/png;base64," + png.data().toBase64() + "'>";
  for (int i = 0; i < 40; ++i) html += "<p>当連結会計年度における我が国経済は、緩やかな回復基調で推移しました。</p>";
  return html + "</body></html>";
}

// Serves the PDF and a page linking to it; everything else is not found.
class Server : public QObject {
 public:
  explicit Server(QByteArray pdf) : pdf_(std::move(pdf)) {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
    server_.listen(QHostAddress::LocalHost);
  }
  QString Url(const QString& path) const {
    return QString("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
  }

 private:
  void Answer(QTcpSocket* socket) {
    const QByteArray request = socket->readAll();
    const QByteArray path = request.split(' ').value(1);
    QByteArray type = "text/html; charset=utf-8", body;
    if (path == "/doc.pdf") {
      type = "application/pdf";
      body = pdf_;
    } else if (path.startsWith("/links.html")) {
      body = "<html><head><title>links</title></head><body><a id=l href='/doc.pdf'>pdf</a></body></html>";
    }
    const QByteArray status = body.isEmpty() ? "404 Not Found" : "200 OK";
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\nCache-Control: no-store\r\n" +
                  "Connection: close\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    socket->disconnectFromHost();
  }

  QByteArray pdf_;
  QTcpServer server_;
};

}  // namespace

int main(int argc, char* argv[]) {
  sorvi::PrepareWebEngineBeforeQApplication();
  QApplication app(argc, argv);
  int rounds = 5;
  QString keep;
  for (int i = 1; i < argc; ++i) {
    if (QByteArray(argv[i]) == "--keep" && i + 1 < argc) {
      keep = QString::fromLocal8Bit(argv[++i]);
    } else {
      rounds = std::max(1, std::atoi(argv[i]));
    }
  }
  QTemporaryDir dir;
  sorvi::WebEngine::SetStoragePath(dir.filePath("WebData"));

  QWidget window;
  window.resize(1024, 768);
  auto* browser = sorvi::WebBrowser::Create(nullptr, &window);
  browser->SetFillsParent(true);
  window.show();

  // The document, printed by the engine from the summary page.
  QFile page(dir.filePath("summary.html"));
  if (!page.open(QIODevice::WriteOnly)) return 1;
  page.write(SummaryPage());
  page.close();
  bool loaded = false;
  QObject::connect(browser, &sorvi::WebBrowser::DownloadComplete, [&] { loaded = true; });
  browser->Navigate(QUrl::fromLocalFile(page.fileName()).toString());
  if (!WaitFor([&] { return loaded; }, 30000)) return 1;
  const QString pdf_path = keep.isEmpty() ? dir.filePath("doc.pdf") : keep;
  int printed = -1;
  browser->PrintToPdf(pdf_path, [&](bool ok) { printed = ok; });
  if (!WaitFor([&] { return printed >= 0; }, 30000) || !printed) return 1;
  QFile pdf(pdf_path);
  if (!pdf.open(QIODevice::ReadOnly)) return 1;
  Server server(pdf.readAll());
  std::printf("pdf_bytes=%lld\n", static_cast<long long>(pdf.size()));

  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    loaded = false;
    browser->Navigate(server.Url(QString("/links.html?%1").arg(round)));
    if (!WaitFor([&] { return loaded && !PdfPageDrawn(browser); }, 30000)) return 1;
    QElapsedTimer timer;
    timer.start();
    browser->RunJavaScript("document.getElementById('l').click()");
    if (!WaitFor([&] { return PdfPageDrawn(browser); }, 30000)) {
      std::fprintf(stderr, "round %d: no page drawn\n", round);
      return 1;
    }
    times.push_back(timer.nsecsElapsed() / 1e6);
  }
  std::printf("pdf_click_to_first_page_ms=%.1f (median of %d)\n", bench::Median(times), rounds);
  return 0;
}
