// Flipping to the next stock: the time from the Alt+Down press until the
// next stock's chart page (a local page, its address from a bookmark) has
// loaded in the same tab, against navigating a bare QWebEngineView to the
// same addresses one after another. Each side runs in a fresh process
// (this program started with --child) with a window of the same size.
//
// Run under an X server: xvfb-run -a ./stock_flip_bench [rounds]
// As root the engine's sandbox must be off: QTWEBENGINE_DISABLE_SANDBOX=1.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/main_window.h"
#include "bench_figures.h"
#include "bookmarks/bookmark_list_controller.h"
#include "bookmarks/url_list_view.h"
#include "child_bench_main.h"
#include "codes/code_tree_view.h"
#include "platform/web_browser.h"
#include "tabs/tab_controller.h"

namespace {

constexpr int kStocks = 30;  // in two groups: the flips cross the boundary
constexpr int kWarmUp = 3;

QString Code(int i) { return QString::number(1001 + i); }

// Runs `start` and the event loop until `done` is emitted by `sender`.
template <typename Sender, typename Signal>
double TimeUntil(Sender* sender, Signal done, const std::function<void()>& start) {
  QEventLoop loop;
  QTimer::singleShot(30000, &loop, &QEventLoop::quit);
  const QMetaObject::Connection c = QObject::connect(sender, done, &loop, &QEventLoop::quit);
  QElapsedTimer clock;
  clock.start();
  start();
  loop.exec();
  QObject::disconnect(c);
  return double(clock.nsecsElapsed()) / 1e6;
}

void WaitExposed(QWidget* window) {
  window->resize(1200, 800);
  window->show();
  QDeadlineTimer deadline(5000);
  while (!(window->windowHandle() && window->windowHandle()->isExposed()) && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

int RunChild(const QString& mode, const QString& dir) {
  QFile page(dir + "/chart.html");
  if (!page.open(QIODevice::WriteOnly)) return 2;
  QByteArray html = "<html><head><title>Chart</title></head><body><table>";
  for (int i = 0; i < 200; ++i) html += "<tr><td>" + QByteArray::number(1000 + i) + "</td><td>123.4</td></tr>";
  page.write(html + "</table></body></html>");
  page.close();
  const QString address = QUrl::fromLocalFile(page.fileName()).toString() + "?s=";
  sorvi::WebEngine::SetStoragePath(dir + "/WebData");

  std::vector<double> times;
  if (mode == "program") {
    QFile codes(dir + "/SV_Code.txt"), list(dir + "/SV_List.txt");
    if (!codes.open(QIODevice::WriteOnly) || !list.open(QIODevice::WriteOnly)) return 2;
    for (int i = 0; i < kStocks; ++i) {
      if (i % (kStocks / 2) == 0) codes.write(QString("[group%1]\r\n").arg(i).toLatin1());
      codes.write((Code(i) + " stock\r\n").toLatin1());
    }
    list.write(("[chart]\r\n" + address + "%CD%\r\n").toUtf8());
    codes.close();
    list.close();
    sorvi::TFormMain form(dir);
    WaitExposed(&form);
    auto* tree = form.findChild<sorvi::CodeTreeView*>("TreeViewCode");
    auto* bookmarks = form.findChild<sorvi::UrlListView*>("ListViewURL");
    tree->RevealNode(sorvi::NodePos{0, 0});
    bookmarks->setCurrentItem(bookmarks->topLevelItem(0));
    form.Subsystems().bookmarks->OpenSelectedBookmark(Qt::NoModifier);
    sorvi::WebBrowser* browser = form.Subsystems().tabs->ActiveBrowser();
    TimeUntil(browser, &sorvi::WebBrowser::DownloadComplete, [] {});
    for (int i = 1; i < kStocks; ++i) {
      tree->setFocus();
      times.push_back(TimeUntil(browser, &sorvi::WebBrowser::DownloadComplete, [tree] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::AltModifier);
        QCoreApplication::sendEvent(tree, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::AltModifier);
        QCoreApplication::sendEvent(tree, &release);
      }));
      // Each flip loads the next stock's page in the same tab.
      if (form.Subsystems().tabs->Count() != 1 || form.Subsystems().tabs->ActiveBrowser() != browser ||
          !browser->LocationURL().endsWith("?s=" + Code(i)))
        return 3;
    }
  } else {
    QWebEngineView view;
    WaitExposed(&view);
    for (int i = 0; i < kStocks; ++i) {
      const double ms = TimeUntil(&view, &QWebEngineView::loadFinished, [&] { view.load(QUrl(address + Code(i))); });
      if (i > 0) times.push_back(ms);
    }
  }
  if (mode != "bare") sorvi::WebEngine::Shutdown();
  times.erase(times.begin(), times.begin() + kWarmUp);
  std::printf("ms=%.2f\n", bench::Median(times));
  std::fflush(stdout);
  return 0;
}

int RunParent(const QString& program, int rounds) {
  QTemporaryDir scratch;
  QMap<QString, std::vector<double>> figures;
  for (int round = 0; round < rounds; ++round) {
    for (const QString mode : {QStringLiteral("program"), QStringLiteral("bare")}) {
      const QString dir = scratch.path() + QString("/%1-%2").arg(mode).arg(round);
      QDir().mkpath(dir);
      QProcess child;
      bench::PrepareChild(child);
      child.start(program, {"--child", mode, dir});
      if (!child.waitForFinished(300000) || child.exitCode() != 0) {
        std::fprintf(stderr, "stock_flip_bench: the %s run failed (as root, set QTWEBENGINE_DISABLE_SANDBOX=1)\n",
                     qPrintable(mode));
        return 1;
      }
      for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (line.startsWith("ms=")) figures[mode].push_back(line.mid(3).toDouble());
      }
    }
  }
  const double program_ms = bench::Median(figures["program"]), bare_ms = bench::Median(figures["bare"]);
  std::printf("Next stock's chart loaded, median over %d flips in each of %d fresh processes (1200x800)\n",
              kStocks - 1 - kWarmUp, rounds);
  std::printf("%-46s %9.1f ms\n", "Alt+Down to the page loaded in the same tab", program_ms);
  std::printf("%-46s %9.1f ms\n", "bare QWebEngineView navigated to it", bare_ms);
  std::printf("ratio program / bare view: %.2f (target <= 1.1)\n", program_ms / bare_ms);
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) { return bench::ChildBenchMain(argc, argv, RunChild, RunParent); }
