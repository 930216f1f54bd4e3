#pragma once
// The code tree's "実行" submenu, the face of the stock-code registry:
// "URLを開く" first, a separator, then one radio item per registered macro.
// The checked item is the default action that a double-click in the tree
// runs. A Ctrl-click only makes an item the default (in the registry too,
// so the registry window shows it and its save keeps it).
#include <QObject>
#include <string>
#include <vector>

#include "core/keymacro/key_code_registry.h"

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace sorvi {

class CodeGoMenu : public QObject {
  Q_OBJECT
 public:
  // The submenu (`PopupMenuCodeGo`) is made as a child of `menu_parent`, for
  // the window to put into the tree's menu. `registry` must outlive this
  // object. Builds the items at once.
  CodeGoMenu(KeyCodeRegistry& registry, QWidget* menu_parent, QObject* parent = nullptr);

  QMenu* Menu() const { return menu_; }

  // Replaces the macro items by the registry's and checks its default; call
  // after the registry changed (the registry window's Saved()).
  void Rebuild();

  // Menu index of the default action: 0 for "URLを開く", k + 1 for macro k.
  int DefaultIndex() const;
  QAction* DefaultItem() const;
  // The registry entry an item runs; nullptr for "URLを開く" or a foreign item.
  const KeyCodeEntry* Entry(const QAction* item) const;
  const std::vector<QAction*>& MacroItems() const { return items_; }

  // Runs `item` as a click with `modifiers` held: with Ctrl it only becomes
  // the default; otherwise the check goes back to the default (a plain
  // click runs an item without making it the default) and the item's
  // request is emitted.
  void Run(QAction* item, Qt::KeyboardModifiers modifiers);
  // A double-click in the tree: runs the default item.
  void RunDefault(Qt::KeyboardModifiers modifiers);

  // With Ctrl held `item` becomes the default and true says nothing is to
  // run; otherwise the check goes back to the default and false says run it.
  bool TakeDefaultClick(QAction* item, Qt::KeyboardModifiers modifiers);

 signals:
  // A macro item was chosen from the menu (not "URLを開く").
  void MacroItemTriggered(QAction* item);
  // "URLを開く" ran: the selected bookmark is to open for the selection.
  void OpenBookmarkRequested();
  // A macro item ran: `macro` is to be played for the selected stock.
  void CodeMacroRequested(const std::string& macro);

 private:
  KeyCodeRegistry& registry_;
  QMenu* menu_;
  QActionGroup* group_;
  QAction* url_item_;
  QAction* separator_;
  std::vector<QAction*> items_;
};

}  // namespace sorvi
