#pragma once
// The two key macro registries of the window and what they drive: the
// function keys (F1..F12 inside the tab area), the code tree's "実行"
// submenu with its default action, and the two registry windows. Read once
// at start-up; rewritten only by a registry window's save.
#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

#include "core/keymacro/key_code_registry.h"
#include "core/keymacro/key_func_registry.h"
#include "keymacro/function_key_controller.h"

class QComboBox;
class QMenu;

namespace sorvi {

class ActivePageHost;
class CodeGoMenu;
class KeyMacroController;
class RegistryWindow;
class SettingsFile;
class StockSelection;
class TFormKeyCode;
class TFormKeyFunc;

// The window's parts the registries use.
struct KeyMacroRegistryWidgets {
  SettingsFile* settings = nullptr;  // the program's settings, read and committed by the registry windows
  QWidget* main_window = nullptr;    // parents and centres the registry windows and the "実行" submenu
  QComboBox* address = nullptr;      // `ComboBoxURL`: the address a function key's patterns match
  QMenu* func_menu = nullptr;        // `PopupMenuFunc`
  QWidget* menu_button = nullptr;    // `SpeedButtonEtc`: disabled while a registry window is open
};

class KeyMacroRegistries : public QObject, private FunctionKeyHost {
  Q_OBJECT
 public:
  // Macros play through `player`: function keys into the focused page, the
  // "実行" submenu's into the active tab's lock target for a selected stock.
  KeyMacroRegistries(ActivePageHost& pages, const StockSelection& selection, KeyMacroController& player,
                     const KeyMacroRegistryWidgets& widgets, QObject* parent = nullptr);
  ~KeyMacroRegistries() override;

  // Start-up, after the options, from the same settings file.
  void Load(const SettingsFile& ini);

  const KeyFuncRegistry& KeyFunc() const { return key_func_; }
  const KeyCodeRegistry& KeyCode() const { return key_code_; }
  FunctionKeyController& FunctionKeys() const { return *keys_; }
  // The "実行" submenu; it emits what it wants opened.
  CodeGoMenu& CodeGo() const { return *go_; }
  // The registry window that is open, if any.
  RegistryWindow* OpenWindow() const;

  // "ファンクション(&F)" and "銘柄コード(&C)": open the registry window.
  TFormKeyFunc* OpenKeyFuncWindow();
  TFormKeyCode* OpenKeyCodeWindow();

  // A macro item of the "実行" submenu: plays into the lock target of the
  // active tab; nothing without a selected stock or a lock target.
  void PlayCodeMacro(const std::string& macro);

 private:
  // Disables the menu button while `window` is open.
  void Opened(RegistryWindow* window);

  // What the function keys ask.
  QWidget* FunctionKeyArea() const override;
  std::string AddressText() const override;
  void PlayFunctionKeyMacro(const std::string& macro) override;

  ActivePageHost& pages_;
  const StockSelection& selection_;
  KeyMacroController& player_;
  KeyMacroRegistryWidgets widgets_;
  // Declared before what reads them.
  KeyFuncRegistry key_func_;
  KeyCodeRegistry key_code_;
  std::unique_ptr<FunctionKeyController> keys_;
  CodeGoMenu* go_ = nullptr;
  QPointer<RegistryWindow> window_;
};

}  // namespace sorvi
