#pragma once
// The two key macro registries of the window and what they drive: the
// function keys (F1..F12 inside the tab area), the code tree's "実行"
// submenu with its default action, and the two registry windows. Read once
// at start-up; rewritten only by a registry window's save.
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "core/keymacro/key_code_registry.h"
#include "core/keymacro/key_func_registry.h"

class QAction;
class QActionGroup;
class QMenu;
class QTabWidget;

namespace sorvi {

class CodeGoMenu;
class FunctionKeyController;
class RegistryWindow;
class SettingsFile;
class TFormKeyCode;
class TFormKeyFunc;
class TabController;

// What the window hands over.
struct KeyMacroRegistryParts {
  SettingsFile* settings = nullptr;     // the program's settings, read and committed by the registry windows
  QWidget* main_window = nullptr;       // parents and centres the registry windows
  QTabWidget* tab_area = nullptr;       // `PageControl`: F-keys count only with the focus inside
  QMenu* func_menu = nullptr;           // `PopupMenuFunc`
  QWidget* menu_button = nullptr;       // `SpeedButtonEtc`: disabled while a registry window is open
  // The code tree's "実行" submenu: "URLを開く" in `go_group`, then `go_separator`.
  QMenu* go_menu = nullptr;
  QActionGroup* go_group = nullptr;
  QAction* go_url = nullptr;
  QAction* go_separator = nullptr;
  std::function<std::string()> address_text;             // the address box, Shift-JIS
  std::function<void(const std::string&)> play_macro;    // plays into the focused widget
  std::function<bool()> stock_selected;                  // the tree's selected node is a stock
};

class KeyMacroRegistries : public QObject {
  Q_OBJECT
 public:
  KeyMacroRegistries(TabController& tabs, KeyMacroRegistryParts parts, QObject* parent = nullptr);
  ~KeyMacroRegistries() override;

  // Start-up, after the options, from the same settings file.
  void Load(const SettingsFile& ini);

  const KeyFuncRegistry& KeyFunc() const { return key_func_; }
  const KeyCodeRegistry& KeyCode() const { return key_code_; }
  FunctionKeyController& FunctionKeys() const { return *keys_; }
  CodeGoMenu& CodeGo() const { return *go_; }
  // The registry window that is open, if any.
  RegistryWindow* OpenWindow() const;

  // "ファンクション(&F)" and "銘柄コード(&C)": open the registry window.
  TFormKeyFunc* PopupMenuEtcKeyFuncClick();
  TFormKeyCode* PopupMenuEtcKeyCodeClick();

  // An item of the "実行" submenu (also the default action of a tree
  // double-click). Returns false when the item is "URLを開く" to be run by
  // the code list; true when it was taken here: a Ctrl-click only makes the
  // item the default; a macro item plays into the lock target of the
  // active tab, and does nothing without a selected stock or a lock target.
  bool PopupMenuCodeGoClick(QAction* item, Qt::KeyboardModifiers modifiers);

 private:
  void PlayCodeMacro(const std::string& macro);
  // Disables the menu button while `window` is open.
  void Opened(RegistryWindow* window);

  TabController& tabs_;
  KeyMacroRegistryParts parts_;
  // Declared before what reads them.
  KeyFuncRegistry key_func_;
  KeyCodeRegistry key_code_;
  std::unique_ptr<FunctionKeyController> keys_;
  CodeGoMenu* go_ = nullptr;
  QPointer<RegistryWindow> window_;
};

}  // namespace sorvi
