// Four charts side by side against four tabs: the time from asking for four
// pages (each in a tab of its own) until all four have loaded, once with one
// tile (three of them hidden) and once in 2x2 (all four on screen), in the
// program's own window; the memory of the process tree with the four pages
// open. Rounds alternate the two ways in one process after a first page has
// started the engine.
//
// Run under an X server: xvfb-run -a ./tiles_bench [rounds] [screenshot.png]
// As root the engine's sandbox must be off: QTWEBENGINE_DISABLE_SANDBOX=1.
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "app/main_window.h"
#include "bench_figures.h"
#include "core/tabs/tile_layout.h"
#include "platform/japanese_locale.h"
#include "platform/web_browser.h"
#include "process_tree.h"
#include "tabs/open_request.h"
#include "tabs/tab_controller.h"

namespace {

constexpr int kPages = 4;

void Settle(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// A page that looks like a chart: a price line drawn as SVG.
QByteArray ChartPage(int code, int seed) {
  QByteArray points;
  double price = 1000 + seed * 150;
  for (int x = 0; x <= 400; x += 4) {
    price += std::sin(x * 0.05 + seed) * 12 + ((x * 7 + seed * 13) % 11 - 5) * 3;
    points += QByteArray::number(x) + "," + QByteArray::number(int(300 - (price - 800) / 4)) + " ";
  }
  return "<html><head><meta charset='utf-8'><title>" + QByteArray::number(code) +
         "</title></head><body style='margin:4px;font-family:sans-serif'><h3>" + QByteArray::number(code) +
         " 日足</h3><svg viewBox='0 0 400 300' width='100%' height='75%' style='background:#f8f8ff'>"
         "<polyline fill='none' stroke='#c03030' stroke-width='2' points='" +
         points + "'/></svg></body></html>";
}

// Milliseconds until `count` new tabs have loaded their pages.
double OpenPages(sorvi::TFormMain& form, const std::vector<QString>& urls) {
  QEventLoop loop;
  int loaded = 0;
  QTimer::singleShot(30000, &loop, &QEventLoop::quit);
  QElapsedTimer clock;
  clock.start();
  for (const QString& url : urls) {
    sorvi::OpenRequest request;
    request.typed = url;
    request.new_tab = true;
    form.Subsystems().tabs->Open(request);
    QObject::connect(form.Subsystems().tabs->ActiveBrowser(), &sorvi::WebBrowser::DownloadComplete, &loop, [&] {
      if (++loaded == int(urls.size())) loop.quit();
    });
  }
  if (loaded < int(urls.size())) loop.exec();
  return double(clock.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
  sorvi::PrepareWebEngineBeforeQApplication();
  QApplication app(argc, argv);
  sorvi::UseJapanese(&app);
  const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  const QString shot = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

  QTemporaryDir dir;
  std::vector<QString> urls;
  for (int i = 1; i <= kPages; ++i) {
    QFile page(dir.filePath(QString("chart%1.html").arg(i)));
    if (!page.open(QIODevice::WriteOnly)) return 2;
    page.write(ChartPage(i * 1111, i));
    urls.push_back(QUrl::fromLocalFile(page.fileName()).toString());
  }
  sorvi::WebEngine::SetStoragePath(dir.filePath("WebData"));
  std::map<std::string, std::vector<double>> figures;
  {
    sorvi::TFormMain form(dir.path() + "/");
    form.move(0, 0);  // all of it on the screen, for the picture
    form.resize(1200, 800);
    form.show();
    QDeadlineTimer deadline(5000);
    while (!(form.windowHandle() && form.windowHandle()->isExposed()) && !deadline.hasExpired()) Settle(10);
    // The engine starts with the first page, which neither way pays for.
    OpenPages(form, {urls[0]});
    form.Subsystems().tabs->CloseActiveTab();

    for (int round = 0; round < rounds; ++round) {
      for (const auto& [name, layout] :
           {std::pair{"tabs", sorvi::TileLayout::kSingle}, std::pair{"tiles", sorvi::TileLayout::kGrid2x2}}) {
        form.Subsystems().tabs->SetTiles(layout);
        figures[std::string(name) + "_open_ms"].push_back(OpenPages(form, urls));
        Settle(1000);
        figures[std::string(name) + "_pss_mib"].push_back(bench::SampleTree().pss_mib);
        if (!shot.isEmpty() && layout != sorvi::TileLayout::kSingle && round == rounds - 1) {
          form.screen()->grabWindow(form.winId()).save(shot);
        }
        while (form.Subsystems().tabs->HasTabs()) form.Subsystems().tabs->CloseActiveTab();
        Settle(500);
      }
    }
  }
  sorvi::WebEngine::Shutdown();
  for (const auto& [key, values] : figures)
    std::printf("%s=%.1f (median of %zu)\n", key.c_str(), bench::Median(values), values.size());
  return 0;
}
