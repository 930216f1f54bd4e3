// The tab menu and the reload timer; everything acts on the active tab.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>
#include <vector>

#include "app/main_window.h"
#include "core/tabs/reload_ticks.h"
#include "platform/web_browser.h"
#include "tabs/tab_controller.h"

namespace sorvi {

void TabController::PopupMenuTabPopup() {
  BrowserTab* record = ActiveRecord();
  if (!record) return;
  TFormMain& f = form_;
  const QList<QAction*> items = f.PopupMenuTabReloadGroup->actions();
  const int checked = ReloadMenuIndex(record->ReloadInterval);
  if (checked >= 0 && checked < items.size()) items[checked]->setChecked(true);
  f.PopupMenuTabSilent->setChecked(record->Browser->Silent());
  f.PopupMenuTabLockClear->setEnabled(lock_.can_clear());
  f.PopupMenuClient->setEnabled(!record->Browser->FillsParent());
}

void TabController::PopupMenuTabReloadClick(QAction* item) {
  BrowserTab* record = ActiveRecord();
  if (!record || !item) return;
  item->setChecked(true);
  ReloadState state{record->ReloadInterval, record->ReloadCount};
  ChooseReloadInterval(state, item->data().toInt());
  record->ReloadInterval = state.interval;
  record->ReloadCount = state.count;
  // A running timer keeps its rhythm.
  if (!form_.Timer->isActive()) form_.Timer->start();
}

void TabController::PopupMenuTabSilentClick() {
  // The menu showed the browser's state; the click inverts it.
  WebBrowser* browser = ActiveBrowser();
  if (!browser) return;
  const bool silent = !browser->Silent();
  form_.PopupMenuTabSilent->setChecked(silent);
  browser->SetSilent(silent);
}

void TabController::PopupMenuTabLockClearClick() {
  lock_.Clear();
  LockTarget = nullptr;
  ShowLock();
}

void TabController::PopupMenuClientClick() {
  WebBrowser* browser = ActiveBrowser();
  if (!browser) return;
  if (QWidget* viewport = browser->parentWidget()) {
    if (auto* box = qobject_cast<QScrollArea*>(viewport->parentWidget())) box->setWidgetResizable(true);
  }
  browser->SetFillsParent(true);
}

void TabController::TimerTimer() {
  const int count = form_.PageControl->count();
  std::vector<ReloadState> states;
  states.reserve(count);
  for (int i = 0; i < count; ++i) states.push_back(ReloadState{RecordAt(i)->ReloadInterval, RecordAt(i)->ReloadCount});
  const std::vector<size_t> due = TimerTick(states);
  for (int i = 0; i < count; ++i) {
    RecordAt(i)->ReloadInterval = states[i].interval;
    RecordAt(i)->ReloadCount = states[i].count;
  }
  for (size_t i : due) {
    if (WebBrowser* browser = RecordAt(static_cast<int>(i))->Browser) browser->Refresh();
  }
}

}  // namespace sorvi
