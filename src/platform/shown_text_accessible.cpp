#include "platform/shown_text_accessible.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>

namespace sorvi {
namespace {

constexpr char kMarker[] = "sorvi_read_as_shown";

class ShownTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ShownTextAccessible(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Value ? Edit()->displayText() : QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = !Edit()->isReadOnly();
    s.readOnly = Edit()->isReadOnly();
    s.selectableText = true;
    return s;
  }

  QString text(int start, int end) const override { return Edit()->displayText().mid(start, end - start); }
  int characterCount() const override { return int(Edit()->displayText().size()); }
  int cursorPosition() const override { return Edit()->cursorPosition(); }
  void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
  int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || !Edit()->hasSelectedText()) return;
    *start = Edit()->selectionStart();
    *end = Edit()->selectionEnd();
  }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index == 0) Edit()->deselect();
  }
  void setSelection(int, int start, int end) override { Edit()->setSelection(start, end - start); }
  QRect characterRect(int offset) const override {
    const QString shown = Edit()->displayText();
    if (offset < 0 || offset >= shown.size()) return QRect();
    const QFontMetrics metrics(Edit()->font());
    const QRect text_area = Edit()->contentsRect();
    const QRect rect(text_area.left() + metrics.horizontalAdvance(shown.left(offset)), text_area.top(),
                     metrics.horizontalAdvance(shown.at(offset)), metrics.height());
    return QRect(Edit()->mapToGlobal(rect.topLeft()), rect.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
  }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* start, int* end) const override {
    *start = *end = offset;
    return QString();
  }

 private:
  QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
};

QAccessibleInterface* MakeInterface(const QString&, QObject* object) {
  auto* edit = qobject_cast<QLineEdit*>(object);
  return edit && edit->property(kMarker).toBool() ? new ShownTextAccessible(edit) : nullptr;
}

}  // namespace

void ReadAsShown(QLineEdit* edit) {
  static const bool installed = (QAccessible::installFactory(&MakeInterface), true);
  (void)installed;
  edit->setProperty(kMarker, true);
}

}  // namespace sorvi
