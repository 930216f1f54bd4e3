#include "platform/trigger_modifiers.h"

#include <QInputEvent>
#include <QWidget>

namespace sorvi {

TriggerModifiers::TriggerModifiers(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }

bool TriggerModifiers::eventFilter(QObject*, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      modifiers_ = static_cast<QInputEvent*>(event)->modifiers();
      break;
    default:
      break;
  }
  return false;
}

}  // namespace sorvi
