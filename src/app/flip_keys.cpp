#include "app/flip_keys.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace sorvi {

namespace {

bool IsFlipKey(int key) { return key == Qt::Key_Down || key == Qt::Key_Up; }

// A text field of the program's own, where Alt+arrows keep their meaning
// (an editable combo box opens its list).
bool IsTextField(const QWidget* widget) {
  for (const QWidget* w = widget; w; w = w->parentWidget()) {
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
        qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w))
      return true;
    if (const auto* combo = qobject_cast<const QComboBox*>(w); combo && combo->isEditable()) return true;
    if (w->isWindow()) break;
  }
  return false;
}

}  // namespace

FlipKeys::FlipKeys(QWidget* window, QObject* parent) : QObject(parent), window_(window) {
  // A key released while another program has the keyboard never comes here.
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) held_keys_.Clear();
  });
  qApp->installEventFilter(this);
}

FlipKeys::~FlipKeys() {
  if (qApp) qApp->removeEventFilter(this);
}

bool FlipKeys::Ours(QObject* receiver, const QKeyEvent& key) const {
  if (!IsFlipKey(key.key()) || (key.modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) return false;
  if (!receiver->isWidgetType()) return false;
  const auto* widget = static_cast<const QWidget*>(receiver);
  // A key a text field leaves goes on to its parents: the field decides.
  const QWidget* focus = QApplication::focusWidget();
  return widget->window() == window_ && !IsTextField(focus ? focus : widget);
}

bool FlipKeys::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyRelease) {
    // Whatever the modifiers by then: the release ends the hold.
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (IsFlipKey(key->key())) held_keys_.Release(key->key(), static_cast<uint32_t>(key->timestamp()));
    return false;
  }
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (!Ours(watched, *key)) return false;
  if (type == QEvent::ShortcutOverride) {
    // Neither a shortcut nor the page takes it; the press comes next.
    key->accept();
    return true;
  }
  if (held_keys_.Press(key->key(), static_cast<uint32_t>(key->timestamp()), key->isAutoRepeat()))
    emit Stepped(key->key() == Qt::Key_Down);
  return true;
}

}  // namespace sorvi
