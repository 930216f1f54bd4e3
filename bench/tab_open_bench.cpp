// Opening tabs: the time from making a tab's browser and telling it to load
// a local page until the page has loaded, through WebBrowser and through a
// bare QWebEngineView, for the first and the tenth tab; the memory of the
// whole process tree (the program and the engine's helper processes) per
// additional tab; and the memory left behind after opening and closing 50
// tabs. Each measurement runs in a fresh process (this program started with
// --child), so the first tab pays for starting the engine every time.
//
// Run under an X server: xvfb-run -a ./tab_open_bench [rounds]
// As root the engine's sandbox must be off: QTWEBENGINE_DISABLE_SANDBOX=1.
#include <unistd.h>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/main_window.h"
#include "bench_figures.h"
#include "child_bench_main.h"
#include "platform/web_browser.h"
#include "process_tree.h"
#include "tabs/address_box.h"
#include "tabs/tab_controller.h"

namespace {

constexpr int kTabs = 10;
constexpr int kChurnTabs = 50;

using Memory = bench::TreeSample;

// RSS and PSS summed over this process and all its descendants.
Memory SampleMemory() { return bench::SampleTree(); }

// Runs the event loop for `ms` milliseconds.
void Settle(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// One process: open tabs one by one, each made the current tab. "program"
// goes the program's own way (the address box and OpenTypedAddress
// in the main window), "wrapper" adds WebBrowsers to a plain tab widget,
// "bare" adds QWebEngineViews to it.
class TabOpener {
 public:
  TabOpener(const QString& mode, const QUrl& page, const QString& dir) : mode_(mode), page_(page) {
    // Windows of one size: under software GL each repaint composes the whole
    // window, so a bigger one would cost more for that alone.
    QWidget* window = &tabs_;
    if (mode_ == "program") {
      form_ = std::make_unique<sorvi::TFormMain>(dir);
      window = form_.get();
    }
    window->resize(1200, 800);
    window->show();
    QDeadlineTimer deadline(5000);
    while (!(window->windowHandle() && window->windowHandle()->isExposed()) && !deadline.hasExpired()) Settle(10);
  }

  // Milliseconds from asking for the tab until its page has loaded.
  double OpenTab() {
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    timeout.start(30000);
    QElapsedTimer clock;
    clock.start();
    if (form_) {
      form_->Subsystems().address->Show(page_.toString());
      form_->OpenTypedAddress(Qt::NoModifier);
      QObject::connect(form_->Subsystems().tabs->ActiveBrowser(), &sorvi::WebBrowser::DownloadComplete, &loop,
                       &QEventLoop::quit);
    } else if (mode_ == "wrapper") {
      auto* browser = sorvi::WebBrowser::Create();
      QObject::connect(browser, &sorvi::WebBrowser::DownloadComplete, &loop, &QEventLoop::quit);
      tabs_.setCurrentIndex(tabs_.addTab(browser, "tab"));
      browser->Navigate(page_.toString());
    } else {
      auto* view = new QWebEngineView;
      QObject::connect(view, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
      tabs_.setCurrentIndex(tabs_.addTab(view, "tab"));
      view->load(page_);
    }
    loop.exec();
    return double(clock.nsecsElapsed()) / 1e6;
  }

  void CloseLastTab() {
    if (form_) {
      form_->Subsystems().tabs->CloseActiveTab();
      return;
    }
    QWidget* tab = tabs_.widget(tabs_.count() - 1);
    tabs_.removeTab(tabs_.count() - 1);
    delete tab;
  }

 private:
  QString mode_;
  QUrl page_;
  QTabWidget tabs_;
  std::unique_ptr<sorvi::TFormMain> form_;
};

void Print(const char* key, double value) { std::printf("%s=%.2f\n", key, value); }

// `dir` belongs to the parent, which removes it: the engine still writes
// into its storage a moment after this process has let go of it.
int RunChild(const QString& mode, const QString& dir) {
  QFile page(dir + "/page.html");
  if (!page.open(QIODevice::WriteOnly)) return 2;
  QByteArray html = "<html><head><title>Chart</title></head><body><table>";
  for (int i = 0; i < 200; ++i) html += "<tr><td>" + QByteArray::number(1000 + i) + "</td><td>123.4</td></tr>";
  page.write(html + "</table></body></html>");
  page.close();
  sorvi::WebEngine::SetStoragePath(dir + "/WebData");

  const Memory base = SampleMemory();
  {
    TabOpener opener(mode, QUrl::fromLocalFile(page.fileName()), dir);
    std::vector<double> times;
    times.push_back(opener.OpenTab());
    Settle(500);
    const Memory one = SampleMemory();
    for (int i = 1; i < kTabs; ++i) times.push_back(opener.OpenTab());
    Settle(500);
    const Memory ten = SampleMemory();
    Print("first_ms", times.front());
    Print("tenth_ms", times.back());
    Print("base_pss", base.pss_mib);
    Print("one_pss", one.pss_mib);
    Print("one_rss", one.rss_mib);
    Print("ten_pss", ten.pss_mib);
    Print("ten_rss", ten.rss_mib);
    Print("ten_processes", ten.processes);
    Print("per_tab_pss", (ten.pss_mib - one.pss_mib) / (kTabs - 1));
    Print("per_tab_rss", (ten.rss_mib - one.rss_mib) / (kTabs - 1));

    double churn_total = 0;
    for (int i = 0; i < kChurnTabs; ++i) {
      churn_total += opener.OpenTab();
      opener.CloseLastTab();
      QCoreApplication::processEvents();
    }
    Settle(2000);
    const Memory after = SampleMemory();
    Print("churn_open_ms", churn_total / kChurnTabs);
    Print("churn_growth_pss", after.pss_mib - ten.pss_mib);
    Print("churn_growth_rss", after.rss_mib - ten.rss_mib);
    Print("churn_processes", after.processes);
  }
  if (mode != "bare") sorvi::WebEngine::Shutdown();
  std::fflush(stdout);
  return 0;
}

int RunParent(const QString& program, int rounds) {
  QTemporaryDir scratch;
  QMap<QString, QMap<QString, std::vector<double>>> figures;  // mode -> key -> values
  for (int round = 0; round < rounds; ++round) {
    for (const QString mode : {QStringLiteral("program"), QStringLiteral("wrapper"), QStringLiteral("bare")}) {
      const QString dir = scratch.path() + QString("/%1-%2").arg(mode).arg(round);
      QDir().mkpath(dir);
      QProcess child;
      bench::PrepareChild(child);
      child.start(program, {"--child", mode, dir});
      if (!child.waitForFinished(300000) || child.exitCode() != 0) {
        std::fprintf(stderr, "tab_open_bench: the %s run failed (as root, set QTWEBENGINE_DISABLE_SANDBOX=1)\n",
                     qPrintable(mode));
        return 1;
      }
      for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0) figures[mode][QString::fromLatin1(line.left(eq))].push_back(line.mid(eq + 1).toDouble());
      }
    }
  }
  auto m = [&](const char* mode, const char* key) { return bench::Median(figures[mode][key]); };
  std::printf("Tab opening, median of %d fresh processes each (local page, 1200x800 windows)\n", rounds);
  std::printf("%-44s %12s %12s %12s\n", "", "program", "WebBrowser", "bare view");
  auto row = [&](const char* label, const char* key, const char* unit) {
    std::printf("%-44s %9.1f %-2s %9.1f %-2s %9.1f %-2s\n", label, m("program", key), unit, m("wrapper", key), unit,
                m("bare", key), unit);
  };
  row("first tab: create + load until complete", "first_ms", "ms");
  row("tenth tab: create + load until complete", "tenth_ms", "ms");
  row("PSS of process tree, before any tab", "base_pss", "Mi");
  row("PSS of process tree, 1 tab", "one_pss", "Mi");
  row("RSS of process tree, 1 tab", "one_rss", "Mi");
  row("PSS of process tree, 10 tabs", "ten_pss", "Mi");
  row("RSS of process tree, 10 tabs", "ten_rss", "Mi");
  row("processes with 10 tabs", "ten_processes", "");
  row("PSS per additional tab", "per_tab_pss", "Mi");
  row("RSS per additional tab", "per_tab_rss", "Mi");
  row("open + close 50 tabs: mean open time", "churn_open_ms", "ms");
  row("open + close 50 tabs: PSS growth", "churn_growth_pss", "Mi");
  row("open + close 50 tabs: RSS growth", "churn_growth_rss", "Mi");
  row("processes after closing them", "churn_processes", "");
  std::printf("first tab ratio program / bare view: %.2f, tenth tab: %.2f (target < 1.1)\n",
              m("program", "first_ms") / m("bare", "first_ms"), m("program", "tenth_ms") / m("bare", "tenth_ms"));
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) { return bench::ChildBenchMain(argc, argv, RunChild, RunParent); }
