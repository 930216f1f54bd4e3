#include "platform/tool_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace sorvi {

void MakeStayOnTopToolWindow(QWidget* window) {
  window->setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::CustomizeWindowHint);
  window->setAttribute(Qt::WA_DeleteOnClose);
}

void PlaceInWorkArea(QWidget* window, QPoint top_left) {
  QScreen* screen = QGuiApplication::screenAt(top_left);
  if (!screen) screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
  window->adjustSize();
  const int height = window->frameGeometry().height();
  if (screen) {
    const QRect area = screen->availableGeometry();
    if (top_left.y() + height > area.bottom() + 1) top_left.setY(area.bottom() + 1 - height);
  }
  window->move(top_left);
}

}  // namespace sorvi
