#include "app/stock_appearances.h"

#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTabBar>
#include <QVariant>
#include <algorithm>

#include "codes/stock_code_model.h"
#include "core/codes/stock_watch.h"
#include "platform/cp932.h"
#include "platform/desktop_notifier.h"
#include "platform/page_marks.h"
#include "platform/web_browser.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"
#include "tabs/tab_menu.h"

namespace sorvi {

namespace {

constexpr size_t kToldKept = 50;

QIcon MarkIcon() {
  QPixmap dot(16, 16);
  dot.fill(Qt::transparent);
  QPainter painter(&dot);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QColor(0x9a, 0x5b, 0x00));
  painter.setBrush(QColor(0xff, 0xa5, 0x1f));
  painter.drawEllipse(QRectF(2.5, 2.5, 11, 11));
  return QIcon(dot);
}

}  // namespace

StockAppearances::StockAppearances(TabController& tabs, const StockCodeModel& stocks, DesktopNotifier& notifier,
                                   QWidget* window)
    : QObject(&tabs), tabs_(tabs), stocks_(stocks), notifier_(notifier), window_(window) {
  connect(tabs_.Menu().WatchMenu(), &QMenu::aboutToShow, this, &StockAppearances::FillWatchMenu);
  connect(&tabs_, &TabController::TabLoadFinished, this, &StockAppearances::PageLoaded);
  connect(&notifier_, &DesktopNotifier::Clicked, this, &StockAppearances::ShowTab);
  connect(&notifier_, &DesktopNotifier::Unavailable, this, [this](int number) {
    const auto it = told_.find(number);
    if (it != told_.end()) emit StatusNote(it->second.line + QStringLiteral("（デスクトップ通知を出せません）"));
  });
}

void StockAppearances::FillWatchMenu() {
  QMenu* menu = tabs_.Menu().WatchMenu();
  menu->clear();
  const BrowserTab* tab = tabs_.ActiveTab();
  if (!tab) return;
  const StockWatch& watch = tab->Watch();
  QAction* all = menu->addAction(QStringLiteral("すべての銘柄"));
  all->setObjectName("PopupMenuTabWatchAll");
  all->setCheckable(true);
  all->setChecked(watch.all);
  connect(all, &QAction::triggered, this, [this] { ChooseWatch(true, {}); });
  menu->addSeparator();
  std::vector<std::string> listed;
  for (const StockGroup& group : stocks_.List().groups) {
    std::string name(GroupName(group.text));
    if (name.empty() || std::find(listed.begin(), listed.end(), name) != listed.end()) continue;
    listed.push_back(name);
    QAction* item = menu->addAction(SjisToQString(name));
    item->setCheckable(true);
    item->setChecked(!watch.all && std::find(watch.groups.begin(), watch.groups.end(), name) != watch.groups.end());
    connect(item, &QAction::triggered, this, [this, name] { ChooseWatch(false, name); });
  }
}

void StockAppearances::ChooseWatch(bool all, const std::string& group) {
  BrowserTab* tab = tabs_.ActiveTab();
  if (!tab || tab->Reload().interval <= 0) return;
  StockWatch watch = tab->Watch();
  if (all) {
    watch = StockWatch{!watch.all, {}};
  } else {
    // A group chosen while all are watched narrows the watch to it.
    if (watch.all) watch = {};
    auto it = std::find(watch.groups.begin(), watch.groups.end(), group);
    if (it == watch.groups.end()) {
      watch.groups.push_back(group);
    } else {
      watch.groups.erase(it);
    }
  }
  tab->SetWatch(std::move(watch));
  // What the page shows now is what the next reload is held against.
  if (tab->Browser() && !tab->Browser()->Busy()) PageLoaded(tab);
}

void StockAppearances::PageLoaded(BrowserTab* tab) {
  WebBrowser* browser = tab->Browser();
  if (!browser || tab->Reload().interval <= 0 || !tab->Watch().On()) return;
  // An error page shows none of the stocks; the next page is held against
  // the last one that loaded.
  if (!browser->LastLoadSucceeded()) return;
  const std::string address = QStringToSjis(browser->LocationURL());
  QPointer<BrowserTab> self(tab);
  browser->RunJavaScriptApart(page_marks::CodesScript(), [this, self, browser, address](const QVariant& codes) {
    // The browser may have left the tab since (a pop-up took it over).
    if (self && self->Browser() == browser) CodesFound(self, address, codes);
  });
}

void StockAppearances::CodesFound(BrowserTab* tab, const std::string& address, const QVariant& codes) {
  std::vector<std::string> on_page;
  for (const QVariant& code : codes.toList()) on_page.push_back(code.toString().toStdString());
  const std::map<std::string, std::string> watched = WatchedStocks(stocks_.List(), tab->Watch());
  const std::vector<std::string> appeared = tab->Appearances().Loaded(address, on_page, watched);
  if (!appeared.empty()) Tell(tab, appeared, watched);
}

void StockAppearances::Tell(BrowserTab* tab, const std::vector<std::string>& appeared,
                            const std::map<std::string, std::string>& names) {
  QStringList stocks;
  for (const std::string& code : appeared) stocks << SjisToQString(names.at(code));
  const QString body = stocks.join(QStringLiteral("、")) + QStringLiteral(" が表示されました");
  const QString caption = tabs_.Caption(tabs_.IndexOf(tab));
  const int number = notifier_.Notify(caption, body);
  told_[number] = {tab, QStringLiteral("「%1」に %2").arg(caption, body)};
  while (told_.size() > kToldKept) told_.erase(told_.begin());
  if (!tab->isVisible()) SetMark(tab, true);
}

void StockAppearances::SetMark(BrowserTab* tab, bool on) {
  const int index = tabs_.IndexOf(tab);
  if (index < 0) return;
  tabs_.Strip()->setTabIcon(index, on ? MarkIcon() : QIcon());
  if (on) {
    tab->installEventFilter(this);
  } else {
    tab->removeEventFilter(this);
  }
}

bool StockAppearances::eventFilter(QObject* watched, QEvent* event) {
  // Seen: the mark goes once the tab's page is on screen.
  if (event->type() == QEvent::Show) {
    if (auto* tab = qobject_cast<BrowserTab*>(watched)) SetMark(tab, false);
  }
  return false;
}

void StockAppearances::ShowTab(int number) {
  const auto it = told_.find(number);
  if (it == told_.end() || !it->second.tab) return;
  if (window_->isMinimized()) window_->showNormal();
  window_->raise();
  window_->activateWindow();
  tabs_.SwitchTo(tabs_.IndexOf(it->second.tab), this);
}

}  // namespace sorvi
