#include "platform/window_size.h"

#include <QGuiApplication>
#include <QScreen>

namespace sorvi {

QSize WithinDesktop(QSize size) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return size;
  return size.boundedTo(screen->virtualSize());
}

}  // namespace sorvi
