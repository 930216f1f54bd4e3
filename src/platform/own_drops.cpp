#include "platform/own_drops.h"

#include <QDropEvent>

namespace sorvi {

bool TakeOwnDrag(QDropEvent* event) {
  if (!event->source()) {
    event->ignore();
    return false;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  return true;
}

}  // namespace sorvi
