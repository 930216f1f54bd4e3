#include "support/dialog_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace sorvi::testing {

DialogDriver::DialogDriver(QStringList answers) : answers_(std::move(answers)) {
  connect(&timer_, &QTimer::timeout, this, &DialogDriver::Poll);
  timer_.start(20);
}

DialogDriver::~DialogDriver() { timer_.stop(); }

void DialogDriver::Poll() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (!box || !box->isVisible()) return;
  SeenBox seen{box->windowTitle(), box->text(), box->pos(), {}, box->parentWidget()};
  QAbstractButton* chosen = nullptr;
  const QString answer = answers_.isEmpty() ? QString() : answers_.takeFirst();
  for (QAbstractButton* button : box->buttons()) {
    seen.buttons << button->text();
    if (button->text() == answer) chosen = button;
  }
  seen_.push_back(seen);
  if (!chosen) chosen = box->escapeButton() ? box->escapeButton() : box->buttons().value(0);
  if (chosen) chosen->click();
}

}  // namespace sorvi::testing
