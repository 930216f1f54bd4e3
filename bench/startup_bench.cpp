// Start-up time: from process start to the main window's first paint, for
// the program's window (empty lists, and lists of 4,000 stocks and 500
// bookmarks) against a bare QMainWindow built the same way. Each variant is
// a fresh process; the figures are medians of several runs.
//
//   xvfb-run -a build/startup_bench [runs]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFont>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "bench_figures.h"
#include "platform/cp932.h"
#include "platform/web_browser.h"

namespace {

class FirstPaint : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      std::printf("shown\n");
      std::fflush(stdout);
      std::_Exit(0);
    }
    return false;
  }
};

int RunChild(int argc, char** argv, const QString& variant, const QString& dir) {
  sorvi::PrepareWebEngineBeforeQApplication();
  QApplication app(argc, argv);
  QFont font("Noto Sans CJK JP");
  font.setPixelSize(12);
  QApplication::setFont(font);
  FirstPaint first_paint;
  if (variant == "bare") {
    QMainWindow window;
    window.setWindowTitle("bare");
    window.resize(640, 480);
    window.installEventFilter(&first_paint);
    window.show();
    return app.exec();
  }
  sorvi::TFormMain window(dir);
  window.installEventFilter(&first_paint);
  window.show();
  return app.exec();
}

void WriteBigLists(const QString& dir) {
  QByteArray codes, list;
  for (int g = 0; g < 40; ++g) {
    codes += sorvi::QStringToSjis(QString("[グループ%1]").arg(g)).c_str();
    codes += "\r\n";
    for (int s = 0; s < 100; ++s) {
      codes += QByteArray::number(1000 + g * 100 + s) + " " +
               QByteArray::fromStdString(sorvi::QStringToSjis(QString("サンプル銘柄ソニー表示%1").arg(s))) + "\r\n";
    }
  }
  for (int b = 0; b < 500; ++b) {
    list += QByteArray::fromStdString(
        sorvi::QStringToSjis(QString("[ブックマーク%1]*\r\n*%CD% %NM%\r\n+\\c\\r\r\n").arg(b)));
    list += "https://example.jp/chart?code=%CD%&n=" + QByteArray::number(b) + "\r\n";
  }
  for (auto [name, bytes] : {std::pair{"SV_Code.txt", codes}, std::pair{"SV_List.txt", list}}) {
    QFile f(dir + "/" + name);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
  }
}

// Milliseconds from starting the child to its "shown" line; -1 on failure.
double TimeOnce(const QString& self, const QString& variant, const QString& dir) {
  return bench::TimeToFirstOutput(self, {"--child", variant, dir}, 30000);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && QString(argv[1]) == "--child") return RunChild(argc, argv, argv[2], argv[3]);
  const int runs = argc >= 2 ? std::max(1, atoi(argv[1])) : 7;
  QCoreApplication app(argc, argv);
  const QString self = QCoreApplication::applicationFilePath();
  QTemporaryDir empty, big;
  WriteBigLists(big.path());
  TimeOnce(self, "bare", empty.path());  // warm the file cache
  // Round robin, so that a busy moment of the machine touches every variant.
  std::vector<double> bare_runs, empty_runs, big_runs;
  for (int i = 0; i < runs; ++i) {
    bare_runs.push_back(TimeOnce(self, "bare", empty.path()));
    empty_runs.push_back(TimeOnce(self, "sorvi", empty.path()));
    big_runs.push_back(TimeOnce(self, "sorvi", big.path()));
  }
  const double bare = bench::Median(bare_runs), sorvi_empty = bench::Median(empty_runs),
               sorvi_big = bench::Median(big_runs);
  std::printf("process start to first paint, median of %d runs\n", runs);
  std::printf("  bare QMainWindow              %7.1f ms\n", bare);
  std::printf("  sorvi, empty lists            %7.1f ms   ratio to bare %.2f (target < 1.3)\n", sorvi_empty,
              sorvi_empty / bare);
  std::printf("  sorvi, 4000 stocks / 500 bm   %7.1f ms   ratio to empty lists %.2f (target < 1.5)\n", sorvi_big,
              sorvi_big / sorvi_empty);
  return 0;
}
