#pragma once
// The flip keys: Alt+Down (next stock) and Alt+Up (previous stock),
// wherever the focus is in the main window, the page included, except in
// one of the program's own text fields (address box, stock search, find
// bar), which keep the keys' own meaning; dialogs and menus are windows of
// their own. A held key steps once.
#include <QObject>

#include "core/keymacro/held_keys.h"

class QKeyEvent;
class QWidget;

namespace sorvi {

class FlipKeys : public QObject {
  Q_OBJECT
 public:
  // Installs an event filter on the application; `window` is the main window.
  explicit FlipKeys(QWidget* window, QObject* parent = nullptr);
  ~FlipKeys() override;

 signals:
  // A new press of a flip key: `forward` for the next stock.
  void Stepped(bool forward);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The key is a flip key for `receiver`.
  bool Ours(QObject* receiver, const QKeyEvent& key) const;

  QWidget* window_;
  HeldKeys held_keys_;
};

}  // namespace sorvi
