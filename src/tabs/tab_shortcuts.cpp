#include "tabs/tab_shortcuts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWheelEvent>
#include <QWidget>

namespace sorvi {

TabShortcuts::TabShortcuts(QWidget* window, TabShortcutHost& host, QObject* parent)
    : QObject(parent), window_(window), host_(host) {
  qApp->installEventFilter(this);
}

TabShortcuts::~TabShortcuts() {
  if (qApp) qApp->removeEventFilter(this);
}

TabShortcuts::Key TabShortcuts::Classify(const QKeyEvent& key) {
  const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
  if (key.key() == Qt::Key_Escape && mods == Qt::NoModifier) return Key::Escape;
  if (!mods.testFlag(Qt::ControlModifier) || mods.testFlag(Qt::AltModifier) || mods.testFlag(Qt::MetaModifier))
    return Key::None;
  const bool shift = mods.testFlag(Qt::ShiftModifier);
  switch (key.key()) {
    case Qt::Key_F: return shift ? Key::None : Key::Find;
    // "+" is Shift+";" on Japanese keyboards and Shift+"=" on US ones: the
    // key itself counts with or without Shift.
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Semicolon: return Key::ZoomIn;
    case Qt::Key_Minus: return shift ? Key::None : Key::ZoomOut;
    case Qt::Key_0: return shift ? Key::None : Key::ZoomReset;
    default: return Key::None;
  }
}

bool TabShortcuts::InWindow(QObject* receiver) const {
  if (!receiver->isWidgetType()) return false;
  return static_cast<QWidget*>(receiver)->window() == window_;
}

bool TabShortcuts::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!wheel->modifiers().testFlag(Qt::ControlModifier) || !InWindow(watched)) return false;
    if (!host_.HasPage() || !host_.OverPage(static_cast<QWidget*>(watched))) return false;
    const int delta = wheel->angleDelta().y();
    if (delta != 0) host_.Zoom(delta > 0 ? ZoomKey::In : ZoomKey::Out);
    return true;
  }
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const Key which = Classify(*key);
  if (which == Key::None || !InWindow(watched) || !host_.HasPage()) return false;
  if (which == Key::Escape) {
    // Esc means something to the focus widget unless a page is full screen.
    if (type == QEvent::KeyPress) return host_.LeaveFullScreen();
    return false;
  }
  if (type == QEvent::ShortcutOverride) {
    // Ours: no window shortcut takes it; the key press comes next.
    key->accept();
    return true;
  }
  switch (which) {
    case Key::Find: host_.OpenFindBar(); break;
    case Key::ZoomIn: host_.Zoom(ZoomKey::In); break;
    case Key::ZoomOut: host_.Zoom(ZoomKey::Out); break;
    case Key::ZoomReset: host_.Zoom(ZoomKey::Reset); break;
    default: break;
  }
  return true;
}

}  // namespace sorvi
