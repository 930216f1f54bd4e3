#pragma once
// The modifier keys that came with the key press or click that triggered a
// widget's command. Reading the keyboard's state instead gives the state of
// whatever the window system handled last, which on a busy program may be a
// later key (Shift already let go).
#include <QObject>

class QWidget;

namespace sorvi {

class TriggerModifiers : public QObject {
 public:
  // Watches `widget`'s key presses and mouse presses and releases; lives as
  // long as the widget.
  explicit TriggerModifiers(QWidget* widget);

  // Of the last key press or click `widget` got.
  Qt::KeyboardModifiers Modifiers() const { return modifiers_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Qt::KeyboardModifiers modifiers_;
};

}  // namespace sorvi
