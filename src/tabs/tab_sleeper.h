#pragma once
// Tabs out of sight for a while give their browser up entirely (page, view
// and drawing widget) when the option asks for it, and load again, with
// their history, when they are shown. Until then, and for good where a tab
// may never sleep, a hidden page rests (frozen, or discarded between its
// reloads). Which tabs may sleep or rest is the core rules' (MaySleep,
// RestFor); this follows how long each tab has been hidden, what it is
// doing, and acts on the due ones at an idle moment.
#include <QElapsedTimer>
#include <QHash>
#include <QObject>

#include "core/settings/app_options.h"
#include "core/tabs/tab_sleep.h"

class QTimer;

namespace sorvi {

class BrowserTab;
class TabController;

class TabSleeper : public QObject {
  Q_OBJECT
 public:
  // `options` is the window's, read at each check.
  TabSleeper(TabController& tabs, const AppOptions& options, QObject* parent);

  // Follows `tab` from now until it is destroyed.
  void Watch(BrowserTab* tab);
  // How long a tab stays out of sight before it may sleep, replacing the
  // option's minutes; 0 goes back to them.
  void SetSleepAfter(int ms);
  // The idle step: the tabs that are due go to sleep (never inside a
  // dialog, a menu, a page's own call or a key macro's play).
  void IdleStep();
  // Shows a tab without a browser dimmed in the strip, or a woken one as
  // any other.
  void ShowAsleep(BrowserTab* tab, bool asleep);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  struct Watched {
    QElapsedTimer hidden;  // invalid while shown
    int downloads = 0;
  };
  TabSleepState StateOf(BrowserTab* tab, const Watched& watched) const;
  bool PopupLinked(const BrowserTab* tab) const;

  TabController& tabs_;
  const AppOptions& options_;
  QTimer* timer_;
  bool check_pending_ = false;
  int sleep_after_ms_ = 0;
  QHash<const BrowserTab*, Watched> watched_;
};

}  // namespace sorvi
