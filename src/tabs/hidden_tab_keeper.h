#pragma once
// Tabs out of sight for a while give up the widgets that draw their pages:
// each view keeps window-sized pictures of its page, several MiB a tab. The
// page goes on loading, running and reloading, and gets a new view when its
// tab is shown again. Whatever is shown (the active tab, a tile) keeps its
// view: only hidden tabs count.
#include <QDeadlineTimer>
#include <QObject>
#include <QPointer>
#include <vector>

class QTimer;

namespace sorvi {

class BrowserTab;

class HiddenTabKeeper : public QObject {
  Q_OBJECT
 public:
  // Long enough that switching back and forth between tabs never pays for
  // a new view.
  static constexpr int kReleaseAfterMs = 60000;

  explicit HiddenTabKeeper(QObject* parent = nullptr);
  ~HiddenTabKeeper() override;

  // Follows `tab` from now until it is destroyed.
  void Watch(BrowserTab* tab);
  // How long a tab stays hidden before its view goes.
  void SetReleaseAfter(int ms) { release_after_ms_ = ms; }
  // The idle step: lets the views go that are due. Views go at an idle
  // moment only, never inside a dialog, a menu, a page's own call or a
  // key macro's play.
  void IdleStep();

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  struct Hidden {
    QPointer<BrowserTab> tab;
    QDeadlineTimer due;
  };

  void Hid(BrowserTab* tab);
  void Shown(BrowserTab* tab);
  void ArmTimer();
  void ReleaseDue();

  std::vector<Hidden> hidden_;
  QTimer* timer_;
  bool release_pending_ = false;
  int release_after_ms_ = kReleaseAfterMs;
};

}  // namespace sorvi
