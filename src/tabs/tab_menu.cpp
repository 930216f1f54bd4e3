#include "tabs/tab_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "core/tabs/reload_ticks.h"
#include "platform/menu_items.h"
#include "platform/web_browser.h"
#include "tabs/active_tab_host.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_lock.h"

namespace sorvi {

TabMenu::TabMenu(const ActiveTabHost& tabs, TabLock& lock, QWidget* menu_parent)
    : QObject(menu_parent), tabs_(tabs), lock_(lock) {
  menu_ = new QMenu(menu_parent);
  menu_->setObjectName("PopupMenuTab");
  QMenu* reload = menu_->addMenu("自動更新(&U)");
  reload->setObjectName("PopupMenuTabReload");
  reload_group_ = new QActionGroup(reload);
  AddMenuItem(reload, "PopupMenuTabReload00", "なし", 0);
  AddMenuItem(reload, "PopupMenuTabReload15", "15秒", 1);
  AddMenuItem(reload, "PopupMenuTabReload30", "30秒", 2);
  AddMenuItem(reload, "PopupMenuTabReload1", "1分", 4);
  AddMenuItem(reload, "PopupMenuTabReload2", "2分", 8);
  AddMenuItem(reload, "PopupMenuTabReload5", "5分", 20);
  for (QAction* item : reload->actions()) {
    item->setCheckable(true);
    reload_group_->addAction(item);
    connect(item, &QAction::triggered, this, [this, item] { PopupMenuTabReloadClick(item); });
  }
  reload->actions().first()->setChecked(true);
  watch_ = menu_->addMenu("銘柄の出現を知らせる(&W)");
  watch_->setObjectName("PopupMenuTabWatch");
  menu_->addSeparator();
  silent_ = AddMenuItem(menu_, "PopupMenuTabSilent", "ダイアログ抑止(&S)");
  silent_->setCheckable(true);
  lock_clear_ = AddMenuItem(menu_, "PopupMenuTabLockClear", "ロック対象解除(&L)");
  client_ = AddMenuItem(menu_, "PopupMenuClient", "タブ内全体表示(&C)");
  connect(silent_, &QAction::triggered, this, &TabMenu::PopupMenuTabSilentClick);
  connect(lock_clear_, &QAction::triggered, this, &TabMenu::PopupMenuTabLockClearClick);
  connect(client_, &QAction::triggered, this, &TabMenu::PopupMenuClientClick);
}

void TabMenu::UpdateForActiveTab() {
  BrowserTab* tab = tabs_.ActiveTab();
  if (!tab) return;
  const QList<QAction*> items = reload_group_->actions();
  const int checked = ReloadMenuIndex(tab->Reload().interval);
  if (checked >= 0 && checked < items.size()) items[checked]->setChecked(true);
  watch_->setEnabled(tab->Reload().interval > 0);
  silent_->setChecked(tab->Browser()->Silent());
  lock_clear_->setEnabled(lock_.Indicator().can_clear());
  client_->setEnabled(!tab->Browser()->FillsParent());
}

void TabMenu::PopupMenuTabReloadClick(QAction* item) {
  BrowserTab* tab = tabs_.ActiveTab();
  if (!tab || !item) return;
  item->setChecked(true);
  ReloadState state = tab->Reload();
  ChooseReloadInterval(state, item->data().toInt());
  tab->SetReload(state);
  // A watch is told after reloads; without them it ends.
  if (state.interval == 0) tab->SetWatch({});
  emit ReloadChosen();
}

void TabMenu::PopupMenuTabSilentClick() {
  // The menu showed the browser's state; the click inverts it.
  BrowserTab* tab = tabs_.ActiveTab();
  if (!tab) return;
  const bool silent = !tab->Browser()->Silent();
  silent_->setChecked(silent);
  tab->Browser()->SetSilent(silent);
}

void TabMenu::PopupMenuTabLockClearClick() { lock_.Clear(); }

void TabMenu::PopupMenuClientClick() {
  if (BrowserTab* tab = tabs_.ActiveTab()) tab->FillClient();
}

}  // namespace sorvi
