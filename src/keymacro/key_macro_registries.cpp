#include "keymacro/key_macro_registries.h"

#include <QComboBox>

#include "core/bookmarks/stock_selection.h"
#include "core/settings/settings_file.h"
#include "keymacro/code_go_menu.h"
#include "keymacro/key_code_window.h"
#include "keymacro/key_func_window.h"
#include "keymacro/key_macro_controller.h"
#include "platform/cp932.h"

namespace sorvi {

KeyMacroRegistries::KeyMacroRegistries(ActivePageHost& pages, const StockSelection& selection,
                                       KeyMacroController& player, const KeyMacroRegistryWidgets& widgets,
                                       QObject* parent)
    : QObject(parent), pages_(pages), selection_(selection), player_(player), widgets_(widgets) {
  FunctionKeyHost& keys_host = *this;
  keys_ = std::make_unique<FunctionKeyController>(keys_host, key_func_, widgets_.func_menu, this);
  go_ = new CodeGoMenu(key_code_, widgets_.main_window, this);
  connect(go_, &CodeGoMenu::CodeMacroRequested, this, &KeyMacroRegistries::PlayCodeMacro);
}

KeyMacroRegistries::~KeyMacroRegistries() {
  // An open registry window edits our registries: it goes with them,
  // without the close that would write its size.
  delete window_.data();
}

RegistryWindow* KeyMacroRegistries::OpenWindow() const { return window_.data(); }

void KeyMacroRegistries::Load(const SettingsFile& ini) {
  key_func_ = ReadKeyFuncRegistry(ini);
  key_code_ = ReadKeyCodeRegistry(ini);
  go_->Rebuild();
}

void KeyMacroRegistries::Opened(RegistryWindow* window) {
  window_ = window;
  if (widgets_.menu_button) widgets_.menu_button->setEnabled(false);
  QPointer<QWidget> button = widgets_.menu_button;
  connect(window, &RegistryWindow::Closed, this, [button] {
    if (button) button->setEnabled(true);
  });
  window->show();
  window->raise();
  window->activateWindow();
}

TFormKeyFunc* KeyMacroRegistries::OpenKeyFuncWindow() {
  // The disabled menu button normally keeps a second window from opening.
  if (window_) return qobject_cast<TFormKeyFunc*>(window_.data());
  auto* window = new TFormKeyFunc(*widgets_.settings, key_func_, widgets_.main_window);
  Opened(window);
  return window;
}

TFormKeyCode* KeyMacroRegistries::OpenKeyCodeWindow() {
  if (window_) return qobject_cast<TFormKeyCode*>(window_.data());
  auto* window = new TFormKeyCode(*widgets_.settings, key_code_, widgets_.main_window);
  connect(window, &RegistryWindow::Saved, go_, &CodeGoMenu::Rebuild);
  Opened(window);
  return window;
}

void KeyMacroRegistries::PlayCodeMacro(const std::string& macro) {
  if (!selection_.SelectedNodeIsStock()) return;
  // The target the user clicked may have gone with a reload or a renderer
  // change: then there is nowhere sensible to type.
  if (!pages_.FocusLockTarget()) return;
  player_.PlayKeyMacro(macro);
}

QWidget* KeyMacroRegistries::FunctionKeyArea() const { return pages_.ActivePage() ? pages_.TabArea() : nullptr; }

std::string KeyMacroRegistries::AddressText() const {
  return widgets_.address ? QStringToSjis(widgets_.address->currentText()) : std::string();
}

void KeyMacroRegistries::PlayFunctionKeyMacro(const std::string& macro) { player_.PlayKeyMacro(macro); }

}  // namespace sorvi
