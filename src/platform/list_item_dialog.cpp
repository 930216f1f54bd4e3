#include "platform/list_item_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>

#include "platform/tool_window.h"

namespace sorvi {

ListItemDialog::ListItemDialog(Mode mode, QWidget* parent) : QDialog(parent) {
  MakeStayOnTopToolWindow(this);
  setWindowTitle(mode == Mode::Edit ? "編集" : "追加");
  ok_button_ = new QPushButton("OK", this);
  ok_button_->setObjectName("ButtonOk");
  ok_button_->setDefault(true);
  cancel_button_ = new QPushButton("CANCEL", this);
  cancel_button_->setObjectName("ButtonCancel");
  cancel_button_->setAutoDefault(false);
  connect(ok_button_, &QPushButton::clicked, this, [this] {
    ButtonOkClick();
    close();
  });
  connect(cancel_button_, &QPushButton::clicked, this, &QWidget::close);
}

QHBoxLayout* ListItemDialog::ButtonRow() {
  auto* buttons = new QHBoxLayout();
  buttons->addStretch();
  buttons->addWidget(ok_button_);
  buttons->addWidget(cancel_button_);
  return buttons;
}

void ListItemDialog::ShowOver(QWidget* view, QPoint at) {
  view->setEnabled(false);
  connect(this, &ListItemDialog::Closed, view, [view] {
    view->setEnabled(true);
    view->setFocus();
  });
  PlaceInWorkArea(this, at);
  show();
  BringToFront();
}

void ListItemDialog::BringToFront() {
  raise();
  activateWindow();
}

void ListItemDialog::reject() { close(); }

void ListItemDialog::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    closed_ = true;
    emit Closed();
  }
  // QDialog would route this through reject(), which closes again.
  QWidget::closeEvent(event);
}

}  // namespace sorvi
