#pragma once
// F1..F12 while the keyboard focus is inside the tab area: a direct-kind key
// plays the first entry whose address pattern matches the address box, a
// select-kind key pops up a menu of its entries and plays the one chosen.
// There the key never reaches the page, neither its press nor its release,
// also when nothing is played; elsewhere function keys keep their normal
// meaning. Shift, Ctrl and Alt are not looked at. A held key plays once.
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <string>

#include "core/keymacro/held_keys.h"
#include "core/keymacro/key_func_registry.h"

class QAction;
class QKeyEvent;
class QMenu;
class QWidget;

namespace sorvi {

class FunctionKeyController : public QObject {
  Q_OBJECT
 public:
  // `tab_area`: the focus must be inside it (a QTabWidget without pages
  // counts as no tab). `address_text`: the address box text as Shift-JIS
  // bytes. `play_macro`: plays a key macro synchronously. `registry` is read
  // at each key press and must outlive the controller. `menu`: the pop-up to
  // fill (`PopupMenuFunc`); one of its own when null. Installs an event
  // filter on the application.
  FunctionKeyController(QWidget* tab_area, std::function<std::string()> address_text,
                        std::function<void(const std::string& macro)> play_macro,
                        const KeyFuncRegistry& registry, QMenu* menu = nullptr,
                        QObject* parent = nullptr);
  ~FunctionKeyController() override;

  // Where the select menu pops up, in screen coordinates. By default: the
  // main window's left plus the tab area's left plus 9, the window's top
  // plus 75.
  void SetMenuPoint(std::function<QPoint()> menu_point) { menu_point_ = std::move(menu_point); }

  QMenu* PopupMenuFunc() const { return menu_; }

  // The shortcut handler proper: true when the key was taken here. A
  // repeat of a held key is taken and plays nothing.
  bool FormShortCut(const QKeyEvent& key);
  // Plays the macro of a menu entry.
  void PopupMenuFuncItemClick(QAction* item);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The key number 1..12 of a key event that is ours, 0 otherwise.
  int OurKey(const QKeyEvent& key) const;
  QPoint DefaultMenuPoint() const;
  // Every release of a function key, wherever it goes, ends its hold; true
  // when the release is to be kept from the page.
  bool KeyReleased(QObject* watched, const QKeyEvent& key);

  QPointer<QWidget> tab_area_;
  std::function<std::string()> address_text_;
  std::function<void(const std::string&)> play_macro_;
  const KeyFuncRegistry& registry_;
  QMenu* menu_;
  std::function<QPoint()> menu_point_;
  HeldKeys held_keys_;
};

}  // namespace sorvi
