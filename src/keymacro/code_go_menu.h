#pragma once
// The code tree's "実行" submenu as the face of the stock-code registry:
// "URLを開く" first, a separator, then one radio item per registered macro.
// The checked item is the default action that a double-click in the tree
// runs. A Ctrl-click only makes an item the default (in the registry too,
// so the registry window shows it and its save keeps it).
#include <QObject>
#include <QPointer>
#include <string>
#include <vector>

#include "core/keymacro/key_code_registry.h"

class QAction;
class QActionGroup;
class QMenu;

namespace sorvi {

class CodeGoMenu : public QObject {
  Q_OBJECT
 public:
  // `go_menu` holds `url_item` ("URLを開く", in `group`) followed by
  // `separator`; macro items are kept after the separator. `registry` must
  // outlive this object. Builds the items at once.
  CodeGoMenu(QMenu* go_menu, QActionGroup* group, QAction* url_item, QAction* separator,
             KeyCodeRegistry& registry, QObject* parent = nullptr);

  // Replaces the macro items by the registry's and checks its default; call
  // after the registry changed (the registry window's Saved()).
  void Rebuild();

  // Menu index of the default action: 0 for "URLを開く", k + 1 for macro k.
  int DefaultIndex() const;
  QAction* DefaultItem() const;
  // The registry entry an item runs; nullptr for "URLを開く" or a foreign item.
  const KeyCodeEntry* Entry(const QAction* item) const;
  const std::vector<QAction*>& MacroItems() const { return items_; }

  // To be called first for every click on an item: with Ctrl held the item
  // becomes the default and true says nothing is to run; otherwise the
  // check goes back to the default (a plain click runs an item without
  // making it the default) and false says run it.
  bool TakeDefaultClick(QAction* item, Qt::KeyboardModifiers modifiers);

 signals:
  // A macro item was chosen from the menu (not "URLを開く").
  void MacroItemTriggered(QAction* item);

 private:
  QMenu* menu_;
  QActionGroup* group_;
  QAction* url_item_;
  QAction* separator_;
  KeyCodeRegistry& registry_;
  std::vector<QAction*> items_;
};

}  // namespace sorvi
