#include "keymacro/function_key_controller.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>

#include "platform/cp932.h"

namespace sorvi {

FunctionKeyController::FunctionKeyController(FunctionKeyHost& host, const KeyFuncRegistry& registry, QMenu* menu,
                                             QObject* parent)
    : QObject(parent), host_(host), registry_(registry), menu_(menu) {
  connect(menu_, &QMenu::triggered, this, &FunctionKeyController::PopupMenuFuncItemClick);
  // A key released while another program has the keyboard never comes here.
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) held_keys_.Clear();
  });
  qApp->installEventFilter(this);
}

FunctionKeyController::~FunctionKeyController() { qApp->removeEventFilter(this); }

int FunctionKeyController::OurKey(const QKeyEvent& key) const {
  if (key.key() < Qt::Key_F1 || key.key() > Qt::Key_F12) return 0;
  const QWidget* area = host_.FunctionKeyArea();
  if (!area) return 0;
  QWidget* focus = QApplication::focusWidget();
  if (!focus || (focus != area && !area->isAncestorOf(focus))) return 0;
  return key.key() - Qt::Key_F1 + 1;
}

bool FunctionKeyController::FormShortCut(const QKeyEvent& key) {
  const int n = OurKey(key);
  if (n == 0) return false;
  // A held key must not replay its macro many times over.
  if (!held_keys_.Press(n, static_cast<uint32_t>(key.timestamp()), key.isAutoRepeat())) return true;
  const std::vector<KeyFuncEntry>& entries = registry_.KeyFuncList[n - 1];
  if (registry_.KeyFuncKind[n - 1] != kKeyFuncSelect) {
    if (const KeyFuncEntry* entry = FindDirectEntry(entries, host_.AddressText())) {
      // A copy: the play runs the event loop, and a save may replace the list.
      const std::string macro = entry->Macro;
      host_.PlayFunctionKeyMacro(macro);
    }
    return true;
  }
  if (entries.empty()) return true;
  menu_->clear();
  for (const KeyFuncEntry& entry : entries) {
    // "&" is shown as it is: the menu has no accelerator keys.
    QAction* item = menu_->addAction(SjisToQString(entry.Label).replace('&', "&&"));
    item->setData(QByteArray::fromStdString(entry.Macro));
  }
  menu_->popup(MenuPoint());
  return true;
}

void FunctionKeyController::PopupMenuFuncItemClick(QAction* item) {
  if (!item) return;
  host_.PlayFunctionKeyMacro(item->data().toByteArray().toStdString());
}

QPoint FunctionKeyController::MenuPoint() const {
  const QWidget* area = host_.FunctionKeyArea();
  if (!area) return QCursor::pos();
  const QWidget* window = area->window();
  const QRect frame = window->frameGeometry();
  return QPoint(frame.left() + area->mapTo(window, QPoint(0, 0)).x() + 9, frame.top() + 75);
}

bool FunctionKeyController::eventFilter(QObject* watched, QEvent* event) {
  // The override is accepted so that no shortcut of the window takes the
  // key; the key press that follows is then taken here.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == QApplication::focusWidget() && OurKey(*key) != 0) key->accept();
    return false;
  }
  if (event->type() == QEvent::KeyPress && watched == QApplication::focusWidget()) {
    return FormShortCut(*static_cast<QKeyEvent*>(event));
  }
  if (event->type() == QEvent::KeyRelease) return KeyReleased(watched, *static_cast<QKeyEvent*>(event));
  return false;
}

bool FunctionKeyController::KeyReleased(QObject* watched, const QKeyEvent& key) {
  if (key.key() < Qt::Key_F1 || key.key() > Qt::Key_F12) return false;
  // Seen once per receiver on its way (the window, then the widget): a
  // release ends the hold the same way each time.
  held_keys_.Release(key.key() - Qt::Key_F1 + 1, static_cast<uint32_t>(key.timestamp()));
  return watched == QApplication::focusWidget() && OurKey(key) != 0;
}

}  // namespace sorvi
