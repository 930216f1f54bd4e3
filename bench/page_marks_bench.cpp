// Marking the user's stocks on a ranking page of 500 rows (six cells
// each): the script time of the first marking when the page is ready and
// of marking the whole page again (marks taken away and put back), with a
// list of 300 stocks of which 100 stand in the ranking.
//
//   QTWEBENGINE_DISABLE_SANDBOX=1 xvfb-run -a build/page_marks_bench
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <vector>

#include "bench_figures.h"
#include "platform/page_marks.h"
#include "platform/web_browser.h"

namespace {

QVariant RunApart(sorvi::WebBrowser& browser, const QString& script) {
  QVariant result;
  QEventLoop loop;
  browser.RunJavaScriptApart(script, [&](const QVariant& value) {
    result = value;
    loop.quit();
  });
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  loop.exec();
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  sorvi::PrepareWebEngineBeforeQApplication();
  QApplication app(argc, argv);
  QTemporaryDir dir;
  sorvi::WebEngine::SetStoragePath(dir.path() + "/WebData");

  QList<sorvi::page_marks::Stock> stocks;
  for (int i = 0; i < 300; ++i) {
    const QString code = QString::number(1300 + i * 5);  // every fifth ranking row's code
    stocks.push_back({code, QString("主力株: %1 サンプル銘柄%2").arg(code).arg(i)});
  }
  sorvi::page_marks::SetStocks(stocks);

  QString html = "<html><head><meta charset='utf-8'><title>ranking</title></head><body><table>";
  for (int row = 0; row < 500; ++row) {
    html += QString(
                "<tr><td>%1</td><td><a href='/s?code=%2'>%2</a></td><td>サンプル銘柄%1</td>"
                "<td>%3</td><td>+%4</td><td>%5株</td></tr>")
                .arg(row + 1)
                .arg(1300 + row)
                .arg(QString::number(1000 + row * 7) + ",5")
                .arg(row % 50)
                .arg(1000 * (row + 1));
  }
  html += "</table></body></html>";
  QFile file(dir.path() + "/ranking.html");
  file.open(QIODevice::WriteOnly);
  file.write(html.toUtf8());
  file.close();

  sorvi::WebBrowser browser;
  browser.resize(1000, 800);
  browser.show();
  QEventLoop loaded;
  QObject::connect(&browser, &sorvi::WebBrowser::DownloadComplete, &loaded, &QEventLoop::quit);
  browser.Navigate(QUrl::fromLocalFile(file.fileName()).toString());
  loaded.exec();
  // The first marking runs when the document is ready.
  double first = 0;
  for (int i = 0; i < 100 && first <= 0; ++i) first = RunApart(browser, "window.__sorviMarks.lastMs").toDouble();
  const int marks = RunApart(browser, "document.querySelectorAll('sorvi-mark').length").toInt();
  std::vector<double> again;
  for (int round = 0; round < 15; ++round) {
    again.push_back(RunApart(browser,
                             "(() => { const t = performance.now();"
                             " window.__sorviMarks.setTable(window.__sorviMarks.table());"
                             " return performance.now() - t; })()")
                        .toDouble());
  }
  std::printf("marking a ranking of 500 rows, 300 stocks in the list, %d marks\n", marks);
  std::printf("  first marking (script time)   %7.2f ms\n", first);
  std::printf("  whole page again, median      %7.2f ms\n", bench::Median(again));
  return 0;
}
