#include "platform/confirm_box.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace sorvi {
namespace {

// Moves the box once it is shown: QMessageBox centres itself on its parent
// while showing, so the position must be set after that.
class PlaceOnShow : public QObject {
 public:
  explicit PlaceOnShow(QPoint top_left) : top_left_(top_left) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      auto* box = static_cast<QWidget*>(watched);
      QPoint pos = box->pos();
      if (top_left_.x() < 0 && top_left_.y() < 0) {
        if (QScreen* screen = box->screen()) {
          pos = screen->availableGeometry().center() - QPoint(box->width() / 2, box->height() / 2);
        }
      } else {
        if (top_left_.x() >= 0) pos.setX(top_left_.x());
        if (top_left_.y() >= 0) pos.setY(top_left_.y());
      }
      box->move(pos);
    }
    return false;
  }

 private:
  QPoint top_left_;
};

}  // namespace

namespace {

// Shows `box` at `top_left` and returns the button clicked (the escape
// button when the box is closed).
QAbstractButton* Run(QMessageBox& box, QPushButton* default_button, QPushButton* escape_button, QPoint top_left) {
  box.setDefaultButton(default_button);
  box.setEscapeButton(escape_button);
  PlaceOnShow placer(top_left);
  box.installEventFilter(&placer);
  box.exec();
  return box.clickedButton() ? box.clickedButton() : escape_button;
}

}  // namespace

void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text) {
  QMessageBox box(icon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
  box.exec();
}

void ShowErrorBox(QWidget* parent, const QString& text) { ShowMessageBox(parent, QMessageBox::Critical, text); }

int AskYesNoCancel(QWidget* parent, const QString& title, const QString& text, QPoint top_left) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
  QPushButton* yes = box.addButton("はい(&Y)", QMessageBox::YesRole);
  QPushButton* no = box.addButton("いいえ(&N)", QMessageBox::NoRole);
  QPushButton* cancel = box.addButton("キャンセル", QMessageBox::RejectRole);
  QAbstractButton* clicked = Run(box, yes, cancel, top_left);
  if (clicked == yes) return QMessageBox::Yes;
  if (clicked == no) return QMessageBox::No;
  return QMessageBox::Cancel;
}

int AskYesNo(QWidget* parent, const QString& title, const QString& text, QPoint top_left, int when_closed) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
  QPushButton* yes = box.addButton("はい(&Y)", QMessageBox::YesRole);
  QPushButton* no = box.addButton("いいえ(&N)", QMessageBox::NoRole);
  QPushButton* fallback = when_closed == QMessageBox::Yes ? yes : no;
  return Run(box, fallback, fallback, top_left) == yes ? QMessageBox::Yes : QMessageBox::No;
}

int AskOkCancel(QWidget* parent, const QString& title, const QString& text, QPoint top_left) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
  QPushButton* ok = box.addButton("OK", QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton("キャンセル", QMessageBox::RejectRole);
  return Run(box, ok, cancel, top_left) == ok ? QMessageBox::Ok : QMessageBox::Cancel;
}

QPoint QuestionPlace(const QWidget* window) {
  const QRect frame = window->frameGeometry();
  return QPoint(frame.left() + frame.width() / 2 - 100, frame.top() + frame.height() / 2 - 50);
}

}  // namespace sorvi
