#pragma once
// The tab menu: automatic reload, the stocks to watch for on a reloading
// page, dialog suppression, clearing the lock and making a sized page fill
// its tab. Every item acts on the active tab.
#include <QObject>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace sorvi {

class ActiveTabHost;
class TabLock;

class TabMenu : public QObject {
  Q_OBJECT
 public:
  TabMenu(const ActiveTabHost& tabs, TabLock& lock, QWidget* menu_parent);

  QMenu* Menu() const { return menu_; }
  // "銘柄の出現を知らせる": offered for a tab that reloads; its items (the
  // groups of the stock list) are made by whoever knows them, as it opens.
  QMenu* WatchMenu() const { return watch_; }

  // Sets the items to the active tab's state.
  void UpdateForActiveTab();

 signals:
  // A reload interval was chosen: the reload timer must run.
  void ReloadChosen();

 private:
  void PopupMenuTabReloadClick(QAction* item);
  void PopupMenuTabSilentClick();
  void PopupMenuTabLockClearClick();
  void PopupMenuClientClick();

  const ActiveTabHost& tabs_;
  TabLock& lock_;
  QMenu* menu_;
  QActionGroup* reload_group_;
  QMenu* watch_;
  QAction* silent_;
  QAction* lock_clear_;
  QAction* client_;
};

}  // namespace sorvi
