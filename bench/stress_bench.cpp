// The window under load, with figures: a page opening a burst of pop-ups
// that close themselves (how long until they are all open and all gone, and
// the tabs left), tabs opened through the address box and closed again
// hundreds of times (time per cycle, memory of the whole process tree
// before and after), a stock code list of 50,000 stocks (start-up with it,
// saving it, edits with the copy of the changes written beside it, closing
// the window) and lists with lines of 16 MB.
//
// Run under an X server: xvfb-run -a ./stress_bench [popups] [cycles] [stocks]
// (defaults 100, 500, 50000). As root: QTWEBENGINE_DISABLE_SANDBOX=1.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "codes/code_list_controller.h"
#include "platform/cp932.h"
#include "platform/web_browser.h"
#include "process_tree.h"
#include "tabs/address_box.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"

namespace {

// Runs the event loop for `ms` milliseconds, letting it block (and so the
// program's idle moments happen) as it does for a user.
void Settle(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

bool WaitFor(const std::function<bool()>& done, int timeout_ms = 60000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeout_ms) return false;
    Settle(5);
  }
  return true;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

QByteArray Page(const QByteArray& title, const QByteArray& body) {
  return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

std::unique_ptr<sorvi::TFormMain> ShowWindow(const QString& dir) {
  auto form = std::make_unique<sorvi::TFormMain>(dir);
  form->resize(1200, 800);
  form->show();
  WaitFor([&] { return form->windowHandle() && form->windowHandle()->isExposed(); }, 5000);
  return form;
}

void Open(sorvi::TFormMain& form, const QString& url) {
  form.Subsystems().address->Show(url);
  form.OpenTypedAddress(Qt::NoModifier);
}

bool Loaded(sorvi::TabController& tabs, int index, const QString& caption) {
  sorvi::BrowserTab* tab = tabs.TabAt(index);
  return tab && tabs.Caption(index) == caption && !tab->Browser()->Busy();
}

double Ms(const QElapsedTimer& clock) { return double(clock.nsecsElapsed()) / 1e6; }

int BigList(const QString& dir, int stocks) {
  QByteArray bytes;
  const QByteArray name = QByteArray::fromStdString(sorvi::QStringToSjis(QStringLiteral(" ソニー銘柄 ")));
  const int per_group = 100;
  for (int s = 0; s < stocks; ++s) {
    if (s % per_group == 0) bytes += "[G" + QByteArray::number(s / per_group) + "]\r\n";
    bytes += QByteArray::number(1000 + s % 9000) + name + QByteArray::number(s) + "\r\n";
  }
  WriteFile(dir + "/SV_Code.txt", bytes);

  QElapsedTimer clock;
  clock.start();
  auto form = ShowWindow(dir + "/");
  const double load_ms = Ms(clock);
  form->Subsystems().codes->Document().SetModified(true);
  clock.restart();
  const bool saved = form->Subsystems().codes->Document().SaveAndReport();
  const double save_ms = Ms(clock);
  QFile file(dir + "/SV_Code.txt");
  const bool same = file.open(QIODevice::ReadOnly) && file.readAll() == bytes;

  // Ten edits a second for three seconds, with the copy of the changes due
  // every second against never: the longest the event loop stood still.
  sorvi::ListDocument& document = form->Subsystems().codes->Document();
  const auto longest_pause = [&](std::chrono::milliseconds copy_delay) {
    document.SetCopyDelay(copy_delay);
    QElapsedTimer run;
    run.start();
    qint64 last = 0, longest = 0;
    QTimer tick, edit;
    tick.callOnTimeout([&] {
      longest = std::max(longest, run.elapsed() - last);
      last = run.elapsed();
    });
    edit.callOnTimeout([&] { form->Subsystems().codes->InsertNode(sorvi::NodePos{0}, false, "1301 x"); });
    tick.start(1);
    edit.start(100);
    Settle(3000);
    return longest;
  };
  const qint64 pause_without = longest_pause(std::chrono::hours(1));
  const qint64 pause_with = longest_pause(std::chrono::seconds(1));
  std::printf(
      "%d stocks, edits ten a second: longest event-loop pause %lld ms without the unsaved copy, %lld ms with it "
      "written every second\n",
      stocks, static_cast<long long>(pause_without), static_cast<long long>(pause_with));
  document.Load();  // back to the file: the close has nothing to save

  clock.restart();
  form->close();
  form.reset();
  const double close_ms = Ms(clock);
  std::printf("%d stocks (%.1f MB): start-up to the shown window %.0f ms, save %.0f ms (%s), close %.0f ms\n", stocks,
              bytes.size() / 1e6, load_ms, save_ms, saved && same ? "byte-identical" : "FILE DIFFERS", close_ms);
  return saved && same ? 0 : 1;
}

// Lists whose lines are megabytes long: a bookmark's URL and a stock.
int HugeLines(const QString& dir, int megabytes) {
  const QByteArray huge(megabytes * 1024 * 1024, 'x');
  const QByteArray codes = "[G]\r\n1234 " + huge + "\r\n", list = "[A]\r\nhttp://a/?q=" + huge + "\r\n";
  WriteFile(dir + "/SV_Code.txt", codes);
  WriteFile(dir + "/SV_List.txt", list);
  QElapsedTimer clock;
  clock.start();
  auto form = ShowWindow(dir + "/");
  Settle(100);  // the first paint of both views
  const double shown_ms = Ms(clock) - 100;
  form->Subsystems().codes->Document().SetModified(true);
  const bool saved = form->Subsystems().codes->Document().SaveAndReport();
  form.reset();
  QFile file(dir + "/SV_Code.txt");
  const bool same = saved && file.open(QIODevice::ReadOnly) && file.readAll() == codes;
  std::printf("lists with a %d MB line each: start-up to the shown window %.0f ms, saved %s\n", megabytes, shown_ms,
              same ? "byte-identical" : "WRONG");
  return same ? 0 : 1;
}

int Tabs(const QString& dir, int popups, int cycles) {
  WriteFile(dir + "/a.html", Page("Page a", ""));
  WriteFile(dir + "/b.html",
            Page("Page b", "<table>" + QByteArray("<tr><td>1234</td><td>56.7</td></tr>").repeated(200) + "</table>"));
  WriteFile(dir + "/burst.html", Page("Burst",
                                      "<script>function burst(n) {"
                                      "  const at = Date.now() + 1000;"
                                      "  for (let i = 0; i < n; ++i) window.open('closer.html?' + at, '', '');"
                                      "}</script>"));
  WriteFile(dir + "/closer.html",
            Page("Closer",
                 "<script>const at = Number(location.search.substring(1));"
                 "setTimeout(function () { window.close(); }, Math.max(0, at - Date.now()));</script>"));
  const QString base = QUrl::fromLocalFile(dir).toString() + "/";

  auto form = ShowWindow(dir + "/");
  sorvi::TabController& tabs = *form->Subsystems().tabs;
  Open(*form, base + "a.html");
  if (!WaitFor([&] { return Loaded(tabs, 0, "Page a"); })) return 1;
  Open(*form, base + "burst.html");
  if (!WaitFor([&] { return Loaded(tabs, 1, "Burst"); })) return 1;
  Settle(1000);

  // The burst.
  const int start = tabs.Count();
  int most = start;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] { most = std::max(most, tabs.Count()); });
  watch.start(2);
  QElapsedTimer clock;
  clock.start();
  tabs.TabAt(1)->Browser()->RunJavaScript(QString("burst(%1)").arg(popups));
  const bool all_open = WaitFor([&] { return tabs.Count() == start + popups; });
  const double open_ms = Ms(clock);
  const bool all_closed = WaitFor([&] { return tabs.Count() == start; });
  const double closed_ms = Ms(clock);
  watch.stop();
  Settle(1000);
  std::printf(
      "burst of %d pop-ups: all open after %.0f ms%s, all closed after %.0f ms%s (they ask at 1000 ms), "
      "most tabs %d, tabs after %d (started with %d)\n",
      popups, open_ms, all_open ? "" : " (NOT ALL)", closed_ms, all_closed ? "" : " (NOT ALL)", most, tabs.Count(),
      start);

  // Open and close cycles from one tab, through the address box and the
  // close button's handler, each waiting for its page.
  Settle(2000);
  const bench::TreeSample before = bench::SampleTree();
  clock.restart();
  int loaded = 0;
  for (int i = 0; i < cycles; ++i) {
    Open(*form, base + "b.html?" + QString::number(i));
    if (WaitFor([&] { return Loaded(tabs, tabs.Count() - 1, "Page b"); }, 30000)) ++loaded;
    tabs.CloseActiveTab();
  }
  const double cycles_ms = Ms(clock);
  Settle(3000);
  const bench::TreeSample after = bench::SampleTree();
  std::printf("%d open/load/close cycles: %.1f s, %.0f ms per cycle, %d loaded, tabs after %d\n", cycles,
              cycles_ms / 1000, cycles_ms / cycles, loaded, tabs.Count());
  std::printf("  process tree before: PSS %.0f MiB, RSS %.0f MiB, %d processes\n", before.pss_mib, before.rss_mib,
              before.processes);
  std::printf("  process tree after:  PSS %.0f MiB, RSS %.0f MiB, %d processes (PSS %+.0f MiB)\n", after.pss_mib,
              after.rss_mib, after.processes, after.pss_mib - before.pss_mib);
  const bool back = tabs.Count() == start;
  form.reset();
  return all_open && all_closed && back ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  sorvi::PrepareWebEngineBeforeQApplication();
  QApplication app(argc, argv);
  const int popups = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  const int cycles = argc > 2 ? std::max(1, std::atoi(argv[2])) : 500;
  const int stocks = argc > 3 ? std::max(1, std::atoi(argv[3])) : 50000;
  QTemporaryDir list_dir, huge_dir, tab_dir;
  int failed = BigList(list_dir.path(), stocks);
  failed |= HugeLines(huge_dir.path(), 16);
  failed |= Tabs(tab_dir.path(), popups, cycles);
  Settle(200);
  return failed;
}
