// Many tabs at once: 50 chart pages of one local site, and 50 spread over
// five sites (127.0.0.2 … 127.0.0.6), through the program's main window and
// through bare QWebEngineViews in a tab widget with the engine's defaults.
// For each: PSS and process count of the whole process tree at 1, 10 and
// 50 tabs; CPU time of the tree over an idle minute with 50 tabs of which
// 20 reload every 15 s (and how many of those reloads reached the server);
// memory after closing every tab, against the engine running with none.
// Each run is a fresh process (this program started with --child); the web
// servers live in the parent, so serving costs the measured tree nothing.
//
// Hidden tabs let their views go after a minute, within the idle minute; the
// figures after it show that. "keep" as third argument keeps every view, for
// comparison.
//
// "sleep" runs the program as the users who keep many tabs do: 4 tabs shown
// in 2×2 tiles (the bare views too), 20 of the hidden ones reloading every
// 15 s, with tabs out of sight sleeping after the fourth argument's seconds
// (20 at first; the option's shortest time is a minute, the bench shortens
// it) and, for comparison, with the option off; the idle minute starts once
// the sleep time is over. Also 26 tabs (the difference to 50 is 24 tabs asleep), and
// one process going from 26 to 50 tabs, all hidden ones asleep ("cost");
// waking a sleeping tab by a click in the strip against opening its address
// in a new tab; and 30 tabs with the page marks on against off (idle CPU).
// MANY_TABS_RUNS, a regular expression over the run keys (e.g. "/1"),
// picks some of the runs.
//
// Run under an X server:
//   xvfb-run -a ./many_tabs_bench [rounds] [idle seconds] [keep|sleep] [sleep seconds]
// As root the engine's sandbox must be off: QTWEBENGINE_DISABLE_SANDBOX=1.
#include <QApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGridLayout>
#include <QHash>
#include <QHostAddress>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <memory>
#include <numeric>
#include <vector>

#include "app/main_window.h"
#include "child_bench_main.h"
#include "core/tabs/reload_ticks.h"
#include "core/tabs/tab_sleep.h"
#include "core/tabs/tile_layout.h"
#include "platform/web_browser.h"
#include "process_tree.h"
#include "tabs/address_box.h"
#include "tabs/browser_tab.h"
#include "tabs/hidden_tab_keeper.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_sleeper.h"

namespace {

constexpr int kTabs = 50;
constexpr int kReloadingTabs = 20;

void Settle(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

void Print(const char* key, double value) { std::printf("%s=%.2f\n", key, value); }

// ---- the parent's web servers ------------------------------------------------

// A chart-like page: a table and a clock a script updates every second,
// as the quote pages do.
QByteArray ChartPage(const QByteArray& path) {
  QByteArray html = "<html><head><title>Chart " + path + "</title></head><body><p id=t></p><table>";
  for (int i = 0; i < 200; ++i) html += "<tr><td>" + QByteArray::number(1000 + i) + "</td><td>123.4</td></tr>";
  html +=
      "</table><script>setInterval(function(){document.getElementById('t').textContent=Date.now();},1000);"
      "</script></body></html>";
  return html;
}

// Answers every GET with a chart page and notes when it came.
class ChartServer : public QObject {
 public:
  explicit ChartServer(const QHostAddress& address) {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
      }
    });
    server_.listen(address);
  }
  bool Listening() const { return server_.isListening(); }
  QString Origin() const {
    return QString("http://%1:%2").arg(server_.serverAddress().toString()).arg(server_.serverPort());
  }
  // Requests received between the two times (milliseconds since the epoch).
  int CountBetween(qint64 from, qint64 to) const {
    return int(std::count_if(times_.begin(), times_.end(), [&](qint64 t) { return t >= from && t <= to; }));
  }

 private:
  void OnRead(QTcpSocket* socket) {
    QByteArray& buffer = buffers_[socket];
    buffer += socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) return;
    const QList<QByteArray> request_line = buffer.left(buffer.indexOf("\r\n")).split(' ');
    buffers_.remove(socket);
    const QByteArray path = request_line.size() > 1 ? request_line[1] : QByteArray("/");
    if (path == "/favicon.ico") {
      socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    } else {
      times_.push_back(QDateTime::currentMSecsSinceEpoch());
      const QByteArray body = ChartPage(path);
      socket->write(
          "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nCache-Control: no-store\r\n"
          "Connection: close\r\nContent-Length: " +
          QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }
    socket->disconnectFromHost();
  }

  QTcpServer server_;
  QHash<QTcpSocket*, QByteArray> buffers_;
  std::vector<qint64> times_;
};

// ---- one child process: one mode, one spread of sites ------------------------

// How the program child runs.
struct Variant {
  bool keep_views = false;  // hidden tabs keep their views
  bool tiles = false;       // 4 tabs shown in 2×2
  bool sleep = false;       // tabs out of sight sleep
  int sleep_after_ms = 0;   // and this soon
  bool marks = true;        // pages mark the user's stocks
};

// Opens, reloads and closes tabs the program's way (the address box, the
// navigate button, the tab's reload interval and the window's one reload
// timer) or on bare views in a plain tab widget.
class Tabs {
 public:
  Tabs(bool program, const Variant& variant, const QString& dir) {
    QWidget* window = &bare_window_;
    if (program) {
      // The options as the options dialog keeps them, read at the start.
      sorvi::SettingsFile ini(QFile::encodeName(dir + "/Sorvi.ini").toStdString());
      sorvi::WriteTabSleepOption(ini, sorvi::TabSleepOption{variant.sleep, sorvi::kSleepMinutesMin}, {});
      sorvi::WriteMarkStocksOption(ini, variant.marks);
      if (ini.Commit().Failed()) std::fprintf(stderr, "many_tabs_bench: cannot write Sorvi.ini\n");
      // Stocks that the chart pages show (their table's first column), so
      // that marking has work to do.
      QFile codes(dir + "/SV_Code.txt");
      if (codes.open(QIODevice::WriteOnly)) {
        codes.write("[Bench]\r\n");
        for (int code = 1000; code < 1200; code += 4) codes.write(QByteArray::number(code) + " Stock\r\n");
      }
      form_ = std::make_unique<sorvi::TFormMain>(dir);
      if (variant.keep_views) form_->findChild<sorvi::HiddenTabKeeper*>()->SetReleaseAfter(INT_MAX);
      if (variant.sleep_after_ms > 0) form_->Subsystems().tabs->Sleeper().SetSleepAfter(variant.sleep_after_ms);
      form_->resize(1200, 800);
      window = form_.get();
    } else {
      // Tiles for bare views: three views and the tab widget in a 2×2 grid.
      auto* grid = new QGridLayout(&bare_window_);
      grid->setContentsMargins(0, 0, 0, 0);
      grid->addWidget(&bare_, 0, 0);
      bare_grid_ = grid;
      bare_window_.resize(1000, 700);
    }
    window->show();
    QDeadlineTimer deadline(5000);
    while (!(window->windowHandle() && window->windowHandle()->isExposed()) && !deadline.hasExpired()) Settle(10);
  }

  void SetTiles() {
    if (form_) form_->Subsystems().tabs->SetTiles(sorvi::TileLayout::kGrid2x2);
    bare_tiles_ = !form_;
  }

  // Milliseconds until the new tab's page has loaded.
  double Open(const QString& url) {
    QEventLoop loop;
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    if (form_) {
      form_->Subsystems().address->Show(url);
      form_->OpenTypedAddress(Qt::NoModifier);
      QObject::connect(form_->Subsystems().tabs->ActiveBrowser(), &sorvi::WebBrowser::DownloadComplete, &loop,
                       &QEventLoop::quit);
    } else {
      auto* view = new QWebEngineView;
      QObject::connect(view, &QWebEngineView::loadFinished, &loop, &QEventLoop::quit);
      const int tiled = int(bare_views_.size()) + 1;  // the tab widget holds the first tile
      if (bare_tiles_ && tiled < 4) {
        bare_grid_->addWidget(view, tiled / 2, tiled % 2);
      } else {
        bare_.setCurrentIndex(bare_.addTab(view, "tab"));
      }
      bare_views_.push_back(view);
      view->load(QUrl(url));
    }
    loop.exec();
    return double(clock.nsecsElapsed()) / 1e6;
  }

  int Count() const { return form_ ? form_->Subsystems().tabs->Count() : int(bare_views_.size()); }
  bool Shown(int index) const {
    if (!form_) return bare_views_[size_t(index)]->isVisible();
    return form_->Subsystems().tabs->IsShown(form_->Subsystems().tabs->TabAt(index));
  }
  bool Asleep(int index) const { return form_ && form_->Subsystems().tabs->TabAt(index)->PageWaiting(); }
  int Asleep() const {
    int asleep = 0;
    for (int i = 0; i < Count(); ++i) asleep += Asleep(i) ? 1 : 0;
    return asleep;
  }

  // A sleeping tab whose place in the strip is on screen (the last such);
  // -1 when none.
  int SleepingInSight() const {
    QTabBar* bar = form_ ? form_->Subsystems().tabs->Strip() : nullptr;
    for (int i = Count() - 1; bar && i >= 0; --i) {
      if (Asleep(i) && bar->rect().contains(bar->tabRect(i))) return i;
    }
    return -1;
  }

  // Milliseconds from a click on the sleeping tab `index` in the strip
  // until its page has loaded again; -1 when it was not asleep.
  double Wake(int index) {
    if (index < 0 || !Asleep(index)) return -1;
    QTabBar* bar = form_->Subsystems().tabs->Strip();
    const QPointF at = bar->tabRect(index).center();
    const QPointF global = bar->mapToGlobal(at);
    QEventLoop loop;
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    QApplication::sendEvent(bar, &release);
    sorvi::WebBrowser* browser = form_->Subsystems().tabs->TabAt(index)->Browser();
    if (!browser || form_->Subsystems().tabs->ActiveIndex() != index) return -1;
    QObject::connect(browser, &sorvi::WebBrowser::DownloadComplete, &loop, &QEventLoop::quit);
    loop.exec();
    return double(clock.nsecsElapsed()) / 1e6;
  }

  // `count` hidden tabs reload every tick of a 15-second timer.
  void StartReloading(int count) {
    std::vector<int> hidden;
    for (int i = 0; i < Count() && int(hidden.size()) < count; ++i) {
      if (!Shown(i)) hidden.push_back(i);
    }
    if (form_) {
      for (int i : hidden) form_->Subsystems().tabs->TabAt(i)->SetReload(sorvi::ReloadState{1, 0});
      if (auto* timer = form_->findChild<QTimer*>("Timer")) timer->start();
      return;
    }
    QObject::connect(&bare_timer_, &QTimer::timeout, [this, hidden] {
      for (int i : hidden) bare_views_[size_t(i)]->reload();
    });
    bare_timer_.start(sorvi::kReloadTimerPeriodMs);
  }

  void CloseAll() {
    bare_timer_.stop();
    while (Count() > 0) {
      if (form_) {
        form_->Subsystems().tabs->CloseActiveTab();
      } else {
        delete bare_views_.back();
        bare_views_.pop_back();
      }
      QCoreApplication::processEvents();
    }
  }

 private:
  QWidget bare_window_;
  QTabWidget bare_;
  QGridLayout* bare_grid_ = nullptr;
  bool bare_tiles_ = false;
  std::vector<QWebEngineView*> bare_views_;
  QTimer bare_timer_;
  std::unique_ptr<sorvi::TFormMain> form_;
};

// What a sleeping tab costs, in one process: 26 tabs, all hidden ones
// asleep, then 24 more, asleep too; no reloads, so that only they differ.
int RunSleepCost(const Variant& variant, const QStringList& origins, const QString& dir) {
  sorvi::WebEngine::SetStoragePath(dir + "/WebData");
  {
    Tabs tabs(true, variant, dir);
    auto url = [&](int i) { return origins[i % origins.size()] + QString("/chart/%1").arg(i); };
    auto settle_asleep = [&tabs] {
      QDeadlineTimer deadline(180000);
      while (tabs.Asleep() < tabs.Count() - 1 && !deadline.hasExpired()) Settle(1000);
      Settle(3000);  // the freed memory goes back to the system
      return bench::SampleTree();
    };
    for (int i = 0; i < 26; ++i) tabs.Open(url(i));
    const bench::TreeSample some = settle_asleep();
    Print("cost_asleep_26", tabs.Asleep());
    for (int i = 26; i < kTabs; ++i) tabs.Open(url(i));
    const bench::TreeSample more = settle_asleep();
    Print("cost_asleep_50", tabs.Asleep());
    Print("cost_per_sleeping_tab_pss", (more.pss_mib - some.pss_mib) / (kTabs - 26));
    Print("cost_per_sleeping_tab_uss", (more.uss_mib - some.uss_mib) / (kTabs - 26));
    Print("cost_own_per_sleeping_tab_pss", (more.own_pss_mib - some.own_pss_mib) / (kTabs - 26));
  }
  sorvi::WebEngine::Shutdown();
  std::fflush(stdout);
  return 0;
}

int RunChild(bool program, const Variant& variant, int tab_count, const QStringList& origins, const QString& dir,
             int idle_seconds) {
  sorvi::WebEngine::SetStoragePath(dir + "/WebData");
  auto url = [&](int i) { return origins[i % origins.size()] + QString("/chart/%1").arg(i); };
  const bench::TreeSample before = bench::SampleTree();
  {
    Tabs tabs(program, variant, dir);
    // The engine running with no tab: what closing every tab comes back to.
    tabs.Open(url(0));
    tabs.CloseAll();
    Settle(3000);
    const bench::TreeSample started = bench::SampleTree();
    if (variant.tiles) tabs.SetTiles();

    std::vector<double> times;
    bench::TreeSample one, ten, fifty;
    for (int i = 0; i < tab_count; ++i) {
      times.push_back(tabs.Open(url(i)));
      if (i == 0 || i == 9) {
        Settle(1000);
        (i == 0 ? one : ten) = bench::SampleTree();
      }
    }
    Settle(2000);
    fifty = bench::SampleTree();

    tabs.StartReloading(kReloadingTabs);
    // The sleep time runs out (checks come a quarter of it apart).
    if (variant.sleep_after_ms > 0) Settle(variant.sleep_after_ms * 5 / 4 + 2000);
    const int asleep_before_idle = tabs.Asleep();
    Settle(1000);
    const qint64 idle_from = QDateTime::currentMSecsSinceEpoch();
    const bench::TreeSample idle_start = bench::SampleTree();
    Settle(idle_seconds * 1000);
    const bench::TreeSample idle_end = bench::SampleTree();
    const qint64 idle_to = QDateTime::currentMSecsSinceEpoch();
    const int asleep = tabs.Asleep();
    // A sleeping tab woken from the strip, then the same address opened anew.
    const int woken = tabs.SleepingInSight();
    const double wake_ms = tabs.Wake(woken);
    const double reopen_ms = wake_ms < 0 ? -1 : tabs.Open(url(woken));

    tabs.CloseAll();
    Settle(3000);
    const bench::TreeSample closed = bench::SampleTree();

    Print("before_pss", before.pss_mib);
    Print("started_pss", started.pss_mib);
    Print("started_processes", started.processes);
    Print("one_pss", one.pss_mib);
    Print("one_processes", one.processes);
    Print("ten_pss", ten.pss_mib);
    Print("ten_processes", ten.processes);
    Print("fifty_pss", fifty.pss_mib);
    Print("fifty_processes", fifty.processes);
    Print("per_tab_pss", (fifty.pss_mib - one.pss_mib) / (tab_count - 1));
    Print("open_first_ms", times.front());
    Print("open_tenth_ms", times[9]);
    Print("open_mean_ms", std::accumulate(times.begin(), times.end(), 0.0) / double(times.size()));
    Print("idle_cpu_s", idle_end.cpu_seconds - idle_start.cpu_seconds);
    Print("idle_own_cpu_s", idle_end.own_cpu_seconds - idle_start.own_cpu_seconds);
    Print("idle_cpu_percent", 100.0 * (idle_end.cpu_seconds - idle_start.cpu_seconds) * 1000.0 /
                                  double(std::max<qint64>(1, idle_to - idle_from)));
    Print("idle_pss", idle_end.pss_mib);
    Print("idle_own_pss", idle_end.own_pss_mib);
    Print("idle_uss", idle_end.uss_mib);
    Print("idle_processes", idle_end.processes);
    Print("idle_per_tab_pss", (idle_end.pss_mib - one.pss_mib) / (tab_count - 1));
    Print("idle_own_per_tab_pss", (idle_end.own_pss_mib - one.own_pss_mib) / (tab_count - 1));
    std::printf("idle_from=%lld\nidle_to=%lld\n", (long long)idle_from, (long long)idle_to);
    Print("asleep_before_idle", asleep_before_idle);
    Print("asleep", asleep);
    Print("wake_ms", wake_ms);
    Print("reopen_ms", reopen_ms);
    Print("closed_pss", closed.pss_mib);
    Print("closed_processes", closed.processes);
    Print("closed_growth_pss", closed.pss_mib - started.pss_mib);
    Print("closed_own_growth_pss", closed.own_pss_mib - started.own_pss_mib);
  }
  if (program) sorvi::WebEngine::Shutdown();
  std::fflush(stdout);
  return 0;
}

// ---- the parent: servers, runs, medians --------------------------------------

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Run {
  QString mode;     // "program" or "bare"
  QString variant;  // the program's: release, keep, on, off, marks, nomarks
  int sites = 1;    // 1 or 5
  int tabs = kTabs;
  QString Key() const {
    const QString name = mode == "bare" || variant == "release" || variant == "keep" ? mode : variant;
    return tabs == kTabs ? QString("%1/%2").arg(name).arg(sites) : QString("%1/%2/%3").arg(name).arg(sites).arg(tabs);
  }
};

int RunParent(const QString& program, int rounds, int idle_seconds, const QString& how, int sleep_seconds) {
  std::vector<std::unique_ptr<ChartServer>> servers;
  for (int i = 1; i <= 6; ++i) {
    servers.push_back(std::make_unique<ChartServer>(QHostAddress(QString("127.0.0.%1").arg(i))));
    if (!servers.back()->Listening()) {
      std::fprintf(stderr, "many_tabs_bench: cannot listen on 127.0.0.%d\n", i);
      return 1;
    }
  }
  QTemporaryDir scratch;
  const bool sleep = how == "sleep";
  std::vector<Run> runs;
  if (sleep) {
    for (int sites : {1, 5}) {
      runs.insert(runs.end(), {{"program", "on", sites},
                               {"program", "off", sites},
                               {"bare", "tiles", sites},
                               {"program", "on", sites, 26},
                               {"program", "cost", sites}});
    }
    runs.insert(runs.end(), {{"program", "marks", 1, 30}, {"program", "nomarks", 1, 30}});
  } else {
    runs = {{"program", how, 1}, {"bare", "", 1}, {"program", how, 5}, {"bare", "", 5}};
  }
  const QRegularExpression pick(qEnvironmentVariable("MANY_TABS_RUNS"));
  std::erase_if(runs, [&](const Run& run) { return !pick.match(run.Key()).hasMatch(); });
  QMap<QString, QMap<QString, std::vector<double>>> figures;
  for (int round = 0; round < rounds; ++round) {
    for (const Run& run : runs) {
      QStringList origins;
      if (run.sites == 1) {
        origins << servers[0]->Origin();
      } else {
        for (int i = 1; i <= 5; ++i) origins << servers[size_t(i)]->Origin();
      }
      const QString dir = scratch.path() +
                          QString("/%1-%2-%3-%4-%5").arg(run.mode, run.variant).arg(run.sites).arg(run.tabs).arg(round);
      QDir().mkpath(dir);
      QProcess child;
      bench::PrepareChild(child);
      QEventLoop loop;  // the servers answer while the child runs
      QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
      QObject::connect(&child, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
      child.start(program, {"--child", run.mode, dir, QString::number(idle_seconds), origins.join(','),
                            run.variant.isEmpty() ? "release" : run.variant, QString::number(run.tabs),
                            QString::number(sleep_seconds)});
      QTimer::singleShot(900000, &loop, &QEventLoop::quit);
      loop.exec();
      if (child.state() != QProcess::NotRunning || child.exitCode() != 0) {
        std::fprintf(stderr, "many_tabs_bench: the %s run failed (as root, set QTWEBENGINE_DISABLE_SANDBOX=1)\n",
                     qPrintable(run.Key()));
        child.kill();
        child.waitForFinished();
        return 1;
      }
      qint64 idle_from = 0, idle_to = 0;
      for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0) continue;
        const QByteArray key = line.left(eq);
        if (key == "idle_from") idle_from = line.mid(eq + 1).toLongLong();
        if (key == "idle_to") idle_to = line.mid(eq + 1).toLongLong();
        figures[run.Key()][QString::fromLatin1(key)].push_back(line.mid(eq + 1).toDouble());
      }
      int reloads = 0;
      for (const auto& server : servers) reloads += server->CountBetween(idle_from, idle_to);
      figures[run.Key()]["idle_reloads"].push_back(reloads);
      std::fprintf(stderr, "round %d %s done\n", round + 1, qPrintable(run.Key()));
    }
  }

  auto m = [&](const QString& key, const char* figure) { return Median(figures[key][figure]); };
  std::printf(
      "Many tabs, median of %d fresh processes each; %d tabs, %d of the hidden ones reloading every 15 s, %d s "
      "idle; %s\n",
      rounds, kTabs, kReloadingTabs, idle_seconds,
      how == "keep" ? "hidden tabs keep their views"
      : sleep ? qPrintable(QString("program and bare views in 2×2 tiles; 'on': tabs sleep after %1 s out of sight, "
                                   "the idle time starts after that")
                               .arg(sleep_seconds))
              : "hidden tabs let their views go");
  std::printf("%-40s", "");
  for (const Run& run : runs) std::printf(" %11s", qPrintable(run.Key()));
  std::printf("\n");
  auto row = [&](const char* label, const char* figure, const char* unit) {
    std::printf("%-40s", label);
    for (const Run& run : runs) std::printf(" %8.1f %-2s", m(run.Key(), figure), unit);
    std::printf("\n");
  };
  row("PSS, before the engine starts", "before_pss", "Mi");
  row("PSS, engine started, no tab", "started_pss", "Mi");
  row("PSS, 1 tab", "one_pss", "Mi");
  row("PSS, 10 tabs", "ten_pss", "Mi");
  row("PSS, all tabs open", "fifty_pss", "Mi");
  row("PSS per additional tab", "per_tab_pss", "Mi");
  row("processes, no tab", "started_processes", "");
  row("processes, 1 tab", "one_processes", "");
  row("processes, 10 tabs", "ten_processes", "");
  row("processes, all tabs open", "fifty_processes", "");
  row("open time, first tab", "open_first_ms", "ms");
  row("open time, tenth tab", "open_tenth_ms", "ms");
  row("open time, mean", "open_mean_ms", "ms");
  row("idle CPU time of the tree", "idle_cpu_s", "s");
  row("  of which the window's own process", "idle_own_cpu_s", "s");
  row("idle CPU, % of one core", "idle_cpu_percent", "%");
  row("reloads that reached the server", "idle_reloads", "");
  row("PSS after the idle time", "idle_pss", "Mi");
  row("  of the window's own process", "idle_own_pss", "Mi");
  row("USS (private pages) after the idle time", "idle_uss", "Mi");
  row("  per additional tab", "idle_per_tab_pss", "Mi");
  row("    of which the window's own process", "idle_own_per_tab_pss", "Mi");
  row("processes after the idle time", "idle_processes", "");
  if (sleep) {
    row("tabs asleep before the idle time", "asleep_before_idle", "");
    row("tabs asleep after the idle time", "asleep", "");
    row("waking a sleeping tab by a click", "wake_ms", "ms");
    row("  its address opened in a new tab", "reopen_ms", "ms");
  }
  row("PSS after closing all", "closed_pss", "Mi");
  row("  growth against no tab", "closed_growth_pss", "Mi");
  row("    of which the window's own process", "closed_own_growth_pss", "Mi");
  row("processes after closing all", "closed_processes", "");
  auto has = [&](const QString& key) { return figures.contains(key); };
  const double cpu_floor = 0.01;
  for (int sites : {1, 5}) {
    const QString b = QString("bare/%1").arg(sites);
    if (!has(b)) continue;
    for (const QString& p : sleep ? QStringList{"on", "off"} : QStringList{"program"}) {
      const QString key = QString("%1/%2").arg(p).arg(sites);
      if (!has(key)) continue;
      std::printf(
          "%d site(s), %s: PSS after the idle time program/bare %.2f, idle CPU program/bare %.2f, "
          "reloads at the server %.0f (bare %.0f)\n",
          sites, qPrintable(p), m(key, "idle_pss") / m(b, "idle_pss"),
          m(key, "idle_cpu_s") / std::max(cpu_floor, m(b, "idle_cpu_s")), m(key, "idle_reloads"), m(b, "idle_reloads"));
    }
  }
  for (int sites : {1, 5}) {
    const QString on = QString("on/%1").arg(sites), on26 = QString("on/%1/26").arg(sites);
    const QString cost = QString("cost/%1").arg(sites);
    if (has(cost)) {
      std::printf(
          "%d site(s), one process, no reloads: per sleeping tab (26 → 50 tabs, %.0f → %.0f asleep) PSS %.2f MiB, "
          "USS %.2f MiB, of which the window's own process %.2f MiB (PSS)\n",
          sites, m(cost, "cost_asleep_26"), m(cost, "cost_asleep_50"), m(cost, "cost_per_sleeping_tab_pss"),
          m(cost, "cost_per_sleeping_tab_uss"), m(cost, "cost_own_per_sleeping_tab_pss"));
    }
    if (has(on) && has(on26)) {
      const double asleep = std::max(1.0, m(on, "asleep") - m(on26, "asleep"));
      std::printf(
          "%d site(s), on: per sleeping tab (50 against 26 tabs, %.0f against %.0f asleep) PSS %.2f MiB, USS %.2f "
          "MiB\n",
          sites, m(on, "asleep"), m(on26, "asleep"), (m(on, "idle_pss") - m(on26, "idle_pss")) / asleep,
          (m(on, "idle_uss") - m(on26, "idle_uss")) / asleep);
    }
    if (has(on)) {
      std::printf("%d site(s), on: waking by a click/opening anew %.2f\n", sites,
                  m(on, "wake_ms") / std::max(0.01, m(on, "reopen_ms")));
    }
  }
  if (has("marks/1/30") && has("nomarks/1/30")) {
    std::printf("30 tabs, page marks on/off: idle CPU %.2f s / %.2f s = %.2f\n", m("marks/1/30", "idle_cpu_s"),
                m("nomarks/1/30", "idle_cpu_s"),
                m("marks/1/30", "idle_cpu_s") / std::max(cpu_floor, m("nomarks/1/30", "idle_cpu_s")));
  }
  std::printf("expected reloads in the idle window: %d every 15 s, %d to %d\n", kReloadingTabs,
              kReloadingTabs * (idle_seconds / 15), kReloadingTabs * (idle_seconds / 15 + 1));
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc >= 9 && QByteArray(argv[1]) == "--child") {
    const bool program = QByteArray(argv[2]) == "program";
    // The bare view runs with the engine's defaults.
    if (program) {
      sorvi::PrepareWebEngineBeforeQApplication();
    } else {
      QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    }
    QApplication app(argc, argv);
    const QByteArray name = argv[6];
    Variant variant;
    variant.keep_views = name == "keep";
    variant.tiles = name == "on" || name == "off" || name == "marks" || name == "nomarks" || name == "tiles";
    variant.sleep = name == "on" || name == "cost";
    variant.sleep_after_ms = variant.sleep ? std::atoi(argv[8]) * 1000 : 0;
    variant.marks = name != "nomarks";
    if (name == "cost")
      return RunSleepCost(variant, QString::fromLatin1(argv[5]).split(','), QString::fromLocal8Bit(argv[3]));
    return RunChild(program, variant, std::atoi(argv[7]), QString::fromLatin1(argv[5]).split(','),
                    QString::fromLocal8Bit(argv[3]), std::atoi(argv[4]));
  }
  const int rounds = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 3;
  const int idle_seconds = argc >= 3 ? std::max(15, std::atoi(argv[2])) : 60;
  const QString how = argc >= 4 ? QString::fromLatin1(argv[3]) : QString("release");
  const int sleep_seconds = argc >= 5 ? std::max(1, std::atoi(argv[4])) : 20;
  QCoreApplication app(argc, argv);
  return RunParent(QCoreApplication::applicationFilePath(), rounds, idle_seconds, how, sleep_seconds);
}
