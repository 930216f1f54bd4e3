#pragma once
// Word when one of the user's stocks appears on a reloading page: a tab
// watches all stocks or some groups ("銘柄の出現を知らせる" in the tab
// menu). After each load the page is asked which codes it shows; the
// watched stocks that were not there at the load before go out in one
// desktop notification titled with the tab's caption, and the tab carries
// a mark in the strip until it is shown. Where the desktop has no
// notification service, the status bar says it instead.
#include <QObject>
#include <QPointer>
#include <QString>
#include <map>
#include <string>
#include <vector>

class QWidget;

namespace sorvi {

class BrowserTab;
class DesktopNotifier;
class StockCodeModel;
class TabController;

class StockAppearances : public QObject {
  Q_OBJECT
 public:
  // Lives as long as `tabs`; `window` is raised when a notification is
  // clicked.
  StockAppearances(TabController& tabs, const StockCodeModel& stocks, DesktopNotifier& notifier, QWidget* window);

 signals:
  // A line for the status bar.
  void StatusNote(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillWatchMenu();
  void ChooseWatch(bool all, const std::string& group);
  void PageLoaded(BrowserTab* tab);
  void CodesFound(BrowserTab* tab, const std::string& address, const QVariant& codes);
  void Tell(BrowserTab* tab, const std::vector<std::string>& appeared, const std::map<std::string, std::string>& names);
  void SetMark(BrowserTab* tab, bool on);
  void ShowTab(int number);

  struct Told {
    QPointer<BrowserTab> tab;
    QString line;  // for the status bar when no notification can be shown
  };

  TabController& tabs_;
  const StockCodeModel& stocks_;
  DesktopNotifier& notifier_;
  QWidget* window_;
  std::map<int, Told> told_;  // by the notifier's number, the last few
};

}  // namespace sorvi
