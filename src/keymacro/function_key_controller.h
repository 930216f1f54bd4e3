#pragma once
// F1..F12 while the keyboard focus is inside the tab area: a direct-kind key
// plays the first entry whose address pattern matches the address box, a
// select-kind key pops up a menu of its entries and plays the one chosen.
// There the key never reaches the page, neither its press nor its release,
// also when nothing is played; elsewhere function keys keep their normal
// meaning. Shift, Ctrl and Alt are not looked at. A held key plays once.
#include <QObject>
#include <QPoint>
#include <string>

#include "core/keymacro/held_keys.h"
#include "core/keymacro/key_func_registry.h"

class QAction;
class QKeyEvent;
class QMenu;
class QWidget;

namespace sorvi {

// What the function keys ask of the window.
class FunctionKeyHost {
 public:
  // The focus must be inside this widget for a function key to count;
  // null while there is no tab.
  virtual QWidget* FunctionKeyArea() const = 0;
  // The address box text as Shift-JIS bytes.
  virtual std::string AddressText() const = 0;
  // Plays a key macro synchronously.
  virtual void PlayFunctionKeyMacro(const std::string& macro) = 0;

 protected:
  ~FunctionKeyHost() = default;
};

class FunctionKeyController : public QObject {
  Q_OBJECT
 public:
  // `registry` is read at each key press and must outlive the controller.
  // `menu` is the pop-up to fill (`PopupMenuFunc`). Installs an event
  // filter on the application.
  FunctionKeyController(FunctionKeyHost& host, const KeyFuncRegistry& registry, QMenu* menu, QObject* parent = nullptr);
  ~FunctionKeyController() override;

  QMenu* PopupMenuFunc() const { return menu_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The shortcut handler proper: true when the key was taken here. A
  // repeat of a held key is taken and plays nothing.
  bool FormShortCut(const QKeyEvent& key);
  // Plays the macro of a menu entry.
  void PopupMenuFuncItemClick(QAction* item);
  // The key number 1..12 of a key event that is ours, 0 otherwise.
  int OurKey(const QKeyEvent& key) const;
  // Where the select menu pops up, in screen coordinates: the main
  // window's left plus the tab area's left plus 9, the window's top plus 75.
  QPoint MenuPoint() const;
  // Every release of a function key, wherever it goes, ends its hold; true
  // when the release is to be kept from the page.
  bool KeyReleased(QObject* watched, const QKeyEvent& key);

  FunctionKeyHost& host_;
  const KeyFuncRegistry& registry_;
  QMenu* menu_;
  HeldKeys held_keys_;
};

}  // namespace sorvi
