#include "keymacro/registry_window.h"

#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>

#include "platform/confirm_box.h"
#include "platform/report_text.h"
#include "platform/window_size.h"

namespace sorvi {

RegistryWindow::RegistryWindow(SettingsFile& settings, const QString& title, QWidget* main_window)
    : QMainWindow(main_window, Qt::Tool), settings_file_(settings) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(title);
  menu_save_ = menuBar()->addAction("保存");
  menu_save_->setEnabled(false);
  menu_add_ = menuBar()->addAction("追加");
  menu_del_ = menuBar()->addAction("削除");
}

bool RegistryWindow::IsModified() const { return menu_save_->isEnabled(); }

void RegistryWindow::SetModified() { menu_save_->setEnabled(true); }

void RegistryWindow::PlaceCentred(const QSize& size) {
  resize(WithinDesktop(size));
  if (QWidget* owner = parentWidget()) {
    const QRect frame = owner->frameGeometry();
    move(frame.center() - QPoint(width() / 2, height() / 2));
  }
}

bool RegistryWindow::TryWrite(const std::function<void(SettingsFile&)>& write) {
  write(settings_file_);
  // A refused commit has dropped the changes already.
  const FileReport report = settings_file_.Commit();
  if (report.Failed()) ShowErrorBox(this, ReportText(report));
  return !report.Failed();
}

}  // namespace sorvi
