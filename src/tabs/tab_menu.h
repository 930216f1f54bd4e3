#pragma once
// The tab menu: automatic reload, dialog suppression, clearing the lock and
// making a sized page fill its tab. Every item acts on the active tab.
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
  QAction* silent_;
  QAction* lock_clear_;
  QAction* client_;
};

}  // namespace sorvi
