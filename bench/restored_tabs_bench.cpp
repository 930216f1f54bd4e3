// Start-up with the last run's tabs: from process start to the shown tab's
// page loaded, with 30 tabs brought back against one. Each variant is a
// fresh process over local pages; the figures are medians of several runs.
//
//   xvfb-run -a build/restored_tabs_bench [runs]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "bench_figures.h"
#include "core/settings/settings_file.h"
#include "core/tabs/session.h"
#include "platform/web_browser.h"
#include "tabs/tab_controller.h"

namespace {

int RunChild(int argc, char** argv, const QString& dir) {
  sorvi::PrepareWebEngineBeforeQApplication();
  QApplication app(argc, argv);
  sorvi::TFormMain window(dir);
  window.show();
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&window] {
    const sorvi::WebBrowser* browser = window.Subsystems().tabs->ActiveBrowser();
    if (!browser || browser->Busy() || !browser->LocationURL().endsWith("shown.html")) return;
    std::printf("loaded %d\n", window.Subsystems().tabs->Count());
    std::fflush(stdout);
    std::_Exit(0);
  });
  poll.start(2);
  return app.exec();
}

// A data directory whose kept session has `count` tabs of local pages, the
// middle one shown. False when the settings could not be written.
bool WriteSession(const QString& dir, int count) {
  sorvi::Session session;
  for (int i = 0; i < count; ++i) {
    const QString name = i == count / 2 ? "shown.html" : QString("p%1.html").arg(i);
    QFile page(dir + "/" + name);
    page.open(QIODevice::WriteOnly);
    page.write("<html><head><title>p</title></head><body>" + QByteArray(2000, 'x') + "</body></html>");
    const std::string address = QUrl::fromLocalFile(dir + "/" + name).toEncoded().toStdString();
    session.tabs.push_back({address, "p", false, i % 3 == 0 ? 4 : 0, false, false});
  }
  session.current = count / 2;
  sorvi::SettingsFile ini(QFile::encodeName(dir + "/Sorvi.ini").toStdString());
  sorvi::WriteSession(ini, session);
  return !ini.Commit().Failed();
}

double TimeOnce(const QString& self, const QString& dir) {
  return bench::TimeToFirstOutput(self, {"--child", dir}, 60000);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && QString(argv[1]) == "--child") return RunChild(argc, argv, argv[2]);
  const int runs = argc >= 2 ? std::max(1, atoi(argv[1])) : 7;
  QCoreApplication app(argc, argv);
  const QString self = QCoreApplication::applicationFilePath();
  QTemporaryDir one, thirty;
  if (!WriteSession(one.path(), 1) || !WriteSession(thirty.path(), 30)) {
    std::fprintf(stderr, "cannot write the kept session\n");
    return 1;
  }
  TimeOnce(self, one.path());  // warm the caches
  std::vector<double> one_runs, thirty_runs;
  for (int i = 0; i < runs; ++i) {
    one_runs.push_back(TimeOnce(self, one.path()));
    thirty_runs.push_back(TimeOnce(self, thirty.path()));
  }
  const double a = bench::Median(one_runs), b = bench::Median(thirty_runs);
  std::printf("process start to the shown tab's page loaded, median of %d runs\n", runs);
  std::printf("  1 tab brought back    %7.1f ms\n", a);
  std::printf("  30 tabs brought back  %7.1f ms   ratio %.2f (target: no slower, <= 1.05)\n", b, b / a);
  return 0;
}
