#include "keymacro/key_macro_registries.h"

#include <QAction>

#include "core/settings/settings_file.h"
#include "keymacro/code_go_menu.h"
#include "keymacro/function_key_controller.h"
#include "keymacro/key_code_window.h"
#include "keymacro/key_func_window.h"
#include "platform/web_browser.h"
#include "tabs/browser_tab.h"
#include "tabs/tab_controller.h"

namespace sorvi {

KeyMacroRegistries::KeyMacroRegistries(TabController& tabs, KeyMacroRegistryParts parts, QObject* parent)
    : QObject(parent), tabs_(tabs), parts_(std::move(parts)) {
  keys_ = std::make_unique<FunctionKeyController>(parts_.tab_area, parts_.address_text, parts_.play_macro,
                                                  key_func_, parts_.func_menu, this);
  go_ = new CodeGoMenu(parts_.go_menu, parts_.go_group, parts_.go_url, parts_.go_separator, key_code_, this);
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
  if (parts_.menu_button) parts_.menu_button->setEnabled(false);
  QPointer<QWidget> button = parts_.menu_button;
  connect(window, &RegistryWindow::Closed, this, [button] {
    if (button) button->setEnabled(true);
  });
  window->show();
  window->raise();
  window->activateWindow();
}

TFormKeyFunc* KeyMacroRegistries::PopupMenuEtcKeyFuncClick() {
  // The disabled menu button normally keeps a second window from opening.
  if (window_) return qobject_cast<TFormKeyFunc*>(window_.data());
  auto* window = new TFormKeyFunc(*parts_.settings, key_func_, parts_.main_window);
  Opened(window);
  return window;
}

TFormKeyCode* KeyMacroRegistries::PopupMenuEtcKeyCodeClick() {
  if (window_) return qobject_cast<TFormKeyCode*>(window_.data());
  auto* window = new TFormKeyCode(*parts_.settings, key_code_, parts_.main_window);
  connect(window, &RegistryWindow::Saved, go_, &CodeGoMenu::Rebuild);
  Opened(window);
  return window;
}

bool KeyMacroRegistries::PopupMenuCodeGoClick(QAction* item, Qt::KeyboardModifiers modifiers) {
  if (!item) return true;
  if (go_->TakeDefaultClick(item, modifiers)) return true;
  const KeyCodeEntry* entry = go_->Entry(item);
  if (!entry) return false;
  // A copy: playing runs the event loop, and a save may rebuild the list.
  PlayCodeMacro(std::string(entry->Macro));
  return true;
}

void KeyMacroRegistries::PlayCodeMacro(const std::string& macro) {
  if (!parts_.stock_selected || !parts_.stock_selected()) return;
  BrowserTab* tab = tabs_.ActiveTab();
  QWidget* target = tabs_.LockTarget();
  WebBrowser* browser = tab ? tab->Browser() : nullptr;
  // The target the user clicked may have gone with a reload or a renderer
  // change: then there is nowhere sensible to type.
  if (!target || !browser || !browser->ContainsWidget(target)) return;
  target->setFocus(Qt::OtherFocusReason);
  browser->SendClick(target, tab->LockOffset());
  parts_.play_macro(macro);
}

}  // namespace sorvi
