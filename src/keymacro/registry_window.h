#pragma once
// What the two key macro registry windows share: a tool window over the
// main window with the menu bar "保存", "追加", "削除"; "保存" enabled is the
// modified mark; settings that cannot be written are shown, not swallowed.
#include <QMainWindow>
#include <functional>

#include "core/settings/settings_file.h"

class QAction;

namespace sorvi {

class RegistryWindow : public QMainWindow {
  Q_OBJECT
 public:
  QAction* MenuSave() const { return menu_save_; }
  QAction* MenuAdd() const { return menu_add_; }
  QAction* MenuDel() const { return menu_del_; }
  bool IsModified() const;

 signals:
  // The registry and its settings section were rewritten.
  void Saved();
  // The window is closing (it deletes itself afterwards).
  void Closed();

 protected:
  // `settings` is the program's settings file, which outlives the window.
  RegistryWindow(SettingsFile& settings, const QString& title, QWidget* main_window);

  // Opens at `size`, centred on the main window.
  void PlaceCentred(const QSize& size);
  void SetModified();
  // Runs `write` on the settings and commits it as one change; a refusal is
  // shown with its message, leaves the settings as they were and gives false.
  bool TryWrite(const std::function<void(SettingsFile&)>& write);
  const SettingsFile& Settings() const { return settings_file_; }

 private:
  QAction* menu_save_;
  QAction* menu_add_;
  QAction* menu_del_;
  SettingsFile& settings_file_;
};

}  // namespace sorvi
